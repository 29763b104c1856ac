// SPDX-License-Identifier: GPL-3.0-or-later
#include "applogging.h"

Q_LOGGING_CATEGORY(lcLyrics, "zubelo.lyrics")
Q_LOGGING_CATEGORY(lcPictures, "zubelo.pictures")
