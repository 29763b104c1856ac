// SPDX-License-Identifier: GPL-3.0-or-later
#include "platformlogging.h"

Q_LOGGING_CATEGORY(lcFolder, "zubelo.folder")
Q_LOGGING_CATEGORY(lcInstance, "zubelo.instance")
Q_LOGGING_CATEGORY(lcSignals, "zubelo.signals")
Q_LOGGING_CATEGORY(lcKeyboard, "zubelo.keyboard")
Q_LOGGING_CATEGORY(lcMixer, "zubelo.mixer")
