// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ansicodec.h"

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
        qWarning("iconv cannot convert from %s to %s", from, to);
        return nullptr;
    }
    return IconvHandle(cd);
}

bool isEscape(QChar c)
{
    return c.unicode() >= EscapeBase + 0x80 && c.unicode() <= EscapeBase + 0xFF;
}

} // namespace

namespace AnsiCodec {

QString Decode(QByteArrayView bytes)
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
        const auto byte = static_cast<unsigned char>(*in);
        text += QChar(char16_t(byte < 0x80 ? byte : EscapeBase + byte));
        ++in;
        --inLeft;
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return text;
}

std::optional<QByteArray> Encode(QStringView text)
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

} // namespace AnsiCodec
