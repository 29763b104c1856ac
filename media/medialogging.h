// SPDX-License-Identifier: GPL-3.0-or-later
// The media's warning category, selectable with QT_LOGGING_RULES ("zubelo.audio.warning=false").
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcAudio) // zubelo.audio: sound output, synthesizer, end notices, recording
