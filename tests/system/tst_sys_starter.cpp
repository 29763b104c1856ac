// SPDX-License-Identifier: GPL-3.0-or-later
// The first start of a new program folder, straight from the build with its
// own first Option.dat: keys sing, letters play a tune, clicks show pictures.
#include "../audiotestutil.h"
#include "systemtest.h"

#include <QFile>
#include <QtTest>

using namespace Qt::StringLiterals;
using SystemTest::SoundRecorder;
using SystemTest::ZubeloCopy;

namespace {

// What a key sounds like: the recording from the key press until a while after the sound began.
std::vector<float> soundOfKey(const QString &key, double seconds)
{
    SoundRecorder recorder;
    if (!recorder.Start() || !SystemTest::XdoTool({u"key"_s, key})) {
        return {};
    }
    const auto heardEnough = [&] {
        const qint64 first = recorder.FirstLoudSample(0, 0.05f);
        return first >= 0 && recorder.SampleCount() >= size_t(first + seconds * SoundRecorder::Rate);
    };
    const bool heard = QTest::qWaitFor(heardEnough, 5000);
    std::vector<float> recording = recorder.Stop();
    return heard ? recording : std::vector<float>(); // silence: no pitch, no peak
}

int changedPixels(const QImage &before, const QImage &after)
{
    int changed = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            changed += before.pixel(x, y) != after.pixel(x, y);
        }
    }
    return changed;
}

bool isPlain(const QImage &image)
{
    QImage plain(image.size(), image.format());
    plain.fill(image.pixel(0, 0));
    return changedPixels(image, plain) == 0;
}

} // namespace

class TestSystemStarter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(SystemTest::RequireServices()); }

    void firstStartSingsShowsLyricsAndPictures()
    {
        ZubeloCopy zubelo;
        QFile first(QStringLiteral(ZUBELO_FIRST_OPTIONS));
        QVERIFY(first.open(QIODevice::ReadOnly));
        QVERIFY(zubelo.WriteFile(u"Option.dat"_s, first.readAll()));
        QVERIFY(zubelo.Start());
        QVERIFY(zubelo.Focus());
        const QRect window = zubelo.WindowGeometry();

        // Neighbouring letters of the bottom row: middle C, then the D above it.
        const double z = AudioTest::PitchOfTone(soundOfKey(u"z"_s, 0.6), SoundRecorder::Rate, 200, 400);
        QVERIFY2(std::abs(z - 261.6) < 5, qPrintable(QString::number(z)));
        const double x = AudioTest::PitchOfTone(soundOfKey(u"x"_s, 0.6), SoundRecorder::Rate, 200, 400);
        QVERIFY2(std::abs(x - 293.7) < 5, qPrintable(QString::number(x)));

        // The 1 key sings, and its lyrics fill the box down to its lower part.
        const QRect lowerPart(window.left(), window.top() + 120, window.width(), 100);
        const int before = SystemTest::DarkPixels(SystemTest::GrabScreen(lowerPart));
        QVERIFY(AudioTest::Peak(soundOfKey(u"1"_s, 0.5)) > 0.05);
        QTRY_VERIFY_WITH_TIMEOUT(SystemTest::DarkPixels(SystemTest::GrabScreen(lowerPart)) > before + 500,
                                 3000);

        // A click shows a picture with its top-left corner at the pointer.
        const QPoint pointer = window.topLeft() + QPoint(150, 60);
        QVERIFY(SystemTest::XdoTool(
            {u"mousemove"_s, QString::number(pointer.x()), QString::number(pointer.y())}));
        const QRect below(pointer + QPoint(2, 2), QSize(100, 100));
        const QRect above(pointer - QPoint(42, 42), QSize(40, 40));
        const QImage belowBefore = SystemTest::GrabScreen(below);
        QVERIFY(SystemTest::XdoTool({u"mousedown"_s, u"1"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(changedPixels(belowBefore, SystemTest::GrabScreen(below)) > 100 * 100 / 2,
                                 3000);
        // Up and left of the pointer only the bare box (the click song has no lyrics: they went).
        QTRY_VERIFY_WITH_TIMEOUT(isPlain(SystemTest::GrabScreen(above)), 3000);
        QVERIFY(!isPlain(SystemTest::GrabScreen(below)));
        QVERIFY(SystemTest::XdoTool({u"mouseup"_s, u"1"_s}));

        QVERIFY(zubelo.RequestClose());
        QVERIFY(zubelo.WaitForExit());
    }
};

QTEST_MAIN(TestSystemStarter)
#include "tst_sys_starter.moc"
