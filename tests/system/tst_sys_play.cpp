// SPDX-License-Identifier: GPL-3.0-or-later
// The play window with real keys and clicks: colours, lyrics, pictures, click songs.
#include "../audiotestutil.h"
#include "systemtest.h"

#include <QElapsedTimer>
#include <QImage>
#include <QThread>
#include <QtTest>
#include <cmath>
#include <sndfile.h>

using namespace Qt::StringLiterals;
using SystemTest::SoundRecorder;
using SystemTest::ZubeloCopy;

namespace {

constexpr int SlotA = 60;
constexpr int SlotS = 61;

const QList<QColor> KeyColours{QColor(0, 0, 192),   QColor(0, 128, 128), QColor(0, 128, 0),
                               QColor(192, 0, 192), QColor(192, 0, 0),   QColor(255, 255, 255),
                               QColor(128, 128, 0), QColor(128, 64, 0)};

bool isGreen(const QColor &c)
{
    return c.green() > 200 && c.red() < 60 && c.blue() < 60;
}

} // namespace

class TestSystemPlay : public QObject
{
    Q_OBJECT

private:
    void writePicture(ZubeloCopy &zubelo)
    {
        QImage picture(100, 80, QImage::Format_RGB32);
        picture.fill(QColor(0, 255, 0));
        QVERIFY(picture.save(zubelo.FilePath(u"green.bmp"_s), "BMP"));
    }

private slots:
    void initTestCase() { QVERIFY(SystemTest::RequireServices()); }

