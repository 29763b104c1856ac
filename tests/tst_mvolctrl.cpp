// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form1.h"
#include "messagecatcher.h"
#include "platform/mvolctrl.h"
#include "settings/options.h"

#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestVolume : public QObject
{
    Q_OBJECT

private slots:
    void errorTexts_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("success shows nothing") << 0 << QString();
        QTest::newRow("1") << 1 << u"[1] "_s;
        QTest::newRow("bad device") << 2 << u"[2] 指定されたデバイスIDは無効です。"_s;
        QTest::newRow("3") << 3 << u"[3] "_s;
        QTest::newRow("busy") << 4 << u"[4] 指定リソースはすでに割り当て済みです。"_s;
        QTest::newRow("bad handle") << 5 << u"[5] 指定されたハンドルは無効です。"_s;
        QTest::newRow("no mixer") << 6 << u"[6] 利用可能なミキサーデバイスがありません。"_s;
        QTest::newRow("no memory, half-width stop") << 7 << u"[7] リソースを割り当てることはできません｡"_s;
        QTest::newRow("8") << 8 << u"[8] "_s;
        QTest::newRow("9") << 9 << u"[9] "_s;
        QTest::newRow("bad flag") << 10 << u"[10] 1つ以上の無効なフラグがあります。"_s;
        QTest::newRow("bad parameter") << 11 << u"[11] 1つ以上の無効なパラメータがあります。"_s;
        QTest::newRow("12") << 12 << u"[12] "_s;
        QTest::newRow("no such control") << 1025 << u"[1025] "_s;
    }
    void errorTexts()
    {
        QFETCH(int, code);
        QFETCH(QString, text);
        QCOMPARE(mVolCtrl::MixerErrorText(code), text);
    }

    void sliderScale_data()
    {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("scale");
        QTest::newRow("sound server range") << 0 << 65536 << 10;
        QTest::newRow("sound card range") << 0 << 87 << 10;
        QTest::newRow("largest in tenths") << 0 << 327679 << 10;
        QTest::newRow("too wide for tenths") << 0 << 327680 << 20;
        QTest::newRow("widest") << 0 << INT32_MAX << 65540;
        QTest::newRow("negative range in decibels") << -10239 << 400 << 10;
    }
    void sliderScale()
    {
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, scale);
        QCOMPARE(mVolCtrl::SliderScale(minimum, maximum), scale);
        QVERIFY(maximum / scale <= 32767 && minimum / scale >= -32768);
    }

    void closedMixerFailsQuietly()
    {
        mVolCtrl::Mixer mixer;
        mVolCtrl::MixerControl control;
        QCOMPARE(mVolCtrl::mixerOpen(mixer, 1), mVolCtrl::MMSYSERR_BADDEVICEID);
        QCOMPARE(mVolCtrl::mixerOpen(mixer, 0, u"zubelo-no-such-mixer"_s), mVolCtrl::MMSYSERR_NODRIVER);
        QVERIFY(!mixer.IsOpen());
        QCOMPARE(mVolCtrl::FindVolumeControl(mixer, 4, 0x50030001, control), mVolCtrl::MMSYSERR_INVALHANDLE);
        QCOMPARE(mVolCtrl::GetVolumeValue(mixer, 1), 0L);
        QCOMPARE(mVolCtrl::SetVolumeValue(mixer, 1, 100), mVolCtrl::MMSYSERR_INVALHANDLE);
    }

    void noMixerIsToldOnceAndTheSliderKeepsItsMaking()
    {
        QTemporaryDir dir;
        Options::SetProgramFolder(dir.path());
        MessageCatcher boxes;
        Form1::Devices devices;
        devices.audio.output = AudioEngine::Output::Offline;
        devices.mixer = u"zubelo-no-such-mixer"_s;
        Form1 form(devices);
        QCOMPARE(boxes.texts, QStringList{u"[6] 利用可能なミキサーデバイスがありません。"_s});
        QCOMPARE(boxes.titles, QStringList{u"Zubelo"_s});
        QCOMPARE(boxes.icons, QList<QMessageBox::Icon>{QMessageBox::Warning});
        QCOMPARE(form.HScroll1->minimum(), 0);
        QCOMPARE(form.HScroll1->maximum(), 32767);
        QCOMPARE(form.HScroll1->singleStep(), 1);
        QCOMPARE(form.Timer1.interval(), 120);
        QCOMPARE(form.Timer2.interval(), 600);
        form.HScroll1->setFocus();
        form.HScroll1->setValue(500); // reaches no device, and nothing breaks
        QVERIFY(form.Timer1.isActive());
        QCOMPARE(form.focusWidget(), form.HScroll1);
        QTRY_COMPARE(form.focusWidget(), static_cast<QWidget *>(form.Text1)); // 120 ms later
        QCOMPARE(boxes.texts.size(), 1);
    }
};

QTEST_MAIN(TestVolume)
#include "tst_mvolctrl.moc"
