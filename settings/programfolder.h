// SPDX-License-Identifier: GPL-3.0-or-later
// The program folder: where Option.dat, the help page and the click songs lie, and
// what a relative name in the settings is relative to. Every path is resolved against
// it explicitly; nothing depends on the process's current folder.
#pragma once

#include <QString>

class ProgramFolder
{
public:
    ProgramFolder() = default;
    explicit ProgramFolder(const QString &path) : m_path(path) {}

    QString path() const { return m_path; }
    // A stored name as a path: absolute names as written, others in the program folder.
    QString resolve(const QString &stored) const;
    QString optionFile() const { return resolve(QStringLiteral("Option.dat")); }

private:
    QString m_path;
};
