// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a file as a whole or not at all.
#pragma once

#include <QByteArray>
#include <QString>

// Puts a complete new file in place, or leaves what was there as it was. The
// bytes go to a new hidden file beside the target; Commit() brings them to the
// disk and only then renames that file to the target and brings the folder to
// the disk, so a full disk, a file-size limit, a crash or a power cut leaves
// either the old file or the whole new one. Every failure removes the hidden
// file and keeps the system's reason; so does a destructor before Commit().
class AtomicFile
{
public:
    enum class Existing { Replace, Keep }; // Keep: a target that is there already stays, and Commit() fails
    explicit AtomicFile(const QString &target, Existing existing = Existing::Replace);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    bool write(QByteArrayView bytes); // all of them, or false
    bool commit();
    QString errorString() const { return m_error; } // the system's reason for the first step that failed

    // The whole of bytes as the file at path (replacing it), or false with the reason in error.
    static bool writeWhole(const QString &path, QByteArrayView bytes, QString *error);
    // A whole copy of from at to, where no file may be yet, or false with the reason in error.
    static bool copyWhole(const QString &from, const QString &to, QString *error);
    // The whole of bytes as a new file in folder (made when missing), never replacing one: stem + suffix,
    // or else the first of stem-2 + suffix, stem-3 + suffix ... that is free. The path it took, or empty
    // with the reason in error.
    static QString writeNew(const QString &folder, const QString &stem, const QString &suffix,
                            QByteArrayView bytes, QString *error);

private:
    bool fail();
    void discard();
    bool placeFile();

    QByteArray m_target;
    QByteArray m_folder;
    QByteArray m_temporary; // empty once renamed or removed
    Existing m_existing;
    int m_fd = -1;
    QString m_error;
};
