// SPDX-License-Identifier: GPL-3.0-or-later
#include "lyricstext.h"

#include "shiftjis.h"

#include <QStringDecoder>
#include <algorithm>
#include <limits>

namespace LyricsText {

namespace {

constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";

// How many bytes at the end belong to a UTF-8 character that the cut split.
qsizetype splitTail(QByteArrayView bytes)
{
    for (qsizetype back = 1; back <= std::min<qsizetype>(3, bytes.size()); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((byte & 0xC0) == 0x80) {
            continue; // a continuation byte: the lead lies further back
        }
        const qsizetype length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

} // namespace

Encoding encodingOf(QByteArrayView bytes, bool cut)
{
    if (cut) {
        bytes.chop(splitTail(bytes));
    }
    if (std::all_of(bytes.begin(), bytes.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return Encoding::ShiftJis; // plain ASCII reads the same either way
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return decoder.hasError() ? Encoding::ShiftJis : Encoding::Utf8;
}

QStringList lines(QByteArrayView bytes, bool cut)
{
    if (encodingOf(bytes, cut) == Encoding::ShiftJis) {
        return ShiftJis::readLines(bytes, std::numeric_limits<int>::max());
    }
    if (bytes.startsWith(ByteOrderMark)) {
        bytes = bytes.sliced(3);
    }
    if (cut) {
        bytes.chop(splitTail(bytes));
    }
    QString text = QString::fromUtf8(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (text.endsWith(u'\n')) {
        lines.removeLast(); // the last line end closes a line, it starts none
    }
    return text.isEmpty() ? QStringList() : lines;
}

} // namespace LyricsText
