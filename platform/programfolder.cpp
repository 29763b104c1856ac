// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/programfolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef ZUBELO_DATA_FROM_BIN
#define ZUBELO_DATA_FROM_BIN "../share/zubelo"
#endif

namespace ProgramFolder {

Places ForExecutable(const QString &executable)
{
    Places places;
    places.executable = executable;
    const QString folder = QFileInfo(executable).absolutePath();
    places.installedData = QDir::cleanPath(folder + QStringLiteral("/" ZUBELO_DATA_FROM_BIN));
    places.perUser =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Zubelo");
    return places;
}

QString Choose(const Places &places)
{
    const QString folder = QFileInfo(places.executable).absolutePath();
    const bool installed = QFileInfo(places.installedData).isDir();
    // Installed data beside the executable marks an installed copy, even for root, who may write anywhere.
    if (!installed && QFileInfo(folder).isWritable()) {
        return folder;
    }
    if (places.perUser.isEmpty() || !QDir().mkpath(places.perUser) ||
        !QFileInfo(places.perUser).isWritable()) {
        qWarning("Zubelo cannot make its folder %s; settings stay as they are in %s",
                 qPrintable(places.perUser), qPrintable(installed ? places.installedData : folder));
        return installed ? places.installedData : folder;
    }
    // A copy on a read-only medium has its data beside the executable.
    if (installed) {
        Fill(places.installedData, places.perUser);
    } else {
        Fill(folder, places.perUser, QFileInfo(places.executable).fileName());
    }
    return places.perUser;
}

bool Fill(const QString &from, const QString &to, const QString &skip)
{
    bool complete = true;
    const QDir source(from);
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString relative = source.relativeFilePath(entry.filePath());
        if (relative == skip) {
            continue;
        }
        const QString target = to + u'/' + relative;
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) {
            continue; // whatever is there is the user's: never replaced
        }
        if (entry.isDir()) {
            complete = QDir().mkpath(target) && complete;
        } else if (QDir().mkpath(QFileInfo(target).path()) && QFile::copy(entry.filePath(), target)) {
            // Installed files are read-only; the user's copies are theirs to change.
            QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
        } else {
            qWarning("Zubelo cannot copy %s to %s", qPrintable(entry.filePath()), qPrintable(target));
            complete = false;
        }
    }
    return complete;
}

} // namespace ProgramFolder
