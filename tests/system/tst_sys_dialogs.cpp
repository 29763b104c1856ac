// SPDX-License-Identifier: GPL-3.0-or-later
// The parent's side with real keys and clicks: both settings dialogs and the
// window commands.
#include "../audiotestutil.h"
#include "systemtest.h"

#include <QFile>
#include <QImage>
#include <QThread>
#include <QtTest>
#include <sndfile.h>

using namespace Qt::StringLiterals;
using SystemTest::SoundRecorder;
using SystemTest::ZubeloCopy;

namespace {

QList<QByteArray> fileLines(const ZubeloCopy &zubelo)
{
    QFile file(zubelo.FilePath(u"Option.dat"_s));
    return file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QList<QByteArray>();
}

// Presses a hot key in the play window and returns where the dialog it opens is, focused.
QRect openDialog(const QString &key, const QString &title)
{
    if (!SystemTest::XdoTool({u"key"_s, key})) {
        return {};
    }
    const quint32 dialog = SystemTest::WaitForWindow(title);
    if (!dialog || !SystemTest::XdoTool({u"windowfocus"_s, u"--sync"_s, QString::number(dialog)})) {
        return {};
    }
    return SystemTest::WindowGeometry(dialog);
}

bool clickAt(const QPoint &point)
{
    return SystemTest::XdoTool({u"mousemove"_s, QString::number(point.x()), QString::number(point.y())})
           && SystemTest::XdoTool({u"click"_s, u"1"_s});
}

QString windowState(quint32 window)
{
    QByteArray out;
    SystemTest::Run(u"xprop"_s, {u"-id"_s, QString::number(window), u"WM_STATE"_s, u"_NET_WM_STATE"_s}, &out);
    return QString::fromUtf8(out);
}

QString allowedActions(quint32 window)
{
    QByteArray out;
    SystemTest::Run(u"xprop"_s, {u"-id"_s, QString::number(window), u"_NET_WM_ALLOWED_ACTIONS"_s}, &out);
    return QString::fromUtf8(out);
}

QString rootProperty(const QString &name)
{
    QByteArray out;
    SystemTest::Run(u"xprop"_s, {u"-root"_s, name}, &out);
    return QString::fromUtf8(out);
}

} // namespace

class TestSystemDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(SystemTest::RequireServices()); }

    void musicDialogTiesASongToAKey()
    {
        ZubeloCopy zubelo;
        QVERIFY(AudioTest::WriteTone(zubelo.FilePath(u"tone.wav"_s), 48000, 1,
                                     SF_FORMAT_WAV | SF_FORMAT_PCM_16, 440, 1));
        QVERIFY(zubelo.WriteFile(u"Option.dat"_s, SystemTest::OptionFile({}, false, 48, 36)));
        QVERIFY(zubelo.Start());
        QVERIFY(zubelo.Focus());
        const QRect box = openDialog(u"shift+m"_s, u"曲の設定"_s);
        QVERIFY(box.isValid());
        QVERIFY(clickAt(box.topLeft() + QPoint(72, 144))); // the on-screen A key
        const QString song = zubelo.FilePath(u"tone.wav"_s);
        QVERIFY(SystemTest::XdoTool({u"type"_s, u"--delay"_s, u"10"_s, song}));
        QVERIFY(clickAt(box.topLeft() + QPoint(312, 324))); // OK
        QTRY_COMPARE_WITH_TIMEOUT(fileLines(zubelo).value(60), song.toUtf8() + "\r", 5000);
        QCOMPARE(fileLines(zubelo).size(), 116); // 115 lines, each ended

        QVERIFY(zubelo.Focus());
        SoundRecorder recorder;
        QVERIFY(recorder.Start());
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"a"_s}));
        QTRY_VERIFY2_WITH_TIMEOUT(recorder.FirstLoudSample(0, 0.2f) >= 0, "A's new song is heard", 5000);
        QVERIFY(zubelo.RequestClose());
        QVERIFY(zubelo.WaitForExit());
    }

    void displayDialogTakesEffectAtOnce()
    {
        ZubeloCopy zubelo;
        QVERIFY(QDir(zubelo.Folder()).mkpath(u"zoo"_s));
        QImage picture(100, 80, QImage::Format_RGB32);
        picture.fill(QColor(0, 255, 0));
        QVERIFY(picture.save(zubelo.FilePath(u"zoo/green.bmp"_s), "BMP"));
        QVERIFY(AudioTest::WriteTone(zubelo.FilePath(u"a.wav"_s), 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
                                     440, 0.2));
        QVERIFY(zubelo.WriteFile(u"a.txt"_s,
                                 QByteArray("kaeru no uta ga\r\nkikoete kuru yo\r\ngwa gwa gwa\r\n")));
        QVERIFY(zubelo.WriteFile(u"Option.dat"_s, SystemTest::OptionFile({{60, "a.wav"}}, false, 48, 36)));
        QVERIFY(zubelo.Start());
        QVERIFY(zubelo.Focus());
        const QRect box = openDialog(u"shift+v"_s, u"表示の設定"_s);
        QVERIFY(box.isValid());
        // The folder list opens at the program folder; its last entry is the zoo folder inside it
        // (it sorts after the content folders the build puts there).
        QVERIFY(clickAt(box.topLeft() + QPoint(96, 122)));
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"End"_s, u"Return"_s}));
        QVERIFY(clickAt(box.topLeft() + QPoint(280, 81))); // the lyrics size
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"ctrl+a"_s}));
        QVERIFY(SystemTest::XdoTool({u"type"_s, u"10"_s}));
        QVERIFY(clickAt(box.topLeft() + QPoint(232, 164))); // OK
        QTRY_COMPARE_WITH_TIMEOUT(fileLines(zubelo).value(114), QByteArray(" 10 \r"), 5000);
        QCOMPARE(fileLines(zubelo).value(112), zubelo.FilePath(u"zoo"_s).toUtf8() + "\r");

        // A click now shows a picture from the new folder, and lyrics come small.
        QVERIFY(zubelo.Focus());
        const QRect window = zubelo.WindowGeometry();
        const QPoint pointer = window.topLeft() + QPoint(300, 100);
        QVERIFY(clickAt(pointer));
        auto green = [&pointer] {
            const QRect spot(pointer + QPoint(20, 20), QSize(2, 2));
            const QColor shown = SystemTest::GrabScreen(spot).pixelColor(0, 0);
            return shown.green() > 200 && shown.red() < 60;
        };
        QTRY_VERIFY_WITH_TIMEOUT(green(), 3000);
        QTRY_VERIFY_WITH_TIMEOUT(!green(), 3000); // the picture goes before the lyrics come
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"a"_s}));
        const QRect top(window.topLeft(), QSize(window.width(), 80));
        const QRect below(window.topLeft() + QPoint(0, 100), QSize(window.width(), 140));
        QTRY_VERIFY_WITH_TIMEOUT(SystemTest::DarkPixels(SystemTest::GrabScreen(top)) > 100, 3000);
        QCOMPARE(SystemTest::DarkPixels(SystemTest::GrabScreen(below)), 0);
        QVERIFY(zubelo.RequestClose());
        QVERIFY(zubelo.WaitForExit());
    }

    void windowCommandsWithAWindowManager()
    {
        QProcess manager;
        manager.start(u"openbox"_s, {u"--sm-disable"_s});
        QVERIFY(manager.waitForStarted());
        // The window manager is there once it names its check window on the root.
        QTRY_VERIFY_WITH_TIMEOUT(rootProperty(u"_NET_SUPPORTING_WM_CHECK"_s).contains(u"window id"_s), 5000);
        ZubeloCopy zubelo;
        QVERIFY(AudioTest::WriteTone(zubelo.FilePath(u"long.wav"_s), 48000, 1,
                                     SF_FORMAT_WAV | SF_FORMAT_PCM_16, 440, 5));
        QVERIFY(zubelo.WriteFile(u"Option.dat"_s, SystemTest::OptionFile({{60, "long.wav"}}, false, 48, 36)));
        QVERIFY(zubelo.Start());
        const QString window = QString::number(zubelo.Window());
        // A child's toy starts filling the screen.
        QTRY_VERIFY_WITH_TIMEOUT(windowState(zubelo.Window()).contains(u"_NET_WM_STATE_MAXIMIZED_VERT"_s),
                                 3000);
        QVERIFY(SystemTest::XdoTool({u"windowactivate"_s, u"--sync"_s, window}));
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"shift+n"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(!windowState(zubelo.Window()).contains(u"MAXIMIZED"_s), 3000);
        // At normal size the edges cannot be dragged, and the title bar offers no maximise.
        QTRY_VERIFY_WITH_TIMEOUT(!allowedActions(zubelo.Window()).contains(u"_NET_WM_ACTION_RESIZE"_s), 3000);
        QVERIFY(!allowedActions(zubelo.Window()).contains(u"_NET_WM_ACTION_MAXIMIZE"_s));
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"shift+l"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(windowState(zubelo.Window()).contains(u"_NET_WM_STATE_MAXIMIZED_VERT"_s),
                                 3000);
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"shift+s"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(windowState(zubelo.Window()).contains(u"Iconic"_s), 3000);

        // Back to the front, a song, and Shift+X ends the program and the song with it.
        QVERIFY(SystemTest::XdoTool({u"windowactivate"_s, u"--sync"_s, window}));
        SoundRecorder recorder;
        QVERIFY(recorder.Start());
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"a"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(recorder.FirstLoudSample(0, 0.2f) >= 0, 5000);
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"shift+x"_s}));
        QVERIFY(zubelo.WaitForExit(5000));
        QCOMPARE(zubelo.Process().exitCode(), 0);
        QThread::msleep(500); // and nothing is heard after it
        const std::vector<float> heard = recorder.Stop();
        QVERIFY(AudioTest::Peak(heard) > 0.2);
        const std::vector<float> after(heard.end() - SoundRecorder::Rate / 4, heard.end());
        QVERIFY2(AudioTest::Peak(after) < 0.01, "the song stopped with the program");

        manager.terminate();
        manager.waitForFinished(3000);
    }
};

QTEST_MAIN(TestSystemDialogs)
#include "tst_sys_dialogs.moc"
