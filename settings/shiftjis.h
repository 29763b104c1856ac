// SPDX-License-Identifier: GPL-3.0-or-later
// Shift-JIS (code page 932) text, as the settings and lyrics files hold it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace ShiftJis {

// Bytes that are not valid Shift-JIS are kept, each as one character in
// U+DC80..U+DCFF, so that Encode() gives the very same bytes back and a damaged
// line never takes its neighbours with it.
QString decode(QByteArrayView bytes);

// nullopt when the text holds a character that code page 932 cannot hold.
std::optional<QByteArray> encode(QStringView text);

inline bool canEncode(QStringView text)
{
    return encode(text).has_value();
}

// The lines of a text file, each decoded on its own. A line ends at CR (an LF
// right after it belongs to it) or at a lone LF; the line ends are not kept.
// At most maxLines are read.
QStringList readLines(QByteArrayView bytes, int maxLines);

} // namespace ShiftJis
