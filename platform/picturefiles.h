// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The pictures a click can show: the names of the ordinary files of one folder
// that match a pattern such as "*.bmp;*jpg;*.gif", without regard to letter case.
// The list is a snapshot taken when the folder is set.
class PictureFiles
{
public:
    explicit PictureFiles(const QString &pattern) : m_pattern(pattern) {}

    void setFolder(const QString &folder);
    QString folder() const { return m_folder; }
    int count() const { return int(m_names.size()); }
    QString name(int index) const { return m_names.value(index); }

    // Names are read only up to this many, so a huge folder cannot stall the window.
    static constexpr int MaxListed = 32767;

private:
    QString m_pattern;
    QString m_folder;
    QStringList m_names;
};
