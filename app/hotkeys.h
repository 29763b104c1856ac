// SPDX-License-Identifier: GPL-3.0-or-later
// The parent's Shift hot keys of the play window, as the help lines list them.
#pragma once

namespace HotKeys {

enum class Action { None, Quit, MusicSettings, DisplaySettings, Minimise, NormalSize, Maximise, Help };

// The action of a key (a virtual key code and its VirtualKey modifier mask). Only Shift counts:
// Ctrl and Alt may be held too.
Action actionFor(int keyCode, int modifiers);

} // namespace HotKeys
