// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/programfolder.h"

#include "platform/logging.h"

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
    if (places.perUser.isEmpty() || !QDir().mkpath(places.perUser)
        || !QFileInfo(places.perUser).isWritable()) {
        qCWarning(lcFolder, "Zubelo cannot make its folder %s; settings stay as they are in %s",
                  qPrintable(places.perUser), qPrintable(installed ? places.installedData : folder));
        return installed ? places.installedData : folder;
    }
    // A folder that has its settings is the parent's: a starter song or picture they
    // removed stays removed. Without Option.dat (the first start, or a parent who
    // starts over) it gets whatever it lacks.
    if (QFileInfo::exists(places.perUser + QStringLiteral("/Option.dat"))) {
        return places.perUser;
    }
    // A copy on a read-only medium has its data beside the executable. Option.dat
    // comes last, so a start cut short fills in the rest next time.
    const QString source = installed ? places.installedData : folder;
    const QString settings = QStringLiteral("Option.dat");
    Fill(source, places.perUser, {settings, QFileInfo(places.executable).fileName()});
    if (QFileInfo::exists(source + u'/' + settings)) {
        QFile::copy(source + u'/' + settings, places.perUser + u'/' + settings);
        QFile::setPermissions(places.perUser + u'/' + settings,
                              QFile::permissions(places.perUser + u'/' + settings) | QFile::WriteOwner);
    }
    return places.perUser;
}

bool Fill(const QString &from, const QString &to, const QStringList &skip)
{
    bool complete = true;
    const QDir source(from);
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString relative = source.relativeFilePath(entry.filePath());
        if (skip.contains(relative)) {
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
            qCWarning(lcFolder, "Zubelo cannot copy %s to %s", qPrintable(entry.filePath()),
                      qPrintable(target));
            complete = false;
        }
    }
    return complete;
}

} // namespace ProgramFolder
