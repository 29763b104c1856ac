// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start, in order: the keyboard's lock keys, the program folder, the
// one-copy lock, the settings of Option.dat, the play window and the volume mixer.
// What it makes lasts while the program runs and goes in the reverse order.
#pragma once

#include "instancelock.h"
#include "lockkeys.h"
#include "playwindow.h"
#include "programfolder.h"

class StartUp
{
public:
    // What holds for the whole process, made once before any window: the largest picture decoded.
    static void configureProcess();

    // keyboardLock: hold keyboard and pointer while the window is maximised and active.
    explicit StartUp(bool keyboardLock);

    PlayWindow &window() { return m_window; }

private:
    static Settings::Record settingsIn(const ProgramFolder &folder);

    const LockKeys m_lockKeys; // Caps Lock and the like go back as they were, at the very end
    const ProgramFolder m_folder;
    const InstanceLock m_instance;
    PlayWindow m_window;
};
