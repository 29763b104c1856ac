// SPDX-License-Identifier: GPL-3.0-or-later
// Puts an environment variable back as it was when the scope ends, after a failed check too.
#pragma once

#include <QByteArray>
#include <QtGlobal>

class EnvGuard
{
public:
    EnvGuard(const char *name, const QByteArray &value)
        : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~EnvGuard() { m_wasSet ? qputenv(m_name, m_old) : qunsetenv(m_name); }
    EnvGuard(const EnvGuard &) = delete;
    EnvGuard &operator=(const EnvGuard &) = delete;

private:
    const char *m_name;
    bool m_wasSet;
    QByteArray m_old;
};
