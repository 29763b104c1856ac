// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the three click songs into the program folder: short, cheerful and
// easy to tell apart. Left: a rising glockenspiel run. Right: a falling
// xylophone call. Middle: a bouncy marimba hop.
#include "tools/midifile.h"

#include <QFile>
#include <cstdio>

namespace {

MidiFile::Song arpeggio(int program, std::initializer_list<int> keys, int step, int length)
{
    MidiFile::Song song;
    song.microsecondsPerQuarter = 400000;
    song.program = program;
    int tick = 0;
    for (int key : keys) {
        song.notes.push_back({tick, length, key, 110, 0});
        tick += step;
    }
    return song;
}

bool write(const QString &path, const MidiFile::Song &song)
{
    QFile file(path);
    const QByteArray bytes = MidiFile::Write(song);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        fprintf(stderr, "usage: make_click_songs PROGRAM_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool ok = write(folder + QStringLiteral("/ClickLeft.mid"), arpeggio(9, {72, 76, 79, 84}, 120, 240))
                    && write(folder + QStringLiteral("/ClickRight.mid"), arpeggio(13, {84, 79, 76, 72}, 120, 240))
                    && write(folder + QStringLiteral("/ClickMiddle.mid"), arpeggio(12, {67, 74, 67, 79}, 160, 140));
    return ok ? 0 : 1;
}
