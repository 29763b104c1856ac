// SPDX-License-Identifier: GPL-3.0-or-later
// The songs the engine can play. Every method but the factories runs with the
// engine's lock held; Render() runs on the audio thread and never allocates.
#pragma once

#include <QString>
#include <memory>

class Synthesizer;

class Source
{
public:
    virtual ~Source() = default;

    enum class Progress { Sounding, Finished, Failed };

    // Writes frames of interleaved stereo float at the output rate into out,
    // which holds silence already. A source that is not playing may still
    // sound out (the last notes of a song ringing on) but never advances.
    virtual Progress render(float *out, int frames, bool playing) = 0;

    // Called when the song plays: it starts from where it stands.
    virtual void start() {}

    // Back to the beginning, silent until the next Start().
    virtual void rewind() = 0;

    // Only for offline rendering, which runs faster than real time: waits
    // until the next frames are there to be rendered. Never on the audio thread.
    virtual void waitForData(int frames) { Q_UNUSED(frames); }
};

constexpr int OutputRate = 48000;
constexpr int OutputChannels = 2;

// Nullptr when the file is missing, damaged or of a kind the engine cannot play.
std::unique_ptr<Source> openWaveSource(const QString &path);
std::unique_ptr<Source> openMidiSource(const QString &path, Synthesizer &synthesizer);
