// SPDX-License-Identifier: GPL-3.0-or-later
// Windows virtual-key codes for Qt key events: the codes the key slot table is
// keyed on, whatever keyboard layout the X server uses.
#pragma once

#include <QtGlobal>
#include <qnamespace.h>

class QKeyEvent;

namespace VirtualKey {

// Layouts whose symbol keys sit on different positions. Letters follow the
// layout's own letters; digits and symbols follow the key's position.
enum class KeyboardLayout { Japanese, Us };

// The layout of the X server's keymap, or on Wayland of the compositor's; Japanese
// when neither tells.
KeyboardLayout currentLayout();

// qtKey and keypad as Qt reports them; x11Keycode is the native X key code
// (0 when unknown, as for synthetic events), which tells apart keys that
// Qt reports alike, such as the ろ and ￥ keys of a Japanese keyboard.
int virtualKeyCode(int qtKey, bool keypad, quint32 x11Keycode, KeyboardLayout layout);

int virtualKeyCode(const QKeyEvent &event);

// The modifier mask of key and mouse events.
constexpr int ShiftMask = 1;
constexpr int CtrlMask = 2;
constexpr int AltMask = 4;
int modifierMask(Qt::KeyboardModifiers modifiers);

// The button mask of mouse events.
constexpr int LeftButtonMask = 1;
constexpr int RightButtonMask = 2;
constexpr int MiddleButtonMask = 4;

} // namespace VirtualKey
