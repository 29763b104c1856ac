// SPDX-License-Identifier: GPL-3.0-or-later
// The platform's warning categories, one per area, so that a parent or a packager can silence or
// select them with QT_LOGGING_RULES ("zubelo.mixer.warning=false").
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcFolder)   // zubelo.folder: the user's program folder
Q_DECLARE_LOGGING_CATEGORY(lcInstance) // zubelo.instance: the one-copy lock
Q_DECLARE_LOGGING_CATEGORY(lcSignals)  // zubelo.signals: SIGTERM and SIGINT
Q_DECLARE_LOGGING_CATEGORY(lcKeyboard) // zubelo.keyboard: the keyboard lock and the lock keys
Q_DECLARE_LOGGING_CATEGORY(lcMixer)    // zubelo.mixer: the volume mixer
