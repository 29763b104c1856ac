// SPDX-License-Identifier: GPL-3.0-or-later
#include "quitsignals.h"
#include "startup.h"
#include "wayland/waylandprobe.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Zubelo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZUBELO_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A keyboard and mouse toy for small children."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption noLock(
        QStringLiteral("no-lock"),
        QStringLiteral("Leave the desktop's shortcut keys (Super, Alt+Tab, Alt+F4) "
                       "to the desktop while Zubelo is maximised."));
    parser.addOption(noLock);
    // --help and --version answer in a terminal without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    if (parser.parse(arguments) && parser.isSet(help)) {
        // Without an application object the parser does not know the program's name.
        fputs(qPrintable(
                  parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("zubelo"))),
              stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        parser.showVersion();
    }

    // The platform on which the keyboard can be held: native Wayland where the compositor lets a
    // window inhibit its shortcuts, else X11 (XWayland on a Wayland desktop), unless the user chose.
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    const QByteArray platform =
        Wayland::choosePlatform(chosen, chosen.isEmpty() && Wayland::compositorInhibitsShortcuts(),
                                !qEnvironmentVariableIsEmpty("DISPLAY"));
    const bool platformChosen = platform.isEmpty();
    if (!platformChosen) {
        qputenv("QT_QPA_PLATFORM", platform);
    }
    QApplication app(argc, argv);
    // Taken before the sound library starts. Dialogs close as Cancel, the window as a close request.
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::received, &app, [] { QApplication::closeAllWindows(); });
    if (!platformChosen) {
        qunsetenv("QT_QPA_PLATFORM"); // the programs it opens (the help page's viewer) choose for themselves
    }
    parser.process(app);

    StartUp::configureProcess();
    StartUp startUp(!parser.isSet(noLock));
    if (quitSignals.hasArrived()) {
        return 0; // asked to end while starting (the mixer's message was up): the window never shows
    }
    // A child's toy fills the screen; Shift+N gives the small window.
    startUp.window().setSizeState(PlayWindow::SizeState::Maximised);
    startUp.window().activateWindow();
    return app.exec();
}
