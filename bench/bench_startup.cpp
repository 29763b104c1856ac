// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up time from exec to the window mapped, then resident memory and CPU
// share while the program sits idle. Prints medians over several runs.
#include "procstats.h"

#include <QDir>
#include <QElapsedTimer>
#include <QList>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

// Waits for the first top-level window to be mapped; milliseconds, or -1.
double waitForMap(xcb_connection_t *connection, const QElapsedTimer &clock, int timeoutMs)
{
    while (clock.elapsed() < timeoutMs) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            free(event);
            if (mapped) {
                return double(clock.nsecsElapsed()) / 1e6;
            }
        }
        usleep(200);
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    const int runs = argc > 1 ? atoi(argv[1]) : 7;
    const int idleSeconds = argc > 2 ? atoi(argv[2]) : 10;
    const QByteArray program = QByteArray(ZUBELO_PROGRAM_DIR) + "/zubelo";

    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        fprintf(stderr, "no X server (DISPLAY)\n");
        return 1;
    }
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    QList<double> mapMs, rssMiB, idleCpu;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        const pid_t pid = fork();
        if (pid == 0) {
            execl(program.constData(), program.constData(), nullptr);
            _exit(127);
        }
        const double ms = waitForMap(connection, clock, 10000);
        QThread::sleep(2); // let start-up work settle
        const double cpuBefore = ProcStats::cpuSeconds(pid);
        QThread::sleep(idleSeconds);
        const double cpuAfter = ProcStats::cpuSeconds(pid);
        const long rss = ProcStats::residentKiB(pid);
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        if (ms < 0) {
            fprintf(stderr, "run %d: no window within 10 s\n", run + 1);
            continue;
        }
        mapMs << ms;
        rssMiB << rss / 1024.0;
        idleCpu << 100.0 * (cpuAfter - cpuBefore) / idleSeconds;
        printf("run %d: window mapped %.1f ms, resident %.1f MiB, idle CPU %.2f %%\n", run + 1, ms,
               rss / 1024.0, idleCpu.last());
        fflush(stdout);
    }
    xcb_disconnect(connection);
    printf("median of %lld runs: window mapped %.1f ms, resident %.1f MiB, idle CPU %.2f %% of a core\n",
           static_cast<long long>(mapMs.size()), ProcStats::median(mapMs), ProcStats::median(rssMiB),
           ProcStats::median(idleCpu));
    return mapMs.isEmpty() ? 1 : 0;
}
