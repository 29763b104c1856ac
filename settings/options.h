// SPDX-License-Identifier: GPL-3.0-or-later
// The settings record every window shares, the settings file Option.dat, and
// the small path and number routines built around them.
#pragma once

#include "keyslots.h"

#include <QByteArray>
#include <QString>
#include <array>

namespace Options {

using KeySlots::SlotCount;               // one song line per key slot
constexpr int LineCount = SlotCount + 5; // the songs, two flags, the picture folder, two font sizes
constexpr int MaxFileBytes = 8 << 20;    // more than 115 lines of the longest paths; the rest is never read
constexpr int MaxFontSize = 2160;        // the largest font size the display settings take

struct Record
{
    std::array<QString, SlotCount> songFile;
    bool playWait = false;
    bool playRepeat = false;
    QString imageFolder;
    qint16 inputFontSize = 0;
    qint16 lyricsFontSize = 0;

    bool operator==(const Record &other) const;
    bool operator!=(const Record &other) const { return !(*this == other); }
};

// The one settings record of the program, alive for the whole run.
Record &settings();

// The folder that holds the executable; relative paths are resolved against it.
void setProgramFolder(const QString &folder);
QString programFolder();
QString optionFilePath();

// Fills Settings() from Option.dat. A missing or unreadable file leaves no
// songs and both flags off, the folder and font sizes as they were.
void loadOptions();

struct SaveResult
{
    enum Status { Saved, CannotHold, WriteFailed };
    Status status = Saved;
    QString detail; // the text that cannot be held, or the system's reason for a failed write
    explicit operator bool() const { return status == Saved; }
};

// Writes Settings() to Option.dat through a temporary file, so the old file
// stays whole until the new one is complete and on the disk. A failed save
// leaves the old file as it was and gives the system's reason.
SaveResult saveOptions();

// The pieces of LoadOptions and SaveOptions, for any record and file.
void parseOptions(QByteArrayView fileBytes, Record &record);
SaveResult formatOptions(const Record &record, QByteArray &fileBytes);
SaveResult writeOptionsFile(const QString &path, const Record &record);

// True when text can be stored as one line of Option.dat: every character
// exists in Shift-JIS and there is no line break.
bool canStore(const QString &text);

QString resolvePath(const QString &stored);
QString folderOfPath(const QString &path);
double numberFromText(QStringView text);

// Helpers of the file format, shared with the display settings dialog.
bool flagFromText(QStringView text);
qint16 roundToInt16(double value);
// A blank or a minus sign, then the digits: 36 gives " 36", -5 gives "-5".
QString numberForm(int value);

} // namespace Options
