// SPDX-License-Identifier: GPL-3.0-or-later
// The warning categories of the platform, the media and the windows, one per area, so
// that a parent or a packager can silence or select them with QT_LOGGING_RULES
// ("zubelo.audio.warning=false"). Qt Core only, so that the media log without X11 or
// widgets; the settings have their own (settings/logging.h).
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcFolder)   // zubelo.folder: the user's program folder
Q_DECLARE_LOGGING_CATEGORY(lcInstance) // zubelo.instance: the one-copy lock
Q_DECLARE_LOGGING_CATEGORY(lcSignals)  // zubelo.signals: SIGTERM and SIGINT
Q_DECLARE_LOGGING_CATEGORY(lcKeyboard) // zubelo.keyboard: the keyboard lock
Q_DECLARE_LOGGING_CATEGORY(lcMixer)    // zubelo.mixer: the volume mixer
Q_DECLARE_LOGGING_CATEGORY(lcAudio)    // zubelo.audio: sound output, synthesizer, end notices
Q_DECLARE_LOGGING_CATEGORY(lcLyrics)   // zubelo.lyrics: lyrics files
Q_DECLARE_LOGGING_CATEGORY(lcPictures) // zubelo.pictures: the mouse pictures
