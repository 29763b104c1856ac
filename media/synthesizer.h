// SPDX-License-Identifier: GPL-3.0-or-later
// The one General MIDI synthesizer of the program. Its sound font loads in the
// background so that the window never waits for it.
#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <thread>

struct _fluid_hashtable_t;
struct _fluid_synth_t;

class Synthesizer
{
public:
    // The first of these that exists is loaded.
    static QStringList defaultSoundFonts();

    Synthesizer(int sampleRate, const QStringList &soundFonts = defaultSoundFonts());
    ~Synthesizer();
    Synthesizer(const Synthesizer &) = delete;
    Synthesizer &operator=(const Synthesizer &) = delete;

    _fluid_synth_t *synth() const { return m_synth.get(); }

    enum class FontState { Loading, Ready, Missing };
    FontState state() const { return m_state.load(std::memory_order_acquire); }

    // Waits until the font has loaded or failed to load; for tests and benchmarks.
    void waitForFont();

    // Silences every voice at once and resets the channels for the next song.
    void reset();

private:
    void loadFont(QStringList candidates);

    struct SettingsDeleter
    {
        void operator()(_fluid_hashtable_t *s) const;
    };
    struct SynthDeleter
    {
        void operator()(_fluid_synth_t *s) const;
    };
    std::unique_ptr<_fluid_hashtable_t, SettingsDeleter> m_settings; // UI thread
    std::unique_ptr<_fluid_synth_t, SynthDeleter> m_synth;           // any: FluidSynth locks itself
    std::atomic<FontState> m_state{FontState::Loading}; // loader thread writes, any reads (atomic)
    std::thread m_loader;                               // UI thread
};
