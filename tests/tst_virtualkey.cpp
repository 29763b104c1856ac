// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/virtualkey.h"
#include "settings/keyslots.h"

#include <QKeyEvent>
#include <QtTest>

using VirtualKey::Layout;
Q_DECLARE_METATYPE(VirtualKey::Layout)

class TestVirtualKey : public QObject
{
    Q_OBJECT

private slots:
    void virtualKeyCode_data()
    {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<bool>("keypad");
        QTest::addColumn<uint>("x11Keycode");
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<int>("code");
        const Layout jp = Layout::Japanese;
        const Layout us = Layout::Us;
        // Letters and digits, also with Shift held (Qt then reports the shifted symbol).
        QTest::newRow("a") << int(Qt::Key_A) << false << 38u << jp << 65;
        QTest::newRow("1") << int(Qt::Key_1) << false << 10u << jp << 49;
        QTest::newRow("jp Shift+2 is \"") << int(Qt::Key_QuoteDbl) << false << 11u << jp << 50;
        QTest::newRow("us Shift+2 is @") << int(Qt::Key_At) << false << 11u << us << 50;
        QTest::newRow("0") << int(Qt::Key_0) << false << 19u << us << 48;
        // Symbol keys of a Japanese keyboard.
        QTest::newRow("jp -") << int(Qt::Key_Minus) << false << 20u << jp << 189;
        QTest::newRow("jp Shift+- is =") << int(Qt::Key_Equal) << false << 20u << jp << 189;
        QTest::newRow("jp ^") << int(Qt::Key_AsciiCircum) << false << 21u << jp << 222;
        QTest::newRow("jp ￥") << int(Qt::Key_Backslash) << false << 132u << jp << 220;
        QTest::newRow("jp ろ") << int(Qt::Key_Backslash) << false << 97u << jp << 226;
        QTest::newRow("jp Shift+ろ is _") << int(Qt::Key_Underscore) << false << 97u << jp << 226;
        QTest::newRow("jp @") << int(Qt::Key_At) << false << 34u << jp << 192;
        QTest::newRow("jp [") << int(Qt::Key_BracketLeft) << false << 35u << jp << 219;
        QTest::newRow("jp ;") << int(Qt::Key_Semicolon) << false << 47u << jp << 187;
        QTest::newRow("jp :") << int(Qt::Key_Colon) << false << 48u << jp << 186;
        QTest::newRow("jp ]") << int(Qt::Key_BracketRight) << false << 51u << jp << 221;
        QTest::newRow("jp ,") << int(Qt::Key_Comma) << false << 59u << jp << 188;
        QTest::newRow("jp Shift+. is >") << int(Qt::Key_Greater) << false << 60u << jp << 190;
        QTest::newRow("jp /") << int(Qt::Key_Slash) << false << 61u << jp << 191;
        // The same positions on a US keyboard.
        QTest::newRow("us =") << int(Qt::Key_Equal) << false << 21u << us << 187;
        QTest::newRow("us [") << int(Qt::Key_BracketLeft) << false << 34u << us << 219;
        QTest::newRow("us ;") << int(Qt::Key_Semicolon) << false << 47u << us << 186;
        QTest::newRow("us '") << int(Qt::Key_Apostrophe) << false << 48u << us << 222;
        QTest::newRow("us `") << int(Qt::Key_QuoteLeft) << false << 49u << us << 192;
        QTest::newRow("us \\") << int(Qt::Key_Backslash) << false << 51u << us << 220;
        // Japanese keys.
        QTest::newRow("半角/全角") << int(Qt::Key_Zenkaku_Hankaku) << false << 49u << jp << 229;
        QTest::newRow("変換") << int(Qt::Key_Henkan) << false << 100u << jp << 28;
        QTest::newRow("無変換") << int(Qt::Key_Muhenkan) << false << 102u << jp << 29;
        QTest::newRow("カタカナ/ひらがな") << int(Qt::Key_Hiragana_Katakana) << false << 101u << jp << 242;
        QTest::newRow("英数 (Caps Lock)") << int(Qt::Key_Eisu_toggle) << false << 66u << jp << 240;
        // Named keys.
        QTest::newRow("Caps Lock") << int(Qt::Key_CapsLock) << false << 66u << us << 240;
        QTest::newRow("Print Screen") << int(Qt::Key_Print) << false << 107u << jp << 42;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << false << 9u << jp << 27;
        QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << false << 23u << jp << 9;
        QTest::newRow("F12") << int(Qt::Key_F12) << false << 96u << jp << 123;
        QTest::newRow("Shift") << int(Qt::Key_Shift) << false << 50u << jp << 16;
        QTest::newRow("right Alt as AltGr") << int(Qt::Key_AltGr) << false << 108u << us << 18;
        QTest::newRow("left Windows") << int(Qt::Key_Super_L) << false << 133u << jp << 91;
        QTest::newRow("menu") << int(Qt::Key_Menu) << false << 135u << jp << 93;
        QTest::newRow("Pause") << int(Qt::Key_Pause) << false << 127u << jp << 19;
        // Keypad with NumLock on and off.
        QTest::newRow("keypad 7") << int(Qt::Key_7) << true << 79u << jp << 103;
        QTest::newRow("keypad 0") << int(Qt::Key_0) << true << 90u << jp << 96;
        QTest::newRow("keypad .") << int(Qt::Key_Period) << true << 91u << jp << 110;
        QTest::newRow("keypad /") << int(Qt::Key_Slash) << true << 106u << jp << 111;
        QTest::newRow("keypad *") << int(Qt::Key_Asterisk) << true << 63u << jp << 106;
        QTest::newRow("keypad -") << int(Qt::Key_Minus) << true << 82u << jp << 109;
        QTest::newRow("keypad +") << int(Qt::Key_Plus) << true << 86u << jp << 107;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << true << 104u << jp << 13;
        QTest::newRow("keypad 7, NumLock off") << int(Qt::Key_Home) << true << 79u << jp << 36;
        QTest::newRow("keypad 5, NumLock off") << int(Qt::Key_Clear) << true << 84u << jp << 12;
        QTest::newRow("keypad ., NumLock off") << int(Qt::Key_Delete) << true << 91u << jp << 46;
        // Synthetic events carry no native code: characters as a Japanese keyboard types them.
        QTest::newRow("no code: ;") << int(Qt::Key_Semicolon) << false << 0u << us << 187;
        QTest::newRow("no code: _") << int(Qt::Key_Underscore) << false << 0u << jp << 226;
        QTest::newRow("no code: !") << int(Qt::Key_Exclam) << false << 0u << jp << 49;
        QTest::newRow("no code: unknown") << int(Qt::Key_Launch0) << false << 0u << jp << 0;
    }
    void virtualKeyCode()
    {
        QFETCH(int, qtKey);
        QFETCH(bool, keypad);
        QFETCH(uint, x11Keycode);
        QFETCH(Layout, layout);
        QFETCH(int, code);
        QCOMPARE(VirtualKey::VirtualKeyCode(qtKey, keypad, x11Keycode, layout), code);
    }

    void unknownKeysPlayTheEnterSlot()
    {
        const int code = VirtualKey::VirtualKeyCode(Qt::Key_Launch0, false, 0, Layout::Japanese);
        QCOMPARE(KeySlots::SlotForKeyCode(code), KeySlots::EnterSlot);
    }

    void keyEventUsesKeypadFlagAndModifiers()
    {
        QKeyEvent keypadSeven(QEvent::KeyPress, Qt::Key_7, Qt::KeypadModifier | Qt::ShiftModifier, QString());
        QCOMPARE(VirtualKey::VirtualKeyCode(keypadSeven), 103);
        QCOMPARE(VirtualKey::ModifierMask(Qt::ShiftModifier | Qt::AltModifier), 5);
        QCOMPARE(VirtualKey::ModifierMask(Qt::ControlModifier | Qt::KeypadModifier), 2);
        QCOMPARE(VirtualKey::ModifierMask(Qt::MetaModifier), 0);
    }
};

QTEST_GUILESS_MAIN(TestVirtualKey)
#include "tst_virtualkey.moc"
