// SPDX-License-Identifier: GPL-3.0-or-later
// The volume frame over the test services' sound server, whose mixer's top is 65536; the system tests
// hear the slider set it, reopen it and find it late.
#include "messages.h"
#include "privateservices.h"
#include "volumeframe.h"

#include <QScrollBar>
#include <QtTest>

using namespace Qt::StringLiterals;
using Error = SpeakerVolume::Error;
struct SliderRow
{
    QString device;
    Error opened;
    int maximum, smallStep, largeStep, focusDelayMs;
};

class TestVolumeFrame : public QObject
{
    Q_OBJECT

private slots:
    void mixerErrorsAreToldByNumber_data()
    {
        QTest::addColumn<Error>("error");
        QTest::addColumn<QString>("text");
        QTest::newRow("no device") << Error::NoDevice << u"[6] 利用可能なミキサーデバイスがありません。"_s;
        QTest::newRow("busy") << Error::Busy << u"[4] 指定リソースはすでに割り当て済みです。"_s;
        QTest::newRow("bad flags") << Error::BadFlags << u"[10] 1つ以上の無効なフラグがあります。"_s;
        QTest::newRow("bad handle") << Error::BadHandle << u"[5] 指定されたハンドルは無効です。"_s;
        QTest::newRow("no memory: half-width stop")
            << Error::NoMemory << u"[7] リソースを割り当てることはできません｡"_s;
        QTest::newRow("bad parameter")
            << Error::BadParameter << u"[11] 1つ以上の無効なパラメータがあります。"_s;
    }
    void mixerErrorsAreToldByNumber()
    {
        QFETCH(Error, error);
        QFETCH(QString, text);
        QCOMPARE(DialogMessages::mixerErrorText(error), text);
    }

    void sliderStepsInTenthsWhileTheyFit_data()
    {
        QTest::addColumn<SpeakerVolume::Range>("range");
        QTest::addColumn<int>("scale");
        QTest::newRow("tenths while they fit 16 bits") << SpeakerVolume::Range{0, 327679} << 10;
        QTest::newRow("a negative bound past 16 bits") << SpeakerVolume::Range{-327680, 0} << 20;
        QTest::newRow("the widest range") << SpeakerVolume::Range{0, INT32_MAX} << 65540;
    }
    void sliderStepsInTenthsWhileTheyFit()
    {
        QFETCH(SpeakerVolume::Range, range);
        QFETCH(int, scale);
        QCOMPARE(sliderScale(range), scale);
    }

    void sliderTakesItsRangeAndStepsFromTheMixer_data()
    {
        QTest::addColumn<SliderRow>("row");
        QTest::newRow("none there") << SliderRow{u"no-such"_s, Error::NoDevice, 32767, 1, 1, 120};
        QTest::newRow("the server's, in tenths") << SliderRow{u"default"_s, Error::None, 6553, 50, 100, 1000};
    }
    void sliderTakesItsRangeAndStepsFromTheMixer()
    {
        QFETCH(SliderRow, row);
        const auto [device, error, maximum, smallStep, largeStep, focusDelay] = row;
        PRIVATE_SERVICES_OR_SKIP(device == u"default");
        VolumeFrame frame(device);
        QCOMPARE(frame.openMixer(), error);
        QCOMPARE(frame.slider()->maximum(), maximum);
        QCOMPARE(frame.slider()->pageStep(), largeStep);
        QCOMPARE(frame.focusDelay(), focusDelay);
        frame.slider()->setValue(3);
        QTest::keyClick(frame.slider(), Qt::Key_Right); // towards "大"
        QCOMPARE(frame.slider()->value(), 3 + smallStep);
        QVERIFY(QSignalSpy(&frame, &VolumeFrame::focusReturned).wait()); // the keyboard goes back after it
    }

    // A dragged thumb sets the volume once, where it is let go.
    void draggedThumbSetsTheVolumeWhenLetGo()
    {
        PRIVATE_SERVICES_OR_SKIP(true);
        VolumeFrame frame(u"default"_s);
        SpeakerVolume speaker; // what the sound server has
        QVERIFY(frame.openMixer() == Error::None && speaker.open(u"default"_s) == Error::None);
        frame.slider()->setValue(1000);
        frame.slider()->setSliderDown(true);
        frame.slider()->setSliderPosition(3000);
        QCOMPARE(speaker.value(), 10000L);
        frame.slider()->setSliderDown(false);
        QCOMPARE(speaker.value(), 30000L);
    }
};

QTEST_MAIN(TestVolumeFrame)
#include "tst_volumeframe.moc"
