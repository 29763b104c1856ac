// SPDX-License-Identifier: GPL-3.0-or-later
// The compositor's keymap, where X11 has the X server's: which symbol a key
// position carries, so that symbol keys follow their position on any layout.
#pragma once

#include <QtGlobal>

namespace Wayland {

// The symbol (an X keysym) at the first level of the key with this X key code in
// the keymap of the compositor's first seat; 0 when not on Wayland or unknown.
quint32 keySymOf(quint32 keycode);

} // namespace Wayland
