// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the toy's WAVE sounds into a folder: a spring, a pop, a slide up and
// one down, bubbles and a water drop, all made from sine waves here, so every
// sound of the toy is its own work. Usage: make_sounds FOLDER
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int Rate = 22050;
constexpr double Pi = 3.14159265358979323846;

struct SndfileCloser
{
    void operator()(SNDFILE *file) const { sf_close(file); }
};

// A tone whose frequency and loudness follow the given curves over time in seconds.
std::vector<float> sweep(double seconds, const std::function<double(double)> &frequency,
                         const std::function<double(double)> &loudness)
{
    std::vector<float> samples(size_t(seconds * Rate));
    double phase = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        const double t = double(i) / Rate;
        phase += 2 * Pi * frequency(t) / Rate;
        // A little of the third harmonic makes it rounder than a bare sine.
        samples[i] = float(loudness(t) * (std::sin(phase) + 0.2 * std::sin(3 * phase)) / 1.2);
    }
    return samples;
}

// Quick rise, then an exponential fade. The levels keep these sounds about as loud as the songs.
std::function<double(double)> pluck(double rise, double fade, double level = 0.4)
{
    return [=](double t) { return level * std::min(1.0, t / rise) * std::exp(-t * fade); };
}

void mixInto(std::vector<float> &into, const std::vector<float> &sound, double at)
{
    const size_t start = size_t(at * Rate);
    if (into.size() < start + sound.size()) {
        into.resize(start + sound.size());
    }
    for (size_t i = 0; i < sound.size(); ++i) {
        into[start + i] += 0.6f * sound[i]; // two pops may overlap
    }
}

std::vector<float> pop(double low, double high)
{
    return sweep(
        0.12, [=](double t) { return low + (high - low) * t / 0.12; }, pluck(0.004, 30));
}

bool write(const std::string &path, const std::vector<float> &samples)
{
    SF_INFO info{};
    info.samplerate = Rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    std::unique_ptr<SNDFILE, SndfileCloser> file(sf_open(path.c_str(), SFM_WRITE, &info));
    if (!file) {
        fprintf(stderr, "make_sounds: cannot write %s: %s\n", path.c_str(), sf_strerror(nullptr));
        return false;
    }
    sf_command(file.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
    return sf_writef_float(file.get(), samples.data(), sf_count_t(samples.size()))
           == sf_count_t(samples.size());
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        fprintf(stderr, "usage: make_sounds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];

    // A spring: a low tone wobbling fast, the wobble dying away.
    const auto boing = sweep(
        0.8, [](double t) { return 160 * (1 + 0.45 * std::exp(-4 * t) * std::sin(2 * Pi * 14 * t)); },
        pluck(0.005, 4));
    // A slide whistle going up, and one coming down.
    const auto slide = sweep(
        0.7, [](double t) { return 400 * std::pow(4.0, t / 0.7) * (1 + 0.02 * std::sin(2 * Pi * 6 * t)); },
        [](double t) {
            return 0.35 * std::min({1.0, t / 0.05, (0.7 - t) / 0.1});
        });
    const auto fall = sweep(
        0.7, [](double t) { return 1400 * std::pow(0.22, t / 0.7); },
        [](double t) {
            return 0.35 * std::min({1.0, t / 0.02, (0.7 - t) / 0.15});
        });
    // A water drop: a short tone that jumps up as it fades.
    const auto drip = sweep(
        0.25, [](double t) { return 700 * std::pow(3.0, t / 0.25); }, pluck(0.002, 18));
    // Bubbles: pops at their own times and pitches, always the same ones.
    std::vector<float> bubbles;
    const double times[] = {0.0, 0.09, 0.16, 0.27, 0.33, 0.45, 0.52};
    const double pitches[] = {300, 420, 350, 520, 380, 460, 600};
    for (size_t i = 0; i < std::size(times); ++i) {
        mixInto(bubbles, pop(pitches[i], pitches[i] * 2.5), times[i]);
    }

    const bool ok = write(folder + "/boing.wav", boing) && write(folder + "/pop.wav", pop(300, 1200))
                    && write(folder + "/slide.wav", slide) && write(folder + "/fall.wav", fall)
                    && write(folder + "/drip.wav", drip) && write(folder + "/bubbles.wav", bubbles);
    return ok ? 0 : 1;
}
