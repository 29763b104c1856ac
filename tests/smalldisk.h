// SPDX-License-Identifier: GPL-3.0-or-later
// Real file-system faults for tests: a small tmpfs of a test's own to fill or make read-only, and a limit
// on the size of the files the test writes.
#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

// Mounting one takes root, or the root of a user namespace (scripts/in-own-mounts.sh). 0 KiB: a plain
// folder, no disk of its own.
#define SMALL_DISK_OR_SKIP(disk, kibibytes)                                                                  \
    if ((kibibytes) && ::geteuid() != 0) {                                                                   \
        QSKIP("mounting a small tmpfs needs root or a user namespace (scripts/in-own-mounts.sh)");           \
    }                                                                                                        \
    SmallDisk disk(kibibytes);                                                                               \
    QVERIFY2(disk.mounted, strerror(errno))

struct SmallDisk
{
    QTemporaryDir dir; // outlives the mount
    bool mounted = false;

    explicit SmallDisk(int kibibytes)
    {
        // In a mount namespace of the test's own, the mount goes with the process even when a test crashes.
        static const bool own =
            ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        const QByteArray size = "size=" + QByteArray::number(kibibytes) + 'k';
        mounted =
            !kibibytes
            || (own && ::mount("tmpfs", QFile::encodeName(dir.path()), "tmpfs", 0, size.constData()) == 0);
    }
    ~SmallDisk() { ::umount2(QFile::encodeName(dir.path()), MNT_DETACH); } // a plain folder stays as it is
    QString path(const QString &name) const { return dir.filePath(name); }

    // Fills the disk up to all but room bytes (whole pages).
    void fill(off_t room)
    {
        const int fd = ::open(QFile::encodeName(path(QStringLiteral("filler"))), O_WRONLY | O_CREAT, 0600);
        const QByteArray page(4096, 'f');
        off_t size = 0;
        for (ssize_t n = 0; (n = ::write(fd, page.data(), size_t(page.size()))) > 0;) {
            size += n;
        }
        QVERIFY(errno == ENOSPC && ::ftruncate(fd, size - room) == 0 && ::close(fd) == 0);
    }
    bool makeReadOnly() const
    {
        return ::mount(nullptr, QFile::encodeName(dir.path()), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
};

// What f returns, run while no file this process writes may grow past bytes (0: no limit of its own).
template <typename F> auto underFileSizeLimit(rlim_t bytes, F f)
{
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const rlimit limit{bytes ? bytes : old.rlim_cur, old.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const auto result = f();
    ::setrlimit(RLIMIT_FSIZE, &old);
    return result;
}
