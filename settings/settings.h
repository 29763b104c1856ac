// SPDX-License-Identifier: GPL-3.0-or-later
// The settings record of the play window, which each settings dialog edits a copy of, and the
// settings file Option.dat that keeps it: Shift-JIS lines ending in CR LF, the 110 songs first.
#pragma once

#include "keyslots.h"

#include <QByteArray>
#include <QString>
#include <array>

namespace Settings {

using KeySlots::SlotCount;               // one song line per key slot
constexpr int LineCount = SlotCount + 5; // the songs, two flags, the picture folder, two font sizes
constexpr int MaxFileBytes = 8 << 20;    // more than 115 lines of the longest paths; the rest is never read
constexpr int MaxFontSize = 2160;        // the largest font size the display settings take

struct Record
{
    std::array<QString, SlotCount> songFile;
    bool playWait = false;
    bool playRepeat = false;
    QString pictureFolder; // absolute, or relative to the program folder
    qint16 inputFontSize = 0;
    qint16 lyricsFontSize = 0;

    bool operator==(const Record &other) const;
    bool operator!=(const Record &other) const { return !(*this == other); }
};

struct SaveResult
{
    enum Status { Saved, CannotHold, WriteFailed };
    Status status = Saved;
    QString detail; // the text that cannot be held, or the system's reason for a failed write
    explicit operator bool() const { return status == Saved; }
};

// Fills the record from the settings file at path. A missing or unreadable file leaves no songs and
// both flags off, the folder and font sizes as they were.
void load(const QString &path, Record &record);

// Writes the record as the settings file at path through a temporary file, so the old file stays
// whole until the new one is complete and on the disk. A failed save leaves the old file as it was
// and gives the system's reason.
SaveResult save(const QString &path, const Record &record);

// The pieces of load and save, for any bytes.
void parse(QByteArrayView fileBytes, Record &record);
SaveResult format(const Record &record, QByteArray &fileBytes);

// True when text can be stored as one line of Option.dat: every character
// exists in Shift-JIS and there is no line break.
bool canStore(const QString &text);

// Helpers of the file format, shared with the display settings dialog.
double numberFromText(QStringView text);
bool flagFromText(QStringView text);
qint16 roundToInt16(double value);
// A blank or a minus sign, then the digits: 36 gives " 36", -5 gives "-5".
QString numberForm(int value);

} // namespace Settings
