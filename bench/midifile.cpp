// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/midifile.h"

#include <QtEndian>
#include <map>

namespace MidiFile {

QByteArray write(const Song &song)
{
    // By tick, ends before starts; first the tempo (500000 us a quarter) and the instrument.
    std::multimap<int, QByteArray> events{{0, QByteArray("\xff\x51\x03\x07\xa1\x20", 6)},
                                          {1, QByteArray("\xc0", 1) + char(song.program & 0x7f)}};
    for (const Note &n : song.notes) {
        const QByteArray key = QByteArray(1, char(0x90 | (n.channel & 0x0f))) + char(n.key);
        events.insert({n.startTick * 2 + 1, key + char(n.velocity)});
        events.insert({(n.startTick + n.lengthTicks) * 2, key + '\0'}); // velocity 0 ends the note
    }
    QByteArray track;
    int tick = 0;
    for (const auto &[at, bytes] : events) {
        QByteArray delta(1, char((at / 2 - tick) & 0x7f));
        for (int rest = (at / 2 - tick) >> 7; rest != 0; rest >>= 7) {
            delta.prepend(char(0x80 | (rest & 0x7f)));
        }
        track += delta + bytes;
        tick = at / 2;
    }
    track += QByteArray("\x00\xff\x2f\x00", 4); // end of track
    const quint32 size = qToBigEndian(quint32(track.size()));
    return QByteArray("MThd\0\0\0\x06\0\0\0\x01\x01\xe0MTrk", 18)
           + QByteArray(reinterpret_cast<const char *>(&size), 4) + track;
}

} // namespace MidiFile
