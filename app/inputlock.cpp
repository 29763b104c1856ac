// SPDX-License-Identifier: GPL-3.0-or-later
#include "inputlock.h"

#include "platformlogging.h"

#include <QApplication>
#include <QEvent>

namespace {

constexpr int RetryMs = 250;
constexpr int QuietFailures = 4; // a window that is just being shown needs a moment

} // namespace

InputLock::InputLock(bool enabled, std::unique_ptr<InputGrab> grab, QObject *parent)
    : QObject(parent), m_grab(std::move(grab)), m_enabled(enabled)
{
    m_retry.setInterval(RetryMs);
    connect(&m_retry, &QTimer::timeout, this, &InputLock::take);
    connect(m_grab.get(), &InputGrab::changed, this, &InputLock::settle);
}

InputLock::~InputLock()
{
    m_grab->release();
}

void InputLock::watch(QWidget *window)
{
    if (m_window) {
        m_window->removeEventFilter(this);
    }
    m_wanted = false;
    m_grab->release();
    m_window = window;
    if (window) {
        window->installEventFilter(this);
    }
    update();
}

void InputLock::stop()
{
    m_enabled = false;
    update();
}

bool InputLock::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::WindowStateChange:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowBlocked: // a modal dialog opens: it needs the keyboard
    case QEvent::WindowUnblocked: update(); break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

bool InputLock::wanted() const
{
    // Only a toy that fills the screen (a Wayland desktop shows that as full screen) and has
    // the keyboard keeps it; never under a dialog.
    return m_enabled && m_window && (m_window->isMaximized() || m_window->isFullScreen())
           && !m_window->isMinimized() && m_window->isActiveWindow() && m_window->isVisible()
           && !QApplication::activeModalWidget();
}

void InputLock::update()
{
    const bool wanted = this->wanted();
    if (!wanted) {
        m_wanted = false;
        m_retry.stop();
        m_grab->release();
        setFailing(false);
        return;
    }
    if (!m_wanted) {
        m_wanted = true;
        m_failures = 0;
    }
    take(); // renewed at every change of state, in case the desktop broke it meanwhile
}

void InputLock::take()
{
    if (!m_wanted || !m_window) {
        return;
    }
    m_grab->take(m_window->windowHandle());
    settle();
}

void InputLock::settle()
{
    if (!m_wanted) {
        return;
    }
    if (m_grab->held()) {
        m_retry.stop();
        m_failures = 0;
        m_told.clear();
        setFailing(false);
        return;
    }
    const QString problem = m_grab->problem();
    if (problem.isEmpty()) {
        return; // the desktop has not answered yet: the grab says when it does
    }
    if (++m_failures >= QuietFailures) {
        if (problem != m_told) {
            qCWarning(lcKeyboard, "Zubelo cannot hold the keyboard and the pointer: %s; it keeps trying",
                      qPrintable(problem));
            m_told = problem;
        }
        setFailing(true);
    }
    m_retry.start();
}

void InputLock::setFailing(bool failing)
{
    if (failing != m_failing) {
        m_failing = failing;
        emit failingChanged(failing);
    }
}
