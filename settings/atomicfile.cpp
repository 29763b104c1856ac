// SPDX-License-Identifier: GPL-3.0-or-later
#include "atomicfile.h"

#include "paths.h"
#include "settingslogging.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int NameTries = 100;   // hidden names taken by others before giving up
constexpr int MaxNumbered = 999; // stem-999: more takes of one name than anyone keeps

// A write past the file-size limit (RLIMIT_FSIZE) raises SIGXFSZ, whose default
// action ends the program. Held back while writing, it is dropped, and the
// write fails with EFBIG like any other full disk.
class FileSizeSignalHeld
{
public:
    FileSizeSignalHeld()
    {
        sigemptyset(&m_set);
        sigaddset(&m_set, SIGXFSZ);
        m_held = pthread_sigmask(SIG_BLOCK, &m_set, &m_old) == 0 && !sigismember(&m_old, SIGXFSZ);
    }
    ~FileSizeSignalHeld()
    {
        if (!m_held) {
            return; // held back by someone else: theirs to take
        }
        const timespec now{0, 0};
        while (sigtimedwait(&m_set, nullptr, &now) == SIGXFSZ) {
        }
        pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
    }
    FileSizeSignalHeld(const FileSizeSignalHeld &) = delete;
    FileSizeSignalHeld &operator=(const FileSizeSignalHeld &) = delete;

private:
    sigset_t m_set;
    sigset_t m_old;
    bool m_held = false;
};

int syncRetrying(int fd)
{
    int result;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    return result;
}

} // namespace

AtomicFile::AtomicFile(const QString &target, Existing existing) : m_existing(existing)
{
    QFileInfo info(target);
    // A settings file that is a link to another place is replaced there, and stays a link.
    if (existing == Existing::Replace && info.isSymLink() && !info.canonicalFilePath().isEmpty()) {
        info.setFile(info.canonicalFilePath());
    }
    m_target = QFile::encodeName(info.filePath());
    m_folder = QFile::encodeName(info.path());
    // A file made read-only (a parent's way to keep it as it is) is not replaced either.
    if (existing == Existing::Replace && ::access(m_target.constData(), W_OK) != 0 && errno != ENOENT) {
        m_error = qt_error_string(errno);
        return;
    }
    const QByteArray hidden = m_folder + "/." + QFile::encodeName(info.fileName());
    for (int tries = 0; m_fd < 0 && tries < NameTries; ++tries) {
        m_temporary = hidden + '-' + QByteArray::number(QRandomGenerator::global()->generate(), 16);
        m_fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (m_fd < 0) {
        m_error = qt_error_string(errno);
        m_temporary.clear();
        return;
    }
    // A replaced file keeps its permissions; a new one gets the user's usual ones (umask).
    struct stat old;
    if (existing == Existing::Replace && ::stat(m_target.constData(), &old) == 0 && S_ISREG(old.st_mode)
        && ::fchmod(m_fd, old.st_mode & 07777) != 0) {
        fail();
    }
}

AtomicFile::~AtomicFile()
{
    discard();
}

bool AtomicFile::write(QByteArrayView bytes)
{
    if (m_fd < 0) {
        return false;
    }
    const FileSizeSignalHeld held;
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(left));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = ENOSPC; // a file that takes nothing more is as good as full
            }
            return fail();
        }
        // A full disk or the size limit may take part of it; the next write says why it takes no more.
        data += written;
        left -= written;
    }
    return true;
}

bool AtomicFile::commit()
{
    if (m_fd < 0) {
        return false;
    }
    // The new bytes are on the disk before they replace anything.
    if (syncRetrying(m_fd) != 0) {
        return fail();
    }
    const int fd = m_fd;
    m_fd = -1;
    // Linux has let go of the descriptor even when close() is interrupted.
    if ((::close(fd) != 0 && errno != EINTR) || !placeFile()) {
        return fail();
    }
    m_temporary.clear();
    // The rename reaches the disk with its folder. The new file is in place by now, so a folder that
    // cannot be brought to the disk (a few file systems refuse) is only told on stderr.
    const int folderFd = ::open(m_folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0 || syncRetrying(folderFd) != 0) {
        qCWarning(lcSettings, "Zubelo wrote %s but could not bring its folder to the disk: %s",
                  m_target.constData(), qPrintable(qt_error_string(errno)));
    }
    if (folderFd >= 0) {
        ::close(folderFd);
    }
    return true;
}

bool AtomicFile::placeFile()
{
    if (m_existing == Existing::Replace) {
        return ::rename(m_temporary.constData(), m_target.constData()) == 0;
    }
    if (::renameat2(AT_FDCWD, m_temporary.constData(), AT_FDCWD, m_target.constData(), RENAME_NOREPLACE)
        == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // A file system without the kept-target rename: looked at just before instead.
    struct stat there;
    if (::lstat(m_target.constData(), &there) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(m_temporary.constData(), m_target.constData()) == 0;
}

bool AtomicFile::fail()
{
    if (m_error.isEmpty()) {
        m_error = qt_error_string(errno);
    }
    discard();
    return false;
}

void AtomicFile::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        ::unlink(m_temporary.constData());
        m_temporary.clear();
    }
}

bool AtomicFile::writeWhole(const QString &path, QByteArrayView bytes, QString *error)
{
    AtomicFile file(path);
    if (file.write(bytes) && file.commit()) {
        return true;
    }
    *error = file.errorString();
    return false;
}

bool AtomicFile::copyWhole(const QString &from, const QString &to, QString *error)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = source.errorString();
        return false;
    }
    AtomicFile copy(to, Existing::Keep);
    QByteArray block(64 << 10, Qt::Uninitialized);
    for (;;) {
        const qint64 got = source.read(block.data(), block.size());
        if (got < 0) {
            *error = source.errorString();
            return false;
        }
        if (got == 0) {
            break;
        }
        if (!copy.write(QByteArrayView(block.data(), got))) {
            break;
        }
    }
    if (copy.commit()) {
        return true;
    }
    *error = copy.errorString();
    return false;
}

QString AtomicFile::writeNew(const QString &folder, const QString &stem, const QString &suffix,
                             QByteArrayView bytes, QString *error)
{
    if (::mkdir(QFile::encodeName(folder).constData(), 0777) != 0 && errno != EEXIST) {
        *error = qt_error_string(errno);
        return QString();
    }
    for (int number = 1; number <= MaxNumbered; ++number) {
        const QString path =
            Paths::join(folder, stem + (number == 1 ? QString() : u'-' + QString::number(number)) + suffix);
        struct stat there;
        if (::lstat(QFile::encodeName(path).constData(), &there) == 0) {
            continue; // somebody's file, perhaps a key's song: never replaced
        }
        AtomicFile file(path, Existing::Keep);
        if (file.write(bytes) && file.commit()) {
            return path;
        }
        *error = file.errorString();
        return QString();
    }
    *error = qt_error_string(EEXIST);
    return QString();
}
