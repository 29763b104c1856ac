// SPDX-License-Identifier: GPL-3.0-or-later
#include "quitsignals.h"

#include "platformlogging.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_writeFd = -1;
constexpr int Handled[] = {SIGTERM, SIGINT};

// Runs at any point of the program: only the async-signal-safe write().
void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    const char number = char(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(g_writeFd, &number, 1);
    errno = savedErrno;
}

} // namespace

QuitSignals::QuitSignals(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, m_fds) != 0) {
        qCWarning(lcSignals, "Zubelo cannot watch for SIGTERM and SIGINT: %s", strerror(errno));
        return; // the signals keep their default action: the program ends at once
    }
    g_writeFd = m_fds[0];
    m_notifier = new QSocketNotifier(m_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::readSignals);
    struct sigaction action = {};
    action.sa_handler = &onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : Handled) {
        if (::sigaction(signalNumber, &action, nullptr) != 0) {
            qCWarning(lcSignals, "Zubelo cannot handle signal %d: %s", signalNumber, strerror(errno));
        }
    }
}

QuitSignals::~QuitSignals()
{
    if (m_fds[0] < 0) {
        return;
    }
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : Handled) {
        ::sigaction(signalNumber, &action, nullptr);
    }
    g_writeFd = -1;
    ::close(m_fds[0]);
    ::close(m_fds[1]);
}

void QuitSignals::readSignals()
{
    char numbers[16];
    ssize_t count = 0;
    while ((count = ::read(m_fds[1], numbers, sizeof numbers)) > 0) {
        for (ssize_t i = 0; i < count; ++i) {
            m_received = true;
            emit received(int(numbers[i]));
        }
    }
}
