// SPDX-License-Identifier: GPL-3.0-or-later
#include "audiotestutil.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <sndfile.h>

namespace AudioTest {

bool WriteSamples(const QString &path, int rate, int channels, int format, const std::vector<float> &samples)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file) {
        return false;
    }
    const sf_count_t frames = sf_count_t(samples.size()) / channels;
    const bool ok = sf_writef_float(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && ok;
}

bool WriteTone(const QString &path, int rate, int channels, int format, double frequency, double seconds,
               double amplitude)
{
    const int frames = int(rate * seconds);
    std::vector<float> samples(size_t(frames) * size_t(channels));
    for (int i = 0; i < frames; ++i) {
        const float value = float(amplitude * std::sin(2 * M_PI * frequency * i / rate));
        for (int c = 0; c < channels; ++c) {
            samples[size_t(i) * size_t(channels) + size_t(c)] = value;
        }
    }
    return WriteSamples(path, rate, channels, format, samples);
}

double ToneLevel(const std::vector<float> &mono, int rate, double frequency)
{
    const double w = 2 * M_PI * frequency / rate;
    const double coefficient = 2 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (float x : mono) {
        const double s0 = x + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    return mono.empty() ? 0 : 2 * std::sqrt(std::max(power, 0.0)) / double(mono.size());
}

double DominantFrequency(const std::vector<float> &mono, int rate, double low, double high)
{
    double best = low, bestLevel = -1;
    for (double f = low; f <= high; f += 1) {
        const double level = ToneLevel(mono, rate, f);
        if (level > bestLevel) {
            bestLevel = level;
            best = f;
        }
    }
    return best;
}

double PitchOfTone(const std::vector<float> &mono, int rate, double low, double high)
{
    size_t start = 0;
    while (start < mono.size() && std::fabs(mono[start]) < 0.05f) {
        ++start;
    }
    start += size_t(rate / 20); // past the attack
    const size_t window = size_t(rate / 10);
    std::vector<double> pitches;
    for (int i = 0; i < 5 && start + window <= mono.size(); ++i, start += window) {
        const std::vector<float> piece(mono.begin() + qint64(start), mono.begin() + qint64(start + window));
        pitches.push_back(DominantFrequency(piece, rate, low, high));
    }
    if (pitches.empty()) {
        return 0;
    }
    std::sort(pitches.begin(), pitches.end());
    return pitches[pitches.size() / 2];
}

double Peak(const std::vector<float> &samples)
{
    double peak = 0;
    for (float s : samples) {
        peak = std::max(peak, double(std::fabs(s)));
    }
    return peak;
}

std::vector<float> LeftChannel(const std::vector<float> &stereo)
{
    std::vector<float> left(stereo.size() / 2);
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] = stereo[2 * i];
    }
    return left;
}

} // namespace AudioTest
