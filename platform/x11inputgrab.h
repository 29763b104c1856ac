// SPDX-License-Identifier: GPL-3.0-or-later
// Holds the keyboard and the pointer for one window with X11 grabs: every key
// goes to the window, whichever window has the focus, so the desktop's own
// shortcuts (Super, Alt+Tab, Alt+F4) reach it as ordinary keys; the pointer
// stays inside the window's client area, away from the title bar, the panels,
// hot corners and other screens, while presses still reach the window's own
// controls.
#pragma once

#include "inputgrab.h"

class X11InputGrab : public InputGrab
{
public:
    using InputGrab::InputGrab;
    ~X11InputGrab() override;

    void take(QWindow *window) override;
    void release() override;
    bool held() const override { return m_keyboard && m_pointer; }
    QString problem() const override { return m_problem; }

private:
    bool m_keyboard = false;
    bool m_pointer = false;
    QString m_problem;
};
