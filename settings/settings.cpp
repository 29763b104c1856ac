// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings.h"

#include "atomicfile.h"
#include "settingslogging.h"
#include "shiftjis.h"

#include <QFile>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace Settings {

namespace {

constexpr int PlayWaitLine = SlotCount; // right after the song lines
constexpr int PlayRepeatLine = PlayWaitLine + 1;
constexpr int ImageFolderLine = PlayWaitLine + 2;
constexpr int InputFontSizeLine = PlayWaitLine + 3;
constexpr int LyricsFontSizeLine = PlayWaitLine + 4;
static_assert(LyricsFontSizeLine + 1 == LineCount);

void storeLine(Record &record, int lineIndex, const QString &line)
{
    if (lineIndex < SlotCount) {
        record.songFile[size_t(lineIndex)] = line;
        return;
    }
    switch (lineIndex) {
    case PlayWaitLine: record.playWait = flagFromText(line); break;
    case PlayRepeatLine: record.playRepeat = flagFromText(line); break;
    case ImageFolderLine: record.pictureFolder = line; break;
    case InputFontSizeLine: record.inputFontSize = roundToInt16(numberFromText(line)); break;
    case LyricsFontSizeLine: record.lyricsFontSize = roundToInt16(numberFromText(line)); break;
    default: break; // lines after the last field are ignored
    }
}

} // namespace

bool Record::operator==(const Record &other) const
{
    return songFile == other.songFile && playWait == other.playWait && playRepeat == other.playRepeat
           && pictureFolder == other.pictureFolder && inputFontSize == other.inputFontSize
           && lyricsFontSize == other.lyricsFontSize;
}

void parse(QByteArrayView fileBytes, Record &record)
{
    record.songFile.fill(QString());
    record.playWait = false;
    record.playRepeat = false;

    // Lines after the last field are ignored; a file saved by a Unix editor reads alike.
    const QStringList lines = ShiftJis::readLines(fileBytes, LineCount);
    for (int lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
        storeLine(record, lineIndex, lines[lineIndex]);
    }
}

void load(const QString &path, Record &record)
{
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) {
        bytes = file.read(MaxFileBytes);
    } else {
        qCWarning(lcSettings, "Zubelo starts without settings: %s: %s", qPrintable(path),
                  qPrintable(file.errorString()));
    }
    parse(bytes, record);
}

bool canStore(const QString &text)
{
    return !text.contains(u'\r') && !text.contains(u'\n') && ShiftJis::canEncode(text);
}

SaveResult format(const Record &record, QByteArray &fileBytes)
{
    fileBytes.clear();
    auto appendLine = [&fileBytes](const QString &line) {
        const std::optional<QByteArray> bytes = canStore(line) ? ShiftJis::encode(line) : std::nullopt;
        if (!bytes) {
            return false;
        }
        fileBytes += *bytes;
        fileBytes += "\r\n";
        return true;
    };
    auto flagText = [](bool flag) { return flag ? QStringLiteral("True") : QStringLiteral("False"); };
    for (const QString &song : record.songFile) {
        if (!appendLine(song)) {
            return {SaveResult::CannotHold, song};
        }
    }
    appendLine(flagText(record.playWait));
    appendLine(flagText(record.playRepeat));
    if (!appendLine(record.pictureFolder)) {
        return {SaveResult::CannotHold, record.pictureFolder};
    }
    appendLine(numberForm(record.inputFontSize) + u' ');
    appendLine(numberForm(record.lyricsFontSize) + u' ');
    return {};
}

SaveResult save(const QString &path, const Record &record)
{
    QByteArray bytes;
    if (SaveResult formatted = format(record, bytes); !formatted) {
        return formatted;
    }
    // A full disk, a size limit or a kill never leaves half a settings file: the old one stays whole
    // until the new one is complete and on the disk.
    QString reason;
    if (!AtomicFile::writeWhole(path, bytes, &reason)) {
        qCWarning(lcSettings, "Zubelo could not save %s: %s", qPrintable(path), qPrintable(reason));
        return {SaveResult::WriteFailed, reason};
    }
    return {};
}

