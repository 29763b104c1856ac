// SPDX-License-Identifier: GPL-3.0-or-later
#include "programfolder.h"

#include "paths.h"

QString ProgramFolder::resolve(const QString &stored) const
{
    return Paths::isAbsolute(stored) ? stored : Paths::join(m_path, stored);
}
