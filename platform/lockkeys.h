// SPDX-License-Identifier: GPL-3.0-or-later
// What a child toggles on the keyboard is put back when the toy ends: Caps Lock,
// Num Lock and the other lock keys, and the Kana lock of a Japanese keyboard (a
// locked keyboard group, which is also the layout chosen of several). On X11 only:
// a Wayland client cannot set them.
#pragma once

class LockKeys
{
public:
    // Remembers the locks as they are now.
    LockKeys();
    // Puts them back.
    ~LockKeys();
    LockKeys(const LockKeys &) = delete;
    LockKeys &operator=(const LockKeys &) = delete;

private:
    bool m_known = false;
    unsigned char m_lockedModifiers = 0;
    int m_lockedGroup = 0;
};
