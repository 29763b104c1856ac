// SPDX-License-Identifier: GPL-3.0-or-later
// Tells a parent's deliberate hot key from a child's palm. A palm lands on a dozen keys
// within some 40 ms, often with Shift among them; a parent presses Shift, then the letter
// on its own. So a hot key fires only when
//   - Shift went down at most ShiftLead before the letter, and no other key (Ctrl and Alt
//     excepted) was pressed since, nor is down when the letter comes, and
//   - no other key follows within Settle after the letter: the action waits that long.
// Auto-repeat presses never fire one.
#pragma once

#include "hotkeys.h"

#include <QtGlobal>
#include <chrono>
#include <optional>
#include <set>

class HotKeyGate
{
public:
    using Time = std::chrono::milliseconds; // on any steady clock
    static constexpr Time ShiftLead{1000};
    static constexpr Time Settle{100};

    // A lead other than ShiftLead is for measuring what it would cost.
    explicit HotKeyGate(Time shiftLead = ShiftLead) : m_shiftLead(shiftLead) {}

    struct Key
    {
        quint32 id = 0; // the physical key (the two Shift keys differ)
        int keyCode = 0;
        int modifiers = 0; // VirtualKey's mask, as the key event has it
    };

    struct Outcome
    {
        // A letter held back by Settle turned out to be part of a landing: it goes on as an
        // ordinary key, before this one.
        bool releasesWaiting = false;
        // This key waits Settle; unless settle() says otherwise then, it fires this action.
        HotKeys::Action waitsFor = HotKeys::Action::None;
    };

    // A key going down (not an auto-repeat press, which goes on as an ordinary key without
    // counting here).
    Outcome press(const Key &key, Time at);
    void release(const Key &key);
    // Settle has passed since the letter with no other key: the action to run now.
    HotKeys::Action settle();
    // The keyboard went to another window for a while: what it pressed and let go there was
    // never seen, so no key counts as down.
    void forget();

private:
    Time m_shiftLead;
    std::set<quint32> m_down;      // keys down other than Shift, Ctrl and Alt
    std::optional<Time> m_shiftAt; // Shift went down then, and no other key has been pressed since
    HotKeys::Action m_waiting = HotKeys::Action::None;
};
