// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLockFile>
#include <QString>

// Tells whether another copy of the program from the same program folder was
// already running when this one started. Copies in different folders do not
// see each other.
class InstanceLock
{
public:
    explicit InstanceLock(const QString &programFolder);

    bool anotherInstanceRunning() const { return !m_held; }

private:
    static QString lockPathFor(const QString &programFolder);

    QLockFile m_lock;
    bool m_held = false;
};
