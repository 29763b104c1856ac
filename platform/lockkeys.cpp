// SPDX-License-Identifier: GPL-3.0-or-later
#include "lockkeys.h"

#include "platformlogging.h"

#include <QGuiApplication>
#include <X11/XKBlib.h>

namespace {

Display *x11Display()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

} // namespace

LockKeys::LockKeys()
{
    Display *display = x11Display();
    XkbStateRec state;
    if (display && XkbGetState(display, XkbUseCoreKbd, &state) == Success) {
        m_known = true;
        m_lockedModifiers = state.locked_mods;
        m_lockedGroup = state.locked_group;
    }
}

LockKeys::~LockKeys()
{
    Display *display = x11Display();
    if (!m_known || !display) {
        return; // nothing known to put back, or the X server is gone
    }
    // Every modifier lock as it was: those on stay on, the others go off.
    if (!XkbLockModifiers(display, XkbUseCoreKbd, 0xff, m_lockedModifiers)
        || !XkbLockGroup(display, XkbUseCoreKbd, unsigned(m_lockedGroup))) {
        qCWarning(lcKeyboard, "Zubelo could not put the keyboard's lock keys back as they were");
    }
    XFlush(display);
}
