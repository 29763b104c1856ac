// SPDX-License-Identifier: GPL-3.0-or-later
#include "random.h"

#include <random>

namespace Random {

namespace {

std::mt19937 &generator()
{
    static std::mt19937 engine; // default seed, the same every run
    return engine;
}

} // namespace

float next()
{
    // 24 random bits make every float in [0, 1) on a 2^-24 grid, and never 1.0.
    return float(generator()() >> 8) * (1.0f / 16777216.0f);
}

void restart()
{
    generator().seed(std::mt19937::default_seed);
}

} // namespace Random
