// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form1.h"
#include "platform/quitsignals.h"
#include "settings/options.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Taken before the sound library starts. Dialogs close as Cancel, the window as a close request.
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::received, &app, [] { QApplication::closeAllWindows(); });
    QApplication::setApplicationName(QStringLiteral("Zubelo"));
    // The program folder is where the executable lies, so a copied folder is a working copy.
    Options::SetProgramFolder(QCoreApplication::applicationDirPath());

    Form1 form;
    if (quitSignals.Received()) {
        return 0; // asked to end while starting: the window unloads as it goes
    }
    // A child's toy fills the screen; Shift+N gives the small window.
    form.SetWindowState(Form1::Maximized);
    form.activateWindow();
    return app.exec();
}
