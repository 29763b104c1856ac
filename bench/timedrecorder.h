// SPDX-License-Identifier: GPL-3.0-or-later
// Records what the sound server plays (the monitor of its null sink), mono
// 48 kHz, in pieces each stamped with the time it arrived: for latency figures.
#pragma once

#include <QtGlobal>
#include <memory>
#include <vector>

class TimedRecorder
{
public:
    static constexpr int Rate = 48000;

    // 96 frames are 2 ms pieces, for timing; larger pieces flow more evenly.
    explicit TimedRecorder(int pieceFrames = 512);
    ~TimedRecorder();
    bool start();
    // Stops and returns everything recorded since Start().
    std::vector<float> stop();
    // Samples recorded so far.
    size_t sampleCount() const;
    // Arrival time (steady clock, ns) of the piece that holds sample index.
    qint64 arrivalOf(size_t sample) const;
    // The first sample at or after from whose level exceeds threshold, or -1.
    qint64 firstLoudSample(size_t from, float threshold) const;

private:
    bool playProbe();

    struct State;
    std::unique_ptr<State> m_state;
    int m_pieceFrames;
};
