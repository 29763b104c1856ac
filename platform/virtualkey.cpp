// SPDX-License-Identifier: GPL-3.0-or-later
#include "virtualkey.h"

#include "keyslots.h"
#include "wayland/waylandkeymap.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace VirtualKey {

namespace {

// Keys that are not characters: the same on every layout.
int codeOfNamedKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Escape: return KeyCodes::Esc;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Pause: return 19;
    case Qt::Key_Print:
    case Qt::Key_SysReq: return 42; // the slot table is keyed on 42, not 44
    case Qt::Key_Clear: return 12;
    case Qt::Key_Home: return 36;
    case Qt::Key_End: return 35;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return 18;
    case Qt::Key_Meta:
    case Qt::Key_Super_L: return 91;
    case Qt::Key_Super_R: return 92;
    case Qt::Key_Menu: return 93;
    case Qt::Key_CapsLock:
    case Qt::Key_Eisu_toggle: return 240; // 英数 on a Japanese keyboard
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    case Qt::Key_Space: return 32;
    case Qt::Key_Henkan: return 28;
    case Qt::Key_Muhenkan: return 29;
    case Qt::Key_Hiragana_Katakana:
    case Qt::Key_Hiragana:
    case Qt::Key_Katakana: return 242;
    case Qt::Key_Zenkaku_Hankaku:
    case Qt::Key_Zenkaku:
    case Qt::Key_Hankaku:
    case Qt::Key_Kanji: return 229; // what Windows reports while its input method takes the key
    default: break;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return 112 + (qtKey - Qt::Key_F1);
    }
    return 0;
}

int codeOfKeypadKey(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return 96 + (qtKey - Qt::Key_0);
    }
    switch (qtKey) {
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period:
    case Qt::Key_Comma: return 110;
    case Qt::Key_Slash: return 111;
    default: return 0; // NumLock off: the navigation keys, named above
    }
}

// Digit and symbol keys by position (X key codes of the evdev keymap).
int codeOfMainBlockPosition(quint32 keycode, KeyboardLayout layout)
{
    const bool jp = layout == KeyboardLayout::Japanese;
    if (keycode >= 10 && keycode <= 18) {
        return 49 + int(keycode - 10); // 1 to 9
    }
    switch (keycode) {
    case 19: return 48;             // 0
    case 20: return 189;            // - (jp: = above it; us: _ above it)
    case 21: return jp ? 222 : 187; // jp ^ ~, us = +
    case 34: return jp ? 192 : 219; // jp @ `, us [ {
    case 35: return jp ? 219 : 221; // jp [ {, us ] }
    case 47: return jp ? 187 : 186; // jp ; +, us ; :
    case 48: return jp ? 186 : 222; // jp : *, us ' "
    case 49: return 192;            // us ` ~ (jp 半角/全角 is named)
    case 51: return jp ? 221 : 220; // jp ] }, us \ |
    case 59: return 188;            // , <
    case 60: return 190;            // . >
    case 61: return 191;            // / ?
    case 94: return 226;            // the extra key left of Z on ISO keyboards
    case 97: return 226;            // jp ろ (\ _)
    case 132: return 220;           // jp ￥ (\ |)
    default: return 0;
    }
}

// Without a native key code: the character as a Japanese keyboard types it.
int codeOfCharacter(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return qtKey; // Qt reports letters upper case, as the key codes are
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return qtKey;
    }
    switch (qtKey) {
    case Qt::Key_Exclam: return 49;
    case Qt::Key_QuoteDbl: return 50;
    case Qt::Key_NumberSign: return 51;
    case Qt::Key_Dollar: return 52;
    case Qt::Key_Percent: return 53;
    case Qt::Key_Ampersand: return 54;
    case Qt::Key_Apostrophe: return 55;
    case Qt::Key_ParenLeft: return 56;
    case Qt::Key_ParenRight: return 57;
    case Qt::Key_Minus:
    case Qt::Key_Equal: return 189;
    case Qt::Key_AsciiCircum:
    case Qt::Key_AsciiTilde: return 222;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
    case Qt::Key_yen: return 220;
    case Qt::Key_At:
    case Qt::Key_QuoteLeft: return 192;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return 219;
    case Qt::Key_Semicolon:
    case Qt::Key_Plus: return 187;
    case Qt::Key_Colon:
    case Qt::Key_Asterisk: return 186;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return 221;
    case Qt::Key_Comma:
    case Qt::Key_Less: return 188;
    case Qt::Key_Period:
    case Qt::Key_Greater: return 190;
    case Qt::Key_Slash:
    case Qt::Key_Question: return 191;
    case Qt::Key_Underscore: return 226;
    default: return 0;
    }
}

KeyboardLayout detectLayout()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *display = x11 ? x11->display() : nullptr;
    // The key right of "-" carries ^ on a Japanese keyboard and = on a US one. On Wayland the
    // compositor's keymap tells, with the same key codes; a keymap without that key is taken as Japanese.
    const quint32 sym = display ? quint32(XkbKeycodeToKeysym(display, 21, 0, 0)) : Wayland::keySymOf(21);
    if (!display && sym == NoSymbol) {
        return KeyboardLayout::Japanese;
    }
    return sym == XK_asciicircum ? KeyboardLayout::Japanese : KeyboardLayout::Us;
}

} // namespace

KeyboardLayout currentLayout()
{
    static const KeyboardLayout layout = detectLayout();
    return layout;
}

int virtualKeyCode(int qtKey, bool keypad, quint32 x11Keycode, KeyboardLayout layout)
{
    if (keypad) {
        if (const int code = codeOfKeypadKey(qtKey)) {
            return code;
        }
    }
    if (const int code = codeOfNamedKey(qtKey)) {
        return code;
    }
    const bool letter = qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z;
    if (x11Keycode != 0 && !letter) {
        if (const int code = codeOfMainBlockPosition(x11Keycode, layout)) {
            return code;
        }
    }
    return codeOfCharacter(qtKey);
}

int virtualKeyCode(const QKeyEvent &event)
{
    return virtualKeyCode(event.key(), event.modifiers().testFlag(Qt::KeypadModifier), event.nativeScanCode(),
                          currentLayout());
}

int modifierMask(Qt::KeyboardModifiers modifiers)
{
    return (modifiers.testFlag(Qt::ShiftModifier) ? ShiftMask : 0)
           | (modifiers.testFlag(Qt::ControlModifier) ? CtrlMask : 0)
           | (modifiers.testFlag(Qt::AltModifier) ? AltMask : 0);
}

} // namespace VirtualKey
