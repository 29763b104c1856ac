// SPDX-License-Identifier: GPL-3.0-or-later
// The text of a lyrics file. Parents write lyrics on Windows (Shift-JIS) as well
// as on Linux (UTF-8); the bytes themselves tell which.
#pragma once

#include <QByteArrayView>
#include <QStringList>

namespace LyricsText {

enum class Encoding { ShiftJis, Utf8 };

// UTF-8 when the bytes are valid UTF-8 (a byte-order mark or not) and not plain
// ASCII; Shift-JIS for everything else, as lyrics always were. cut: the bytes are
// only the beginning of the file, so the last character may be split.
Encoding encodingOf(QByteArrayView bytes, bool cut = false);

// The lines of a lyrics file in its encoding, without their line ends and without
// a byte-order mark. A line ends at CR (an LF right after it belongs to it) or at
// a lone LF.
QStringList lines(QByteArrayView bytes, bool cut = false);

} // namespace LyricsText
