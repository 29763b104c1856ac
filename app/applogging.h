// SPDX-License-Identifier: GPL-3.0-or-later
// The play window's warning categories, selectable with QT_LOGGING_RULES ("zubelo.lyrics.warning=false").
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLyrics)   // zubelo.lyrics: lyrics files
Q_DECLARE_LOGGING_CATEGORY(lcPictures) // zubelo.pictures: the mouse pictures
