// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// An invisible file list: the names of the ordinary files of one folder that
// match a pattern such as "*.bmp;*jpg;*.gif", without regard to letter case.
// The list is a snapshot taken when the folder is set.
class FileListBox
{
public:
    explicit FileListBox(const QString &pattern) : m_pattern(pattern) {}

    void SetPath(const QString &folder);
    QString Path() const { return m_path; }
    int ListCount() const { return int(m_names.size()); }
    QString List(int index) const { return m_names.value(index); }

    // Names are read only up to this many, so a huge folder cannot stall the window.
    static constexpr int MaxListed = 32767;

private:
    QString m_pattern;
    QString m_path;
    QStringList m_names;
};
