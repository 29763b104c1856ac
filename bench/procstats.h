// SPDX-License-Identifier: GPL-3.0-or-later
// What a running process costs, read from /proc.
#pragma once

#include <QList>
#include <sys/types.h>

namespace ProcStats {

// Resident memory in KiB, 0 when the process is gone.
long residentKiB(pid_t pid);

// CPU time used so far (user + system) in seconds.
double cpuSeconds(pid_t pid);

double median(QList<double> values);

} // namespace ProcStats
