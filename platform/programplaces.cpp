// SPDX-License-Identifier: GPL-3.0-or-later
#include "programplaces.h"

#include "atomicfile.h"
#include "platformlogging.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef ZUBELO_DATA_FROM_BIN
#define ZUBELO_DATA_FROM_BIN "../share/zubelo"
#endif

namespace ProgramPlaces {

namespace {

// Copied under a hidden name and renamed once whole and on the disk: a full disk or a
// start cut short never leaves half a file where a whole one is expected. The copy is
// made with the user's usual permissions, so it is theirs to change even when the
// installed file is read-only.
bool copyWhole(const QString &from, const QString &to)
{
    QString reason;
    if (!QDir().mkpath(QFileInfo(to).path())) {
        reason = QStringLiteral("its folder cannot be made");
    } else if (AtomicFile::copyWhole(from, to, &reason)) {
        return true;
    }
    qCWarning(lcFolder, "Zubelo cannot copy %s to %s: %s", qPrintable(from), qPrintable(to),
              qPrintable(reason));
    return false;
}

} // namespace

Places forExecutable(const QString &executable)
{
    Places places;
    places.executable = executable;
    const QString folder = QFileInfo(executable).absolutePath();
    places.installedData = QDir::cleanPath(folder + QStringLiteral("/" ZUBELO_DATA_FROM_BIN));
    places.perUser =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Zubelo");
    return places;
}

QString choose(const Places &places)
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
    fill(source, places.perUser, {settings, QFileInfo(places.executable).fileName()});
    if (QFileInfo::exists(source + u'/' + settings)) {
        copyWhole(source + u'/' + settings, places.perUser + u'/' + settings);
    }
    return places.perUser;
}

bool fill(const QString &from, const QString &to, const QStringList &skip)
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
        } else {
            complete = copyWhole(entry.filePath(), target) && complete;
        }
    }
    return complete;
}

} // namespace ProgramPlaces