    void keyPaintsTheBoxAndShowsLyrics()
    {
        ZubeloCopy zubelo;
        QVERIFY(AudioTest::WriteTone(zubelo.FilePath(u"tone.wav"_s), 48000, 1,
                                     SF_FORMAT_WAV | SF_FORMAT_PCM_16, 440, 0.3));
        QVERIFY(AudioTest::WriteTone(zubelo.FilePath(u"song.wav"_s), 48000, 1,
                                     SF_FORMAT_WAV | SF_FORMAT_PCM_16, 330, 0.3));
        // Lyrics in Shift-JIS beside song.wav: three long lines of かえる.
        QVERIFY(zubelo.WriteFile(u"song.txt"_s,
                                 QByteArray("\x82\xa9\x82\xa6\x82\xe9 ").repeated(6) + "\r\n"
                                     + QByteArray("\x82\xa9\x82\xa6\x82\xe9 ").repeated(6) + "\r\n"
                                     + QByteArray("\x82\xa9\x82\xa6\x82\xe9 ").repeated(6) + "\r\n"));
        QVERIFY(zubelo.WriteFile(
            u"Option.dat"_s,
            SystemTest::OptionFile({{SlotA, "tone.wav"}, {SlotS, "song.wav"}}, false, 48, 20)));
        QVERIFY(zubelo.Start());
        QVERIFY(zubelo.Focus());
        const QRect window = zubelo.WindowGeometry();
        const QRect corner(window.right() - 30, window.top() + 200, 20, 20); // far from any text

        // Keys until the box has shown two colours; each one is a key colour.
        QSet<QRgb> colours;
        QStringList strangers;
        auto pressAndLook = [&] {
            SystemTest::XdoTool({u"key"_s, u"a"_s});
            const QColor colour = SystemTest::GrabScreen(corner).pixelColor(10, 10);
            if (!KeyColours.contains(colour)) {
                strangers << colour.name();
            }
            colours.insert(colour.rgb());
            return colours.size() >= 2;
        };
        QTRY_VERIFY_WITH_TIMEOUT(pressAndLook(), 5000);
        QVERIFY2(strangers.isEmpty(), qPrintable(strangers.join(u' ')));

        const QRect lowerHalf(window.left(), window.top() + 120, window.width(), 100);
        const int typedBelow = SystemTest::DarkPixels(SystemTest::GrabScreen(lowerHalf));
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"s"_s}));
        // The lyrics fill the box: dark text now reaches well down the window.
        QTRY_VERIFY_WITH_TIMEOUT(SystemTest::DarkPixels(SystemTest::GrabScreen(lowerHalf)) > typedBelow + 500,
                                 3000);
        QVERIFY(zubelo.RequestClose());
        QVERIFY(zubelo.WaitForExit());
    }

    void leftClickShowsAPictureAndPlaysItsSong()
    {
        ZubeloCopy zubelo;
        writePicture(zubelo);
        QVERIFY(zubelo.WriteFile(u"Option.dat"_s, SystemTest::OptionFile({}, false, 48, 20)));
        QVERIFY(zubelo.Start());
        QVERIFY(zubelo.Focus());
        const QRect window = zubelo.WindowGeometry();
        const QPoint pointer = window.topLeft() + QPoint(200, 60);
        QVERIFY(SystemTest::XdoTool(
            {u"mousemove"_s, QString::number(pointer.x()), QString::number(pointer.y())}));
        SoundRecorder recorder;
        QVERIFY(recorder.Start());
        QVERIFY(SystemTest::XdoTool({u"mousedown"_s, u"1"_s}));
        // The picture's top-left corner is at the pointer.
        const QRect atPointer(pointer - QPoint(5, 5), QSize(60, 60));
        QTRY_VERIFY_WITH_TIMEOUT(isGreen(SystemTest::GrabScreen(atPointer).pixelColor(30, 30)), 3000);
        QVERIFY(!isGreen(SystemTest::GrabScreen(atPointer).pixelColor(1, 1)));
        QVERIFY(SystemTest::XdoTool({u"mouseup"_s, u"1"_s}));
        QElapsedTimer released;
        released.start();
        QThread::msleep(500); // not gone yet
        QVERIFY(
            isGreen(SystemTest::GrabScreen(QRect(pointer + QPoint(20, 20), QSize(4, 4))).pixelColor(1, 1)));
        QTRY_VERIFY_WITH_TIMEOUT(
            !isGreen(SystemTest::GrabScreen(QRect(pointer + QPoint(20, 20), QSize(4, 4))).pixelColor(1, 1)),
            3000);
        QVERIFY2(released.elapsed() >= 900 && released.elapsed() < 1800,
                 qPrintable(QString::number(released.elapsed())));
        const std::vector<float> heard = recorder.Stop();
        QVERIFY2(AudioTest::Peak(heard) > 0.05, "the left click song is heard");

        // A right press opens no menu: no window comes up beside the play window.
        QVERIFY(SystemTest::XdoTool({u"click"_s, u"3"_s}));
        QThread::msleep(400); // no menu comes
        QCOMPARE(zubelo.VisibleWindowCount(), 1);
        QVERIFY(zubelo.RequestClose());
        QVERIFY(zubelo.WaitForExit());
    }

    void withoutAMixerPicturesGoAfter600Milliseconds()
    {
        ZubeloCopy zubelo;
        writePicture(zubelo);
        QVERIFY(zubelo.WriteFile(u"Option.dat"_s, SystemTest::OptionFile({}, false, 48, 20)));
        zubelo.SetEnvironment(u"ALSA_CONFIG_PATH"_s, QStringLiteral(ZUBELO_TEST_DATA "/alsa-no-mixer.conf"));
        QVERIFY(zubelo.Start());
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"Return"_s})); // the mixer message
        QTRY_VERIFY_WITH_TIMEOUT(zubelo.FindWindow() && zubelo.WindowGeometry().size() == QSize(536, 285),
                                 5000);
        QVERIFY(zubelo.Focus());
        const QPoint pointer = zubelo.WindowGeometry().topLeft() + QPoint(150, 50);
        QVERIFY(SystemTest::XdoTool(
            {u"mousemove"_s, QString::number(pointer.x()), QString::number(pointer.y())}));
        QVERIFY(SystemTest::XdoTool({u"click"_s, u"1"_s}));
        QElapsedTimer released;
        released.start();
        QThread::msleep(250); // not gone yet
        QVERIFY(
            isGreen(SystemTest::GrabScreen(QRect(pointer + QPoint(20, 20), QSize(4, 4))).pixelColor(1, 1)));
        QTRY_VERIFY_WITH_TIMEOUT(
            !isGreen(SystemTest::GrabScreen(QRect(pointer + QPoint(20, 20), QSize(4, 4))).pixelColor(1, 1)),
            3000);
        QVERIFY2(released.elapsed() >= 500 && released.elapsed() < 950,
                 qPrintable(QString::number(released.elapsed())));
        QVERIFY(zubelo.RequestClose());
        QVERIFY(zubelo.WaitForExit());
    }
};

QTEST_MAIN(TestSystemPlay)
#include "tst_sys_play.moc"
