// SPDX-License-Identifier: GPL-3.0-or-later
// A recorded voice made ready for a key: the silence before and after it cut
// off, and its loudest sound brought to a level every recording shares.
#pragma once

#include <vector>

namespace VoiceShaping {

// Quieter than this (-40 dBFS) is silence: a room's hum, a muted microphone.
constexpr float SilenceLevel = 0.01f;
// Kept before the first sound and after the last, so that a soft start ("s", "h")
// and a word's fading end stay whole.
constexpr double LeadSeconds = 0.1;
constexpr double TailSeconds = 0.2;
// The loudest sample after levelling: -1 dBFS, loud but never clipped.
constexpr float Peak = 0.891f;

// Mono samples at rate, trimmed and levelled; empty when there is nothing but silence.
std::vector<float> shaped(const std::vector<float> &samples, int rate);

} // namespace VoiceShaping
