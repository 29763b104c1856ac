// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeygate.h"

#include "keyslots.h"

#include <utility>

namespace {

// Shift, Ctrl and Alt, which may be held with a hot key.
bool isModifier(int keyCode)
{
    return keyCode == KeyCodes::Shift || keyCode == KeyCodes::Ctrl || keyCode == KeyCodes::Alt;
}

} // namespace

HotKeyGate::Outcome HotKeyGate::press(const Key &key, Time at)
{
    Outcome outcome;
    if (m_waiting != HotKeys::Action::None) {
        outcome.releasesWaiting = true; // a key came too soon after the letter
        m_waiting = HotKeys::Action::None;
    }
    if (isModifier(key.keyCode)) {
        if (key.keyCode == KeyCodes::Shift) {
            m_shiftAt = at;
        }
        return outcome;
    }
    const HotKeys::Action action = HotKeys::actionFor(key.keyCode, key.modifiers);
    const bool deliberate =
        action != HotKeys::Action::None && m_shiftAt && at - *m_shiftAt <= m_shiftLead && m_down.empty();
    m_shiftAt.reset(); // one letter for each press of Shift
    m_down.insert(key.id);
    if (deliberate) {
        m_waiting = action;
        outcome.waitsFor = action;
    }
    return outcome;
}

void HotKeyGate::release(const Key &key)
{
    m_down.erase(key.id);
}

HotKeys::Action HotKeyGate::settle()
{
    return std::exchange(m_waiting, HotKeys::Action::None);
}

void HotKeyGate::forget()
{
    m_down.clear();
    m_shiftAt.reset();
}
