// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/keyboardlock.h"

#include "platform/logging.h"
#include "platform/wayland/waylandinputgrab.h"

#include <QGuiApplication>

// Xlib last: its macros (None, Status, KeyPress...) would clash with Qt's names.
#include <X11/Xlib.h>

namespace {

constexpr int RetryMs = 250;
constexpr int QuietFailures = 4; // a window that is just being shown needs a moment

Display *x11Display()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

const char *reasonOf(int status)
{
    switch (status) {
    case AlreadyGrabbed: return "another program holds the keyboard";
    case GrabFrozen: return "another program has frozen the keyboard";
    case GrabNotViewable: return "the window is not shown";
    case GrabInvalidTime: return "the X server refused the time of the request";
    default: return "the X server refused";
    }
}

} // namespace

KeyboardLock::KeyboardLock(bool enabled) : m_enabled(enabled)
{
    m_retry.setInterval(RetryMs);
    QObject::connect(&m_retry, &QTimer::timeout, &m_retry, [this] { tryGrab(); });
    if (m_enabled) {
        m_grab = MakeWaylandInputGrab(&m_grabOwner);
    }
}

KeyboardLock::~KeyboardLock()
{
    release();
}

void KeyboardLock::Want(QWidget *window, bool wanted)
{
    if (!m_enabled) {
        return;
    }
    if (!wanted || window != m_window) {
        release();
    }
    m_window = window;
    if (m_grab && wanted && window && window->windowHandle()) {
        m_grab->Take(window->windowHandle());
    }
    if (wanted && !Held()) {
        m_failures = 0;
        tryGrab();
    }
}

void KeyboardLock::tryGrab()
{
    if (m_grab) {
        // The compositor answers in its own time, and a refusal never comes as an answer.
        if (m_grab->Held()) {
            m_retry.stop();
        } else if (++m_failures == QuietFailures) {
            qCWarning(lcKeyboard, "Zubelo cannot hold the keyboard: %s", qPrintable(m_grab->Problem()));
        } else {
            m_retry.start();
        }
        return;
    }
    Display *display = x11Display();
    if (!display) {
        qCWarning(lcKeyboard, "Zubelo cannot hold the keyboard: it is not running on X11 (platform %s)",
                  qPrintable(QGuiApplication::platformName()));
        m_enabled = false; // nothing will change that in this run
        return;
    }
    if (!m_window) {
        return;
    }
    // Every key goes to the play window, whichever of the program's windows it was meant for.
    const int status =
        XGrabKeyboard(display, Window(m_window->winId()), False, GrabModeAsync, GrabModeAsync, CurrentTime);
    m_held = status == GrabSuccess;
    if (m_held) {
        m_retry.stop();
        return;
    }
    if (++m_failures == QuietFailures) {
        qCWarning(lcKeyboard, "Zubelo cannot hold the keyboard: %s; it keeps trying", reasonOf(status));
    }
    m_retry.start();
}

void KeyboardLock::release()
{
    m_retry.stop();
    if (m_grab) {
        m_grab->Release();
        return;
    }
    if (!m_held) {
        return;
    }
    m_held = false;
    if (Display *display = x11Display()) {
        XUngrabKeyboard(display, CurrentTime);
        XFlush(display);
    }
}
