// SPDX-License-Identifier: GPL-3.0-or-later
#include "x11inputgrab.h"

#include <QGuiApplication>
#include <QWindow>
#include <xcb/xcb.h>

namespace {

constexpr int Refused = -1; // an X error instead of an answer

// Through xcb rather than Xlib: Xlib reports a grab that failed with an X error
// (a window already gone) as a success.
xcb_connection_t *x11Connection()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

template <typename Reply> int statusOf(Reply *reply, xcb_generic_error_t *error)
{
    const int status = reply && !error ? reply->status : Refused;
    free(reply);
    free(error);
    return status;
}

QString reasonOf(int status, const char *device)
{
    switch (status) {
    case XCB_GRAB_STATUS_ALREADY_GRABBED: return QStringLiteral("another program holds the %1").arg(device);
    case XCB_GRAB_STATUS_FROZEN: return QStringLiteral("another program has frozen the %1").arg(device);
    case XCB_GRAB_STATUS_NOT_VIEWABLE: return QStringLiteral("the window is not shown");
    case XCB_GRAB_STATUS_INVALID_TIME: return QStringLiteral("the X server refused the time of the request");
    default: return QStringLiteral("the X server refused to give the %1").arg(device);
    }
}

} // namespace

X11InputGrab::~X11InputGrab()
{
    release();
}

void X11InputGrab::take(QWindow *window)
{
    xcb_connection_t *x = x11Connection();
    if (!x || !window) {
        m_problem = QStringLiteral("there is no X11 window to hold them for");
        return;
    }
    const xcb_window_t id = xcb_window_t(window->winId());
    // Both requests go out before either answer is awaited. Taking a grab this
    // program already holds only renews it.
    const xcb_grab_keyboard_cookie_t keyboard =
        xcb_grab_keyboard(x, 0, id, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    // Owner events: a press goes to whichever of the window's controls is under
    // the pointer (the volume slider), and confined to the window the pointer
    // never reaches the title bar's close button.
    const uint16_t pointerEvents = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE
                                   | XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_ENTER_WINDOW
                                   | XCB_EVENT_MASK_LEAVE_WINDOW;
    const xcb_grab_pointer_cookie_t pointer = xcb_grab_pointer(
        x, 1, id, pointerEvents, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, id, XCB_NONE, XCB_CURRENT_TIME);
    xcb_generic_error_t *error = nullptr;
    const int keyboardStatus = statusOf(xcb_grab_keyboard_reply(x, keyboard, &error), error);
    error = nullptr;
    const int pointerStatus = statusOf(xcb_grab_pointer_reply(x, pointer, &error), error);
    m_keyboard = keyboardStatus == XCB_GRAB_STATUS_SUCCESS;
    m_pointer = pointerStatus == XCB_GRAB_STATUS_SUCCESS;
    // What is held stays held; the lock tries again for the rest.
    if (!m_keyboard) {
        m_problem = reasonOf(keyboardStatus, "keyboard");
    } else if (!m_pointer) {
        m_problem = reasonOf(pointerStatus, "pointer");
    } else {
        m_problem.clear();
    }
}

void X11InputGrab::release()
{
    m_problem.clear();
    if (!m_keyboard && !m_pointer) {
        return;
    }
    if (xcb_connection_t *x = x11Connection()) {
        if (m_keyboard) {
            xcb_ungrab_keyboard(x, XCB_CURRENT_TIME);
        }
        if (m_pointer) {
            xcb_ungrab_pointer(x, XCB_CURRENT_TIME);
        }
        xcb_flush(x);
    }
    m_keyboard = false;
    m_pointer = false;
}
