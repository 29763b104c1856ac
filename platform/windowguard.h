// SPDX-License-Identifier: GPL-3.0-or-later
// Window plumbing that keeps the toy under a child's hands: the play window's
// text box opens no context menu, and the program's windows stay on top.
#pragma once

class QWidget;

namespace WindowGuard {

// Swallows the text box's context menu requests (right button, menu key,
// Shift+F10); every other event reaches it unchanged.
void hookTextBox(QWidget *textBox);
void unhookTextBox(QWidget *textBox);
bool isTextBoxHooked(const QWidget *textBox);

// Keeps the window above normal windows without moving, resizing or activating it.
void makeTopmost(QWidget *window);

// A border that cannot be dragged while the window has its normal size: the
// window manager is told that size is both its least and its most, and takes
// the edges (and on many desktops the maximise button) away. FreeBorder comes
// before a request to maximise, which a window of one fixed size would not get.
void fixBorderAtNormalSize(QWidget *window);
void freeBorder(QWidget *window);

} // namespace WindowGuard
