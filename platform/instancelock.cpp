// SPDX-License-Identifier: GPL-3.0-or-later
#include "instancelock.h"

#include "platformlogging.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

InstanceLock::InstanceLock(const QString &programFolder) : m_lock(lockPathFor(programFolder))
{
    // A lock left by a copy that crashed is stale and taken over by QLockFile.
    m_held = m_lock.tryLock(0);
    if (!m_held && m_lock.error() != QLockFile::LockFailedError) {
        // No place to keep the lock: better two copies than none at all.
        qCWarning(lcInstance, "Zubelo cannot check for another running copy (lock error %d)",
                  int(m_lock.error()));
        m_held = true;
    }
}

QString InstanceLock::lockPathFor(const QString &programFolder)
{
    // Kept outside the program folder, which a parent may have made read-only.
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QFileInfo(dir).isWritable()) {
        dir = QDir::tempPath();
    }
    const QByteArray key =
        QCryptographicHash::hash(QDir(programFolder).absolutePath().toUtf8(), QCryptographicHash::Sha1)
            .toHex();
    return dir + QStringLiteral("/zubelo-") + QString::fromLatin1(key.left(16)) + QStringLiteral(".lock");
}
