// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form1.h"
#include "platform/programfolder.h"
#include "settings/options.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    // Stays-on-top, key positions and the keyboard lock are X11 behaviour: on a
    // Wayland desktop the toy runs on XWayland, unless the user chose otherwise.
    const bool platformChosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (!platformChosen) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication app(argc, argv);
    if (!platformChosen) {
        qunsetenv("QT_QPA_PLATFORM"); // the programs it opens (the help page's viewer) choose for themselves
    }
    QApplication::setApplicationName(QStringLiteral("Zubelo"));
    QApplication::setApplicationVersion(QStringLiteral(ZUBELO_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A keyboard and mouse toy for small children."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption noLock(
        QStringLiteral("no-lock"),
        QStringLiteral("Leave the desktop's shortcut keys (Super, Alt+Tab, Alt+F4) "
                       "to the desktop while Zubelo is maximised."));
    parser.addOption(noLock);
    parser.process(app);

    // Where the executable lies, so a copied folder is a working copy; an
    // installed copy keeps a folder for each user.
    Options::SetProgramFolder(
        ProgramFolder::Choose(ProgramFolder::ForExecutable(QCoreApplication::applicationFilePath())));

    Form1::Devices devices;
    devices.keyboardLock = !parser.isSet(noLock);
    Form1 form(devices);
    // A child's toy fills the screen; Shift+N gives the small window.
    form.SetWindowState(Form1::Maximized);
    form.activateWindow();
    return app.exec();
}
