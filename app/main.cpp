// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form1.h"
#include "settings/options.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zubelo"));
    // The program folder is where the executable lies, so a copied folder is a working copy.
    Options::SetProgramFolder(QCoreApplication::applicationDirPath());

    Form1 form;
    // A child's toy fills the screen; Shift+N gives the small window.
    form.SetWindowState(Form1::Maximized);
    form.activateWindow();
    return app.exec();
}
