// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/messages.h"
#include "messagecatcher.h"
#include "platform/mvolctrl.h"

#include <QtTest>

using namespace mVolCtrl;

class TestVolume : public QObject
{
    Q_OBJECT

private slots:
    void mixerErrorsAndSliderScale()
    {
        Mixer mixer;
        MessageCatcher boxes;
        DialogMessages::MixerError(nullptr, mixerOpen(mixer, 0, QStringLiteral("zubelo-no-such-mixer")));
        DialogMessages::MixerError(nullptr, MMSYSERR_NOERROR); // success shows nothing
        QCOMPARE(boxes.texts, QStringList{QStringLiteral("[6] 利用可能なミキサーデバイスがありません。")});
        QCOMPARE(MixerErrorText(3), QStringLiteral("[3] ")); // a code without words of its own
        QCOMPARE(MixerErrorText(7),
                 QStringLiteral("[7] リソースを割り当てることはできません｡")); // half-width stop
        // The slider works in tenths of the mixer's units, unless 16 bits cannot hold them.
        QCOMPARE(SliderScale(0, 327679), 10);
        QCOMPARE(SliderScale(-327680, 0), 20);
        QCOMPARE(SliderScale(0, INT32_MAX), 65540);
    }
};

QTEST_MAIN(TestVolume)
#include "tst_mvolctrl.moc"
