// SPDX-License-Identifier: GPL-3.0-or-later
// One way of holding the keyboard and the pointer for a window: an X11 grab,
// or the Wayland compositor's shortcut inhibitor and pointer confinement.
// The lock decides when to hold; a grab only knows how.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QWindow;

class InputGrab : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Asks to hold keyboard and pointer for the window. Some desktops answer
    // later (GNOME asks the user first): changed() tells when the answer comes.
    virtual void take(QWindow *window) = 0;
    // Lets both go; nothing happens when nothing is held.
    virtual void release() = 0;
    // True while the keyboard (and the pointer, where the desktop allows it) is held.
    virtual bool held() const = 0;
    // Why the last Take did not hold, in a short English phrase for the log; empty while held.
    virtual QString problem() const = 0;

signals:
    // Held() or Problem() changed without a call from the lock.
    void changed();
};

// The grab this desktop offers: X11's where Qt runs on X11, elsewhere one that never
// holds and says why.
std::unique_ptr<InputGrab> makeInputGrab(QObject *parent = nullptr);
