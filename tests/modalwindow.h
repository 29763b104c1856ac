// SPDX-License-Identifier: GPL-3.0-or-later
// Acts on a modal window of the program from inside its own event loop, as
// soon as it is open and ready: never after a guessed time.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

template <typename Window> class WhenModalOpens : public QObject
{
public:
    explicit WhenModalOpens(
        std::function<void(Window *)> act,
        std::function<bool(Window *)> ready = [](Window *) { return true; })
    {
        m_clock.start();
        connect(&m_timer, &QTimer::timeout, this, [this, act, ready] {
            auto *window = qobject_cast<Window *>(QApplication::activeModalWidget());
            // One never ready is acted on after 20 s: its test then fails instead of hanging.
            if (window && window->isVisible() && (ready(window) || m_clock.hasExpired(20000))) {
                ++handled;
                act(window);
            }
        });
        m_timer.start(5);
    }

    int handled = 0; // windows acted on

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
};