double numberFromText(QStringView text)
{
    // Blanks, tabs and line feeds are skipped wherever they stand; then a
    // decimal number with an optional exponent (E or D) is read as far as it goes.
    // The number is kept as 0.<significant> × 10^(scale + exponent), so a line
    // of any length, or an exponent of any length, reads as the value it names.
    constexpr size_t KeptDigits = 800;                   // more than any double needs to round right
    constexpr long long ExponentCap = 1'000'000'000'000; // far past any double, far from overflow
    bool negative = false;
    bool anyDigit = false;
    bool point = false;
    std::string significant;
    bool droppedNonZero = false;
    long long scale = 0;
    bool exponentNegative = false;
    long long exponent = 0;
    enum { Sign, Mantissa, ExponentSign, Exponent } state = Sign;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u' ' || u == u'\t' || u == u'\n') {
            continue;
        }
        const bool isDigit = u >= u'0' && u <= u'9';
        if (state == Sign && (u == u'+' || u == u'-')) {
            negative = u == u'-';
            state = Mantissa;
        } else if ((state == Sign || state == Mantissa) && isDigit) {
            anyDigit = true;
            state = Mantissa;
            if (significant.empty() && u == u'0') {
                scale -= point ? 1 : 0; // a leading zero only moves the point
                continue;
            }
            scale += point ? 0 : 1;
            if (significant.size() < KeptDigits) {
                significant += char(u);
            } else if (u != u'0') {
                droppedNonZero = true;
            }
        } else if ((state == Sign || state == Mantissa) && u == u'.' && !point) {
            point = true;
            state = Mantissa;
        } else if (state == Mantissa && anyDigit && (u == u'E' || u == u'e' || u == u'D' || u == u'd')) {
            state = ExponentSign;
        } else if (state == ExponentSign && (u == u'+' || u == u'-')) {
            exponentNegative = u == u'-';
            state = Exponent;
        } else if ((state == ExponentSign || state == Exponent) && isDigit) {
            exponent = std::min(exponent * 10 + (u - u'0'), ExponentCap);
            state = Exponent;
        } else {
            break;
        }
    }
    const double zero = negative ? -0.0 : 0.0;
    if (!anyDigit || significant.empty()) {
        return zero;
    }
    if (droppedNonZero) {
        significant += '1'; // digits past the kept ones still decide a tie
    }
    const long long power = scale + (exponentNegative ? -exponent : exponent);
    const double huge = negative ? -HUGE_VAL : HUGE_VAL;
    if (power > std::numeric_limits<double>::max_exponent10 + 1) {
        return huge;
    }
    if (power < std::numeric_limits<double>::min_exponent10 - std::numeric_limits<double>::max_digits10 - 1) {
        return zero;
    }
    const std::string number = "0." + significant + 'e' + std::to_string(power);
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    Q_UNUSED(end);
    if (error == std::errc::result_out_of_range) {
        return power > 0 ? huge : zero;
    }
    return negative ? -value : value;
}

bool flagFromText(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.compare(u"True", Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (trimmed.compare(u"False", Qt::CaseInsensitive) == 0) {
        return false;
    }
    // A number counts as a flag (0 is false); any other text is taken as false.
    bool isNumber = false;
    const double value = trimmed.toString().toDouble(&isNumber);
    return isNumber && value != 0.0;
}

qint16 roundToInt16(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    // Half goes to the even neighbour; values past the 16-bit range stop at its ends.
    const double rounded = std::nearbyint(value);
    return qint16(std::clamp(rounded, double(std::numeric_limits<qint16>::min()),
                             double(std::numeric_limits<qint16>::max())));
}

QString numberForm(int value)
{
    return value < 0 ? QString::number(value) : u' ' + QString::number(value);
}

} // namespace Settings
