// SPDX-License-Identifier: GPL-3.0-or-later
// The machine's drives: its mounted volumes, the root volume first.
#pragma once

#include <QComboBox>

class DriveListBox : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveListBox(QWidget *parent = nullptr);

    // The root folder of the selected drive.
    QString drive() const;
    // Selects the drive that holds path; false when no listed drive does.
    bool setDriveOf(const QString &path);
    // The root folder of the drive that holds path ("/" when no other does).
    static QString driveOf(const QString &path);

signals:
    void driveChanged();
};
