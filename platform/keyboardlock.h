// SPDX-License-Identifier: GPL-3.0-or-later
// Holds the whole keyboard for one window (an X11 keyboard grab), so that the
// desktop's own shortcuts (Super, Alt+Tab, Alt+F4, Ctrl+Alt+arrows, Print Screen)
// reach the toy as ordinary keys instead of taking the child out of it.
#pragma once

#include "platform/inputgrab.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

class KeyboardLock
{
public:
    // A lock that is not enabled never holds the keyboard.
    explicit KeyboardLock(bool enabled);
    ~KeyboardLock();
    KeyboardLock(const KeyboardLock &) = delete;
    KeyboardLock &operator=(const KeyboardLock &) = delete;

    // Holds the keyboard for the window while wanted, and lets it go otherwise.
    // A grab that cannot be taken yet is tried again while it is wanted.
    void Want(QWidget *window, bool wanted);
    bool Held() const { return m_grab ? m_grab->Held() : m_held; }

private:
    void tryGrab();
    void release();

    bool m_enabled;
    bool m_held = false;
    QPointer<QWidget> m_window;
    QTimer m_retry;
    // On Wayland: the compositor's shortcut inhibitor and pointer confinement.
    QObject m_grabOwner;
    InputGrab *m_grab = nullptr;
    int m_failures = 0;
};
