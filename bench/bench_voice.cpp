// SPDX-License-Identifier: GPL-3.0-or-later
// What a parent waits for after 停止: from the press to a playable WAVE in the
// program folder and the key's song field filled, for a take of nearly ten
// seconds recorded from the default microphone (a tone played into the test
// sound server's sink). Prints figures; asserts nothing.
#include "music/musicsettingsdialog.h"
#include "procstats.h"
#include "programfolder.h"
#include "settings.h"
#include "songplayer.h"
#include "sources.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

void runEvents(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QString pactl(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), arguments);
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int takes = argc > 1 ? atoi(argv[1]) : 3;
    const QString sink = qEnvironmentVariable("ZUBELO_TEST_SINK", QStringLiteral("zubelo_sink"));
    if (!qEnvironmentVariableIsSet("ZUBELO_TEST_SOUND_SERVER")) {
        fprintf(stderr, "run under scripts/with-test-services.sh, whose sink gives the microphone a tone\n");
        return 1;
    }
    pactl({QStringLiteral("set-default-source"), sink + QStringLiteral(".monitor")});
    const QString sine = pactl({QStringLiteral("load-module"), QStringLiteral("module-sine"),
                                QStringLiteral("sink=") + sink, QStringLiteral("frequency=440")});

    // On the disk the build is on, where bringing a file to the disk costs what it costs a parent.
    QTemporaryDir place(QDir::currentPath() + QStringLiteral("/bench-voice-XXXXXX"));
    const ProgramFolder folder(place.path());
    AudioEngine engine({AudioEngine::Output::Offline});
    QList<double> stopMs;
    qint64 bytes = 0;
    for (int take = 0; take < takes; ++take) {
        MusicSettingsDialog dialog(Settings::Record{}, folder, engine);
        auto *record = dialog.findChild<QPushButton *>(QStringLiteral("record"));
        dialog.selectKey(60);
        record->click();
        QElapsedTimer clock; // from the first sound the meter shows
        while (!clock.isValid()) {
            runEvents(5);
            if (dialog.findChild<QProgressBar *>(QStringLiteral("level"))->value() > 0) {
                clock.start();
            }
        }
        runEvents(9800 - int(clock.elapsed()));
        clock.restart();
        record->click(); // 停止: trimmed, levelled, written and brought to the disk, field filled
        const double ms = clock.nsecsElapsed() / 1e6;
        const QString song = dialog.findChild<QLineEdit *>(QStringLiteral("songFile"))->text();
        const bool playable = bool(openWaveSource(folder.resolve(song)));
        bytes = QFileInfo(folder.resolve(song)).size();
        printf("Take %d: %s, %lld bytes, playable: %s, 停止 to field filled: %.1f ms\n", take + 1,
               qPrintable(song), bytes, playable ? "yes" : "no", ms);
        stopMs << ms;
        dialog.findChild<QPushButton *>(QStringLiteral("cancel"))->click(); // removes the take
    }
    pactl({QStringLiteral("unload-module"), sine});
    std::sort(stopMs.begin(), stopMs.end());
    printf("停止 to a playable file and the field filled, %.1f s takes: median %.1f ms, slowest %.1f ms "
           "(%d takes)\n",
           double(bytes - 44) / 2 / 48000, ProcStats::median(stopMs), stopMs.last(), takes);
    return 0;
}
