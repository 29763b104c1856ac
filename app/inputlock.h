// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps a child in the toy: while the play window fills the screen and has the
// keyboard, the lock holds keyboard and pointer for it (through the desktop's
// InputGrab), so that the desktop's shortcuts, the title bar and the panels are
// out of reach. It follows the window's state itself; the window only tells it
// when it closes.
#pragma once

#include "inputgrab.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

class InputLock : public QObject
{
    Q_OBJECT

public:
    // A lock that is not enabled (--no-lock, or a second copy on its way out) never holds.
    InputLock(bool enabled, std::unique_ptr<InputGrab> grab, QObject *parent = nullptr);
    ~InputLock() override;

    // Holds for the window while it is maximised or full screen, active and shown, with no
    // modal dialog open; a grab that cannot be taken yet is tried again while so.
    void watch(QWidget *window);
    // Lets go for good: the window is closing.
    void stop();
    bool held() const { return m_wanted && m_grab->held(); }
    // Wanted, and still not held after a few tries: the parent should be told.
    bool failing() const { return m_failing; }

signals:
    void failingChanged(bool failing);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool wanted() const;
    void update();
    void take();
    void settle();
    void setFailing(bool failing);

    std::unique_ptr<InputGrab> m_grab;
    QPointer<QWidget> m_window;
    QTimer m_retry;
    QString m_told; // the problem stderr heard of last, so it hears of it once
    int m_failures = 0;
    bool m_enabled;
    bool m_wanted = false;
    bool m_failing = false;
};
