// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace Random {

// The program's one pseudo-random generator, in [0, 1). It is never seeded
// from the clock: the same keys and clicks give the same colours and pictures
// on every run.
float next();

// Starts the sequence over, for tests.
void restart();

} // namespace Random
