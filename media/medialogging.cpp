// SPDX-License-Identifier: GPL-3.0-or-later
#include "medialogging.h"

Q_LOGGING_CATEGORY(lcAudio, "zubelo.audio")
