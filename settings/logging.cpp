// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/logging.h"

Q_LOGGING_CATEGORY(lcSettings, "zubelo.settings")
