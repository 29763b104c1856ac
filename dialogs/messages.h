// SPDX-License-Identifier: GPL-3.0-or-later
// What the windows tell a parent when something cannot be done.
#pragma once

#include "settings.h"
#include "speakervolume.h"

#include <QString>

class QWidget;

namespace DialogMessages {

// A warning box with the program's title, as every message of the program.
void warn(QWidget *parent, const QString &text);

// Saving the settings file failed: what went wrong, and that nothing on disk was lost.
void saveFailed(QWidget *parent, const QString &file, const Settings::SaveResult &result);

// A name that the settings file cannot hold (a character outside Shift-JIS, a line break).
QString cannotHoldText(const QString &name);

// The volume mixer cannot be used: its number and what it means ("[6] 利用可能な…"). Nothing for success.
QString mixerErrorText(SpeakerVolume::Error error);
void mixerError(QWidget *parent, SpeakerVolume::Error error);

} // namespace DialogMessages
