// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/drivelistbox.h"

#include <QDir>
#include <QStorageInfo>
#include <algorithm>

namespace {

QStringList driveRoots()
{
    QStringList roots;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath())) {
            roots << volume.rootPath();
        }
    }
    if (!roots.contains(QStringLiteral("/"))) {
        roots << QStringLiteral("/");
    }
    std::sort(roots.begin(), roots.end()); // "/" sorts first
    return roots;
}

bool isInside(const QString &path, const QString &root)
{
    return root == u'/' || path == root || path.startsWith(root + u'/');
}

} // namespace

DriveListBox::DriveListBox(QWidget *parent) : QComboBox(parent)
{
    for (const QString &root : driveRoots()) {
        addItem(root, root);
    }
    connect(this, &QComboBox::currentIndexChanged, this, &DriveListBox::driveChanged);
}

QString DriveListBox::drive() const
{
    return currentData().toString();
}

QString DriveListBox::driveOf(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    QString best = QStringLiteral("/");
    for (const QString &root : driveRoots()) {
        if (isInside(clean, root) && root.size() > best.size()) {
            best = root;
        }
    }
    return best;
}

bool DriveListBox::setDriveOf(const QString &path)
{
    const int index = findData(driveOf(path));
    if (index < 0) {
        return false;
    }
    setCurrentIndex(index);
    return true;
}
