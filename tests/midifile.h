// SPDX-License-Identifier: GPL-3.0-or-later
// Writes small standard MIDI files (format 0): songs made to measure for tests.
#pragma once

#include <QByteArray>
#include <vector>

namespace MidiFile {

struct Note
{
    int startTick = 0;
    int lengthTicks = 0;
    int key = 60; // middle C
    int velocity = 100;
    int channel = 0;
};

struct Song
{
    int ticksPerQuarter = 480;
    int microsecondsPerQuarter = 500000; // 120 beats a minute
    int program = 0;                     // General MIDI instrument, 0-based, on channel 0
    std::vector<Note> notes;
};

QByteArray Write(const Song &song);

} // namespace MidiFile
