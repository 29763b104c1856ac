// SPDX-License-Identifier: GPL-3.0-or-later
#include "audiotestutil.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <sndfile.h>

namespace AudioTest {

bool writeSamples(const QString &path, int rate, int channels, int format, const std::vector<float> &samples)
{
    SF_INFO info{0, rate, channels, format, 0, 0};
    SNDFILE *file = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
    const sf_count_t frames = sf_count_t(samples.size()) / channels;
    return file && (sf_writef_float(file, samples.data(), frames) == frames) & (sf_close(file) == 0);
}

bool writeTone(const QString &path, int rate, int channels, int format, double frequency, double seconds,
               double amplitude)
{
    std::vector<float> samples(size_t(rate * seconds) * size_t(channels));
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = float(amplitude * std::sin(2 * M_PI * frequency * double(i / size_t(channels)) / rate));
    }
    return writeSamples(path, rate, channels, format, samples);
}

std::vector<float> toneBetweenSilences(int rate, double before, double tone, double after, double amplitude,
                                       double frequency)
{
    std::vector<float> samples(size_t(rate * (before + tone + after)));
    for (size_t i = size_t(rate * before); i < size_t(rate * (before + tone)); ++i) {
        samples[i] =
            float(std::clamp(amplitude * std::sin(2 * M_PI * frequency * double(i) / rate), -1.0, 1.0));
    }
    return samples;
}

double toneLevel(const std::vector<float> &mono, int rate, double frequency)
{
    const double c = 2 * std::cos(2 * M_PI * frequency / rate);
    double s1 = 0, s2 = 0;
    for (float x : mono) {
        s2 = std::exchange(s1, x + c * s1 - s2);
    }
    return mono.empty() ? 0
                        : 2 * std::sqrt(std::max(s1 * s1 + s2 * s2 - c * s1 * s2, 0.0)) / double(mono.size());
}

double pitchOfTone(const std::vector<float> &mono, int rate, double low, double high)
{
    auto start = std::find_if(mono.begin(), mono.end(), [](float s) { return std::fabs(s) >= 0.05f; });
    start += std::min<qint64>(rate / 20, mono.end() - start); // past the attack
    std::vector<double> pitches;
    for (; pitches.size() < 5 && mono.end() - start >= rate / 10; start += rate / 10) {
        const std::vector<float> piece(start, start + rate / 10);
        double best = low;
        for (double f = low; f <= high; f += 1) {
            best = toneLevel(piece, rate, f) > toneLevel(piece, rate, best) ? f : best;
        }
        pitches.push_back(best);
    }
    std::sort(pitches.begin(), pitches.end());
    return pitches.empty() ? 0 : pitches[pitches.size() / 2];
}

double peak(const std::vector<float> &samples)
{
    return std::accumulate(samples.begin(), samples.end(), 0.0,
                           [](double p, float s) { return std::max(p, double(std::fabs(s))); });
}

} // namespace AudioTest
