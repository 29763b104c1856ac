// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/keyslots.h"

#include <QSet>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestKeySlots : public QObject
{
    Q_OBJECT

private slots:
    void everySlotHasANameAndAtMostOneCode()
    {
        QSet<int> codes;
        int slotsWithCode = 0;
        for (int slot = 0; slot < KeySlots::SlotCount; ++slot) {
            const QString name = KeySlots::KeyDisplayName(slot);
            QVERIFY2(!name.isEmpty(), qPrintable(QString::number(slot)));
            if (slot != 109) {
                QVERIFY2(name.endsWith(u']'), qPrintable(name));
            }
            const int code = KeySlots::KeyCodeOfSlot(slot);
            if (code != KeySlots::NoKeyCode) {
                ++slotsWithCode;
                QVERIFY2(!codes.contains(code), qPrintable(QString::number(code)));
                codes.insert(code);
                QCOMPARE(KeySlots::SlotForKeyCode(code), slot);
            }
        }
        QCOMPARE(slotsWithCode, 105);
        QCOMPARE(KeySlots::KeyDisplayName(109), u"Enter"_s);
    }

    void slotForKeyCode_data()
    {
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<int>("slot");
        QTest::newRow("Esc") << 27 << 0;
        QTest::newRow("F12") << 123 << 12;
        QTest::newRow("Print Screen is 42") << 42 << 13;
        QTest::newRow("snapshot 44 is not listed") << 44 << 51;
        QTest::newRow("Caps Lock is 240") << 240 << 59;
        QTest::newRow("VK_CAPITAL 20 is not listed") << 20 << 51;
        QTest::newRow("input method 229") << 229 << 16;
        QTest::newRow("A") << 65 << 60;
        QTest::newRow("Enter") << 13 << 51;
        QTest::newRow("keypad Enter code") << 108 << 92;
        QTest::newRow("Shift") << 16 << 75;
        QTest::newRow("Ctrl") << 17 << 93;
        QTest::newRow("Alt") << 18 << 95;
        QTest::newRow("left Windows") << 91 << 94;
        QTest::newRow("right Windows") << 92 << 51;
        QTest::newRow("Clear") << 12 << 51;
        QTest::newRow("Kanji") << 25 << 51;
        QTest::newRow("243") << 243 << 51;
        QTest::newRow("244") << 244 << 51;
        QTest::newRow("Home") << 36 << 32;
        QTest::newRow("End") << 35 << 53;
        QTest::newRow("PageUp") << 33 << 33;
        QTest::newRow("PageDown") << 34 << 54;
        QTest::newRow("Left") << 37 << 104;
        QTest::newRow("Up") << 38 << 88;
        QTest::newRow("Right") << 39 << 106;
        QTest::newRow("Down") << 40 << 105;
        QTest::newRow("Insert") << 45 << 31;
        QTest::newRow("Delete") << 46 << 52;
        QTest::newRow("keypad .") << 110 << 108;
        QTest::newRow("ro key") << 226 << 86;
        QTest::newRow("yen key") << 220 << 29;
        QTest::newRow("zero") << 0 << 51;
        QTest::newRow("negative") << -1 << 51;
        QTest::newRow("past 255") << 300 << 51;
        QTest::newRow("16-bit max") << 65535 << 51;
    }
    void slotForKeyCode()
    {
        QFETCH(int, keyCode);
        QFETCH(int, slot);
        QCOMPARE(KeySlots::SlotForKeyCode(keyCode), slot);
    }

    void rightHandCopiesHaveNoCode_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("name");
        QTest::newRow("right Shift") << 87 << u"[Shift]"_s;
        QTest::newRow("right Alt") << 100 << u"[Alt]"_s;
        QTest::newRow("right Windows") << 101 << u"[Windows]"_s;
        QTest::newRow("right Ctrl") << 103 << u"[Ctrl]"_s;
        QTest::newRow("lower Enter") << 109 << u"Enter"_s;
    }
    void rightHandCopiesHaveNoCode()
    {
        QFETCH(int, slot);
        QFETCH(QString, name);
        QCOMPARE(KeySlots::KeyCodeOfSlot(slot), KeySlots::NoKeyCode);
        QCOMPARE(KeySlots::KeyDisplayName(slot), name);
    }

    void namesAndCaptions_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Esc") << 0 << u"[Esc]"_s << u"Esc"_s;
        QTest::newRow("hankaku/zenkaku") << 16 << u"[半角/全角]"_s << u"半角全角"_s;
        QTest::newRow("yen: one backslash") << 29 << u"[\\]"_s << u"\\"_s;
        QTest::newRow("keypad NumLock") << 34 << u"テンキー[NumLock]"_s << u"NL"_s;
        QTest::newRow("Space has no caption") << 97 << u"[Space]"_s << QString();
        QTest::newRow("kana half-width") << 99 << u"[カタカナ・ひらがな]"_s << u"ｶﾅ"_s;
        QTest::newRow("menu") << 102 << u"[右クリック・メニュー]"_s << u"Menu"_s;
        QTest::newRow("lower Enter has no caption") << 109 << u"Enter"_s << QString();
        QTest::newRow("out of range") << 110 << QString() << QString();
    }
    void namesAndCaptions()
    {
        QFETCH(int, slot);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QCOMPARE(KeySlots::KeyDisplayName(slot), name);
        QCOMPARE(KeySlots::KeyCaption(slot), caption);
    }
};

QTEST_GUILESS_MAIN(TestKeySlots)
#include "tst_keyslots.moc"
