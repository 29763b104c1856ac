// SPDX-License-Identifier: GPL-3.0-or-later
// SIGTERM and SIGINT (a log-out, a service manager, `kill`, Ctrl+C in a
// terminal) reach the event loop as a signal of this object, so the program
// can end as a close of its window would.
#pragma once

#include <QObject>
#include <QSocketNotifier>

class QuitSignals : public QObject
{
    Q_OBJECT

public:
    // Takes both signals for this process; one object at a time.
    explicit QuitSignals(QObject *parent = nullptr);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals &) = delete;
    QuitSignals &operator=(const QuitSignals &) = delete;

    // True once either signal has arrived.
    bool hasArrived() const { return m_received; }

signals:
    void received(int signalNumber);

private:
    void readSignals();

    int m_fds[2] = {-1, -1}; // written by the handler, read here
    QSocketNotifier *m_notifier = nullptr;
    bool m_received = false;
};
