// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingslogging.h"

Q_LOGGING_CATEGORY(lcSettings, "zubelo.settings")
