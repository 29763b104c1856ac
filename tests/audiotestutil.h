// SPDX-License-Identifier: GPL-3.0-or-later
// Sound for tests: WAVE files made on the spot, and what a rendering sounds like.
#pragma once

#include <QString>
#include <vector>

namespace AudioTest {

// A sine tone; format is a libsndfile format (e.g. SF_FORMAT_WAV | SF_FORMAT_PCM_16).
bool writeTone(const QString &path, int rate, int channels, int format, double frequency, double seconds,
               double amplitude = 0.5);
// Exactly these interleaved samples.
bool writeSamples(const QString &path, int rate, int channels, int format, const std::vector<float> &samples);

// Mono: silence, a tone clipped at full scale, silence (all in seconds).
std::vector<float> toneBetweenSilences(int rate, double before, double tone, double after, double amplitude,
                                       double frequency = 440);

// Strength of one frequency in a mono signal (Goertzel), as an amplitude 0..1.
double toneLevel(const std::vector<float> &mono, int rate, double frequency);
// The pitch of a recorded tone, in 1 Hz steps between low and high: the median of the strongest
// frequency in five 0.1 s windows from just after the sound starts, so that one dropped piece of
// a recording cannot move it.
double pitchOfTone(const std::vector<float> &mono, int rate, double low, double high);
double peak(const std::vector<float> &samples);

} // namespace AudioTest
