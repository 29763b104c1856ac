// SPDX-License-Identifier: GPL-3.0-or-later
// The volume slider against a real sound server's mixer, through ALSA.
#include "../audiotestutil.h"
#include "systemtest.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <sndfile.h>

using namespace Qt::StringLiterals;
using SystemTest::ZubeloCopy;

namespace {

const QString Sink = qEnvironmentVariable("ZUBELO_TEST_SINK", u"zubelo_sink"_s);

bool setSinkVolume(int volume)
{
    return SystemTest::Run(u"pactl"_s, {u"set-sink-volume"_s, Sink, QString::number(volume)});
}

int sinkVolume()
{
    QByteArray out;
    SystemTest::Run(u"pactl"_s, {u"get-sink-volume"_s, Sink}, &out);
    const QRegularExpressionMatch match =
        QRegularExpression(u"front-left: (\\d+)"_s).match(QString::fromUtf8(out));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// A stream plays into the sound server at this socket.
bool playsTo(const QString &socket)
{
    QByteArray out;
    const QStringList arguments{u"--server=unix:"_s + socket, u"list"_s, u"short"_s, u"sink-inputs"_s};
    return SystemTest::Run(u"pactl"_s, arguments, &out) && !out.trimmed().isEmpty();
}

} // namespace

class TestSystemVolume : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(SystemTest::RequireServices()); }

    void sliderFollowsAndSetsTheSpeakerVolume()
    {
        QVERIFY(setSinkVolume(32768));
        ZubeloCopy zubelo;
        QVERIFY(zubelo.WriteFile(u"Option.dat"_s, SystemTest::OptionFile({})));
        QVERIFY(zubelo.Start());
        // Start-up reads 32768 as 3276 tenths and writes 32760 back.
        QTRY_COMPARE_WITH_TIMEOUT(sinkVolume(), 32760, 3000);

        // A click on the slider, then End: the slider's end sets 65530, never 65535.
        const QRect window = zubelo.WindowGeometry();
        const QPoint slider = window.topLeft() + QPoint(window.width() - 82, window.height() - 12);
        QVERIFY(
            SystemTest::XdoTool({u"mousemove"_s, QString::number(slider.x()), QString::number(slider.y())}));
        QVERIFY(SystemTest::XdoTool({u"click"_s, u"1"_s}));
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"End"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(sinkVolume(), 65530, 3000);

        // Keys right after the change go to the slider; a second later they type again.
        const QRect textBox(window.topLeft(), QSize(window.width(), window.height() - 40));
        const int before = SystemTest::DarkPixels(SystemTest::GrabScreen(textBox));
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"W"_s}));
        QThread::msleep(300); // nothing is typed
        QCOMPARE(SystemTest::DarkPixels(SystemTest::GrabScreen(textBox)), before);
        auto typeAndLook = [&] {
            SystemTest::XdoTool({u"key"_s, u"W"_s});
            return SystemTest::DarkPixels(SystemTest::GrabScreen(textBox)) > before + 200;
        };
        QTRY_VERIFY_WITH_TIMEOUT(typeAndLook(), 5000);
        QCOMPARE(sinkVolume(), 65530); // keys typed into the text box leave the volume alone

        QVERIFY(zubelo.RequestClose());
        QVERIFY(zubelo.WaitForExit());
    }

    void withoutAMixerEverythingElseWorks()
    {
        ZubeloCopy zubelo;
        QVERIFY(AudioTest::WriteTone(zubelo.FilePath(u"tone.wav"_s), 48000, 1,
                                     SF_FORMAT_WAV | SF_FORMAT_PCM_16, 440, 1));
        QVERIFY(zubelo.WriteFile(u"Option.dat"_s, SystemTest::OptionFile({{60, "tone.wav"}})));
        zubelo.SetEnvironment(u"ALSA_CONFIG_PATH"_s, QStringLiteral(ZUBELO_TEST_DATA "/alsa-no-mixer.conf"));
        // The message box comes while the window is being set up, before it shows.
        QVERIFY(zubelo.Start());
        QCOMPARE(zubelo.VisibleWindowCount(), 1);
        const QRect box = zubelo.WindowGeometry();
        QVERIFY2(box.width() * box.height() < 536 * 285, "the message box, not the play window");
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"Return"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(zubelo.FindWindow() && zubelo.WindowGeometry().size() == QSize(536, 285),
                                 5000);
        QThread::msleep(300);                     // no second box comes
        QCOMPARE(zubelo.VisibleWindowCount(), 1); // said once only

        QVERIFY(zubelo.Focus());
        SystemTest::SoundRecorder recorder;
        QVERIFY(recorder.Start());
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"a"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(recorder.FirstLoudSample(0, 0.2f) >= 0, 5000);
        QVERIFY(zubelo.RequestClose());
        QVERIFY(zubelo.WaitForExit());
    }

    void soundServerGoingAwayBreaksNothing()
    {
        // A sound server of this test's own, so that stopping it leaves the others alone.
        QTemporaryDir home;
        const QString socket = home.filePath(u"native"_s);
        QProcess server;
        server.setProcessChannelMode(QProcess::MergedChannels);
        server.start(u"pulseaudio"_s,
                     {u"-n"_s, u"--daemonize=no"_s, u"--exit-idle-time=-1"_s, u"--use-pid-file=no"_s, u"-L"_s,
                      u"module-native-protocol-unix socket="_s + socket + u" auth-anonymous=1"_s, u"-L"_s,
                      u"module-null-sink sink_name=doomed"_s});
        QVERIFY(server.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 5000);

        ZubeloCopy zubelo;
        QVERIFY(AudioTest::WriteTone(zubelo.FilePath(u"tone.wav"_s), 48000, 1,
                                     SF_FORMAT_WAV | SF_FORMAT_PCM_16, 440, 1));
        QVERIFY(zubelo.WriteFile(u"Option.dat"_s, SystemTest::OptionFile({{60, "tone.wav"}})));
        zubelo.SetEnvironment(u"PULSE_SERVER"_s, u"unix:"_s + socket);
        QVERIFY(zubelo.Start());
        QVERIFY(zubelo.Focus());
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"a"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(playsTo(socket), 5000);

        server.kill();
        QVERIFY(server.waitForFinished());
        const QRect window = zubelo.WindowGeometry();
        const QPoint slider = window.topLeft() + QPoint(window.width() - 82, window.height() - 12);
        QVERIFY(
            SystemTest::XdoTool({u"mousemove"_s, QString::number(slider.x()), QString::number(slider.y())}));
        QVERIFY(SystemTest::XdoTool({u"click"_s, u"1"_s}));
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"End"_s, u"Home"_s}));
        // A click on the text box plays its song and gives it the keys back.
        const QPoint box = window.topLeft() + QPoint(100, 100);
        QVERIFY(SystemTest::XdoTool({u"mousemove"_s, QString::number(box.x()), QString::number(box.y())}));
        QVERIFY(SystemTest::XdoTool({u"click"_s, u"1"_s}));
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"--delay"_s, u"50"_s, u"a"_s, u"b"_s, u"a"_s}));
        QThread::msleep(500); // and it keeps running
        QCOMPARE(zubelo.Process().state(), QProcess::Running);
        QVERIFY(zubelo.RequestClose());
        QVERIFY(zubelo.WaitForExit());
        QCOMPARE(zubelo.Process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(zubelo.Process().exitCode(), 0);
    }
};

QTEST_MAIN(TestSystemVolume)
#include "tst_sys_volume.moc"
