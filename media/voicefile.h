// SPDX-License-Identifier: GPL-3.0-or-later
// A recording as the bytes of a WAVE file, made in memory, so that it can be
// written to the disk whole or not at all.
#pragma once

#include <QByteArray>
#include <vector>

namespace VoiceFile {

// 16-bit PCM, mono, at rate; samples from -1 to 1. Empty when libsndfile fails.
QByteArray encodeWave(const std::vector<float> &samples, int rate);

} // namespace VoiceFile
