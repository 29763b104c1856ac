// SPDX-License-Identifier: GPL-3.0-or-later
#include "shiftjis.h"

#include "settingslogging.h"

#include <QtGlobal>
#include <cerrno>
#include <iconv.h>
#include <memory>
#include <type_traits>

namespace {

constexpr char16_t EscapeBase = 0xDC00; // a lone low surrogate stands for one raw byte 0x80..0xFF
constexpr const char *CodePage = "CP932";

struct IconvCloser
{
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

IconvHandle openConverter(const char *to, const char *from)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        qCWarning(lcSettings, "iconv cannot convert from %s to %s", from, to);
        return nullptr;
    }
    return IconvHandle(cd);
}

QChar escapeOf(unsigned char byte)
{
    return QChar(char16_t(byte < 0x80 ? byte : EscapeBase + byte));
}

bool isEscape(QChar c)
{
    return c.unicode() >= EscapeBase + 0x80 && c.unicode() <= EscapeBase + 0xFF;
}

} // namespace

namespace ShiftJis {

namespace {

// Decodes in one go; a byte that does not decode becomes its escape.
QString decodeLeniently(QByteArrayView bytes)
{
    QString text;
    IconvHandle cd = openConverter("UTF-8", CodePage);
    if (!cd) {
        return QString::fromLatin1(bytes);
    }
    char *in = const_cast<char *>(bytes.data());
    size_t inLeft = size_t(bytes.size());
    QByteArray out(int(inLeft * 3 + 4), Qt::Uninitialized); // one byte never grows past three in UTF-8
    while (inLeft > 0) {
        char *outPtr = out.data();
        size_t outLeft = size_t(out.size());
        const size_t rc = iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft);
        text += QString::fromUtf8(out.constData(), outPtr - out.constData());
        if (rc != size_t(-1)) {
            break;
        }
        if (errno == E2BIG) {
            continue;
        }
        // EILSEQ or EINVAL: keep the offending byte and go on after it.
        text += escapeOf(static_cast<unsigned char>(*in));
        ++in;
        --inLeft;
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return text;
}

// Character by character, accepting only characters that encode back to the
// very bytes they came from. Code page 932 has several byte pairs for some
// characters; without this, an escaped byte next to such a pair could join a
// different pair once the text is written again.
QString decodeCanonically(QByteArrayView bytes)
{
    QString text;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        bool taken = false;
        for (qsizetype length = 1; length <= 2 && pos + length <= bytes.size() && !taken; ++length) {
            const QByteArrayView piece = bytes.sliced(pos, length);
            const QString decoded = decodeLeniently(piece);
            const bool oneCharacter =
                decoded.size() == 1 || (decoded.size() == 2 && decoded[0].isHighSurrogate());
            if (oneCharacter && !isEscape(decoded[0]) && encode(decoded) == piece.toByteArray()) {
                text += decoded;
                pos += length;
                taken = true;
            }
        }
        if (!taken) {
            text += escapeOf(static_cast<unsigned char>(bytes[pos]));
            ++pos;
        }
    }
    return text;
}

} // namespace

QString decode(QByteArrayView bytes)
{
    QString text = decodeLeniently(bytes);
    if (encode(text) == bytes.toByteArray()) {
        return text; // the usual case: every byte pair is the one its character encodes to
    }
    return decodeCanonically(bytes);
}

std::optional<QByteArray> encode(QStringView text)
{
    QByteArray result;
    IconvHandle cd = openConverter(CodePage, "UTF-8");
    if (!cd) {
        return std::nullopt;
    }
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && !isEscape(text[end])) {
            ++end;
        }
        QByteArray utf8 = text.mid(start, end - start).toUtf8();
        if (QString::fromUtf8(utf8) != text.mid(start, end - start)) {
            return std::nullopt; // lone surrogates or other text that UTF-8 cannot carry
        }
        char *in = utf8.data();
        size_t inLeft = size_t(utf8.size());
        QByteArray out(int(inLeft * 2 + 4), Qt::Uninitialized);
        char *outPtr = out.data();
        size_t outLeft = size_t(out.size());
        if (iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft) == size_t(-1)
            || iconv(cd.get(), nullptr, nullptr, &outPtr, &outLeft) == size_t(-1)) {
            return std::nullopt;
        }
        result.append(out.constData(), outPtr - out.constData());
        if (end < text.size()) {
            result.append(char(text[end].unicode() - EscapeBase));
        }
        start = end + 1;
    }
    return result;
}

QStringList readLines(QByteArrayView bytes, int maxLines)
{
    QStringList lines;
    qsizetype pos = 0;
    const qsizetype size = bytes.size();
    while (pos < size && lines.size() < maxLines) {
        qsizetype end = pos;
        while (end < size && bytes[end] != '\r' && bytes[end] != '\n') {
            ++end;
        }
        lines << decode(bytes.sliced(pos, end - pos));
        pos = end;
        if (pos < size && bytes[pos] == '\r') {
            ++pos;
        }
        if (pos < size && bytes[pos] == '\n') {
            ++pos;
        }
    }
    return lines;
}

} // namespace ShiftJis
