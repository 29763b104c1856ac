// SPDX-License-Identifier: GPL-3.0-or-later
// Which platform the toy starts on: the one where the keyboard can be held.
#pragma once

#include <QByteArray>

namespace Wayland {

// True when WAYLAND_DISPLAY names a compositor that answers and offers to
// inhibit its own shortcuts for a window. Asks it before Qt starts, on a
// connection of its own that it closes again.
bool compositorInhibitsShortcuts();

// The Qt platform to start on: an explicit choice (qpaPlatform) wins, then
// native Wayland where the compositor lets a window hold the keyboard, then
// X11 where there is an X server (XWayland on a Wayland desktop), else Wayland;
// each with the other after it, for Qt to fall back on. Empty when the explicit
// choice stands.
QByteArray choosePlatform(const QByteArray &qpaPlatform, bool waylandInhibits, bool hasX11Display);

// True when Qt runs on Wayland itself: there no window stays on top, and the
// toy covers the screen by asking for full screen instead of maximised.
bool runsOnWayland();

} // namespace Wayland
