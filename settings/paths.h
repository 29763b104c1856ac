// SPDX-License-Identifier: GPL-3.0-or-later
// Paths as the settings store them, and finding a stored name on the disk when it
// is not spelled there exactly as stored: names written on Windows ignore letter
// case, and a few characters come back from Option.dat as their Shift-JIS twin
// ("〜" as "～", "¥" as "\").
#pragma once

#include <QString>

namespace Paths {

// Starts with "/", or is a Windows path from an old Option.dat ("C:\..."), which is kept as written.
bool isAbsolute(const QString &path);
// The name in the folder, with one separator between them (the root folder "/" too).
QString join(const QString &folder, const QString &name);
// Everything before the last "/": empty for a bare name.
QString folderOf(const QString &path);

// True when two file names are one name to the settings file and to the old
// platform: equal but for letter case and the characters that Shift-JIS
// reads back as another ("〜" and "～", "−" and "－", "¥" and "\" ...).
bool sameName(QStringView a, QStringView b);

// The absolute path as the disk spells it. A path that exists is returned as
// it is, without looking further; otherwise each part that does not exist is
// matched by SameName in its folder (the first such name in code point
// order). A path that still cannot be found, or one that is not absolute, is
// returned unchanged.
QString locate(const QString &path);

} // namespace Paths
