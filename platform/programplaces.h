// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program keeps its settings and everything it reads beside them.
// A folder of its own (the build tree, a copied folder) is used as it is; an
// installed copy cannot write beside its executable, so each user gets a folder
// of their own, filled from the installed data.
#pragma once

#include <QString>
#include <QStringList>

namespace ProgramPlaces {

struct Places
{
    QString executable;    // the program's own file
    QString installedData; // read-only data of an installed copy (the help page, click songs, first settings)
    QString perUser;       // the user's own folder, for an installed copy
};

// The places of the running program: the installed data relative to the
// executable (so an unpacked package works too), and $XDG_DATA_HOME/Zubelo
// (by default ~/.local/share/Zubelo) for the user.
Places forExecutable(const QString &executable);

// The executable's folder when it can be written and is no installed copy;
// otherwise the per-user folder, made and, while it has no Option.dat, filled
// with whatever it lacks. When the per-user folder cannot be made, the installed
// data (or the executable's folder) as it is, with the reason on stderr.
QString choose(const Places &places);

// Copies into the folder to every file and folder of from that it lacks, to any
// depth; nothing that is there already is ever replaced. Files named in skip are
// left out. Each file is copied whole or not at all. False when something could
// not be copied.
bool fill(const QString &from, const QString &to, const QStringList &skip = {});

} // namespace ProgramPlaces
