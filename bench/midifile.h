// SPDX-License-Identifier: GPL-3.0-or-later
// Writes small standard MIDI files (format 0, 480 ticks a quarter at 120 beats a minute): songs made
// to measure for benchmarks.
#pragma once

#include <QByteArray>
#include <vector>

namespace MidiFile {

struct Note
{
    int startTick = 0, lengthTicks = 0, key = 60 /* middle C */, velocity = 100, channel = 0;
};

struct Song
{
    int program = 0; // General MIDI instrument, 0-based, on channel 0
    std::vector<Note> notes;
};

QByteArray write(const Song &song);

} // namespace MidiFile
