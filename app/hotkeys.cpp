// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys.h"

#include "keyslots.h"
#include "virtualkey.h"

namespace HotKeys {

namespace {

struct Entry
{
    int keyCode;
    Action action;
};

constexpr Entry Table[] = {
    {KeyCodes::X, Action::Quit},
    {KeyCodes::M, Action::MusicSettings},
    {KeyCodes::V, Action::DisplaySettings},
    {KeyCodes::S, Action::Minimise},
    {KeyCodes::N, Action::NormalSize},
    {KeyCodes::L, Action::Maximise},
    {KeyCodes::H, Action::Help},
};

} // namespace

Action actionFor(int keyCode, int modifiers)
{
    if (!(modifiers & VirtualKey::ShiftMask)) {
        return Action::None;
    }
    for (const Entry &entry : Table) {
        if (entry.keyCode == keyCode) {
            return entry.action;
        }
    }
    return Action::None;
}

} // namespace HotKeys
