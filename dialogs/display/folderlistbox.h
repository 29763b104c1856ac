// SPDX-License-Identifier: GPL-3.0-or-later
// A folder list: the open folder with the folders above it, and the folders
// inside it. A double click opens a folder.
#pragma once

#include <QListWidget>

class FolderListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit FolderListBox(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Opens folder; false (and nothing changes) when it cannot be read.
    bool setPath(const QString &folder);

    // Folders inside the open one are listed up to this many, so a huge folder cannot stall the dialog.
    static constexpr int MaxListed = 5000;

private:
    QString m_path;
};
