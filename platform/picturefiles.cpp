// SPDX-License-Identifier: GPL-3.0-or-later
#include "picturefiles.h"

#include <QCollator>
#include <QDir>
#include <QDirIterator>
#include <algorithm>

void PictureFiles::setFolder(const QString &folder)
{
    m_folder = folder;
    m_names.clear();
    const QStringList filters = m_pattern.split(u';', Qt::SkipEmptyParts);
    // Hidden files (names starting with a dot) do not count.
    QDirIterator it(folder, filters, QDir::Files | QDir::Readable | QDir::NoDotAndDotDot);
    while (it.hasNext() && m_names.size() < MaxListed) {
        it.next();
        m_names << it.fileName();
    }
    // Wildcard filters on QDirIterator already ignore case. The list is in alphabetical order without
    // regard to letter case, so that the same draw picks the same picture on every file system.
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(m_names.begin(), m_names.end(), collator);
}
