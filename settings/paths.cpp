// SPDX-License-Identifier: GPL-3.0-or-later
#include "paths.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QStringList>
#include <utility>

namespace Paths {

namespace {

// Characters that code page 932 writes with the bytes of another character,
// and that character: a name typed with the first comes back from Option.dat
// with the second. Both spellings are common in Japanese file names, the first
// from Linux input methods, the second from files made on Windows.
constexpr std::pair<char16_t, char16_t> ReadBackTwins[] = {
    {u'\u00A2', u'\uFFE0'}, // ¢ → ￠
    {u'\u00A3', u'\uFFE1'}, // £ → ￡
    {u'\u00A5', u'\\'},     // ¥ → backslash
    {u'\u00AC', u'\uFFE2'}, // ¬ → ￢
    {u'\u2014', u'\u2015'}, // em dash → horizontal bar
    {u'\u2016', u'\u2225'}, // ‖ → ∥
    {u'\u203E', u'~'},      // overline → tilde
    {u'\u2212', u'\uFF0D'}, // − → －
    {u'\u301C', u'\uFF5E'}, // 〜 → ～
};

QString foldedName(QStringView name)
{
    QString folded = name.toString();
    for (QChar &c : folded) {
        for (const auto &[typed, readBack] : ReadBackTwins) {
            if (c == typed) {
                c = readBack;
            }
        }
    }
    return folded.toCaseFolded();
}

// The name in folder that is the same name as wanted, or an empty string.
QString matchIn(const QString &folder, QStringView wanted)
{
    const QString key = foldedName(wanted);
    QString found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        // Several names can match on a disk that counts case: the choice never depends on the listing order.
        if ((found.isEmpty() || name < found) && foldedName(name) == key) {
            found = name;
        }
    }
    return found;
}

} // namespace

bool isAbsolute(const QString &path)
{
    return path.startsWith(u'/') || (path.size() >= 2 && path[1] == u':');
}

QString join(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

QString folderOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash);
}

bool sameName(QStringView a, QStringView b)
{
    return foldedName(a) == foldedName(b);
}

QString locate(const QString &path)
{
    if (!path.startsWith(u'/') || QFileInfo::exists(path)) {
        return path;
    }
    const QStringList parts = path.split(u'/');
    QString found; // the parts found so far, without a trailing separator
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString &part = parts[i];
        const QString next = found + u'/' + part;
        if (part.isEmpty() || part == u"." || part == u".." || QFileInfo::exists(next)) {
            found = next;
            continue;
        }
        const QString match = matchIn(found.isEmpty() ? QStringLiteral("/") : found, part);
        if (match.isEmpty()) {
            return path;
        }
        found += u'/' + match;
    }
    return found;
}

} // namespace Paths
