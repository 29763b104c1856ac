// SPDX-License-Identifier: GPL-3.0-or-later
// Shift-JIS (code page 932) text, as the settings and lyrics files hold it.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace AnsiCodec {

// Bytes that are not valid Shift-JIS are kept, each as one character in
// U+DC80..U+DCFF, so that Encode() gives the very same bytes back and a damaged
// line never takes its neighbours with it.
QString Decode(QByteArrayView bytes);

// nullopt when the text holds a character that code page 932 cannot hold.
std::optional<QByteArray> Encode(QStringView text);

inline bool CanEncode(QStringView text) { return Encode(text).has_value(); }

} // namespace AnsiCodec
