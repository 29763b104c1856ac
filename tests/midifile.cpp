// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/midifile.h"

#include <algorithm>
#include <tuple>

namespace MidiFile {

namespace {

void appendVariableLength(QByteArray &out, quint32 value)
{
    QByteArray bytes(1, char(value & 0x7f));
    while ((value >>= 7) != 0) {
        bytes.prepend(char(0x80 | (value & 0x7f)));
    }
    out += bytes;
}

void appendBigEndian(QByteArray &out, quint32 value, int bytes)
{
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) {
        out += char((value >> shift) & 0xff);
    }
}

struct Event
{
    int tick;
    int order; // note-offs before note-ons at the same tick
    QByteArray bytes;
};

} // namespace

QByteArray Write(const Song &song)
{
    std::vector<Event> events;
    events.push_back({0, 0, QByteArray("\xff\x51\x03", 3)});
    appendBigEndian(events.back().bytes, quint32(song.microsecondsPerQuarter), 3);
    events.push_back({0, 1, QByteArray(1, char(0xc0)) + char(song.program & 0x7f)});
    for (const Note &n : song.notes) {
        const char channel = char(n.channel & 0x0f);
        events.push_back(
            {n.startTick, 3, QByteArray(1, char(0x90 | channel)) + char(n.key) + char(n.velocity)});
        events.push_back(
            {n.startTick + n.lengthTicks, 2, QByteArray(1, char(0x80 | channel)) + char(n.key) + char(0)});
    }
    std::stable_sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
        return std::tie(a.tick, a.order) < std::tie(b.tick, b.order);
    });

    QByteArray track;
    int tick = 0;
    for (const Event &e : events) {
        appendVariableLength(track, quint32(e.tick - tick));
        track += e.bytes;
        tick = e.tick;
    }
    track += QByteArray("\x00\xff\x2f\x00", 4); // end of track

    QByteArray file("MThd");
    appendBigEndian(file, 6, 4);
    appendBigEndian(file, 0, 2); // format 0
    appendBigEndian(file, 1, 2); // one track
    appendBigEndian(file, quint32(song.ticksPerQuarter), 2);
    file += "MTrk";
    appendBigEndian(file, quint32(track.size()), 4);
    file += track;
    return file;
}

} // namespace MidiFile
