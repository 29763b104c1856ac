// SPDX-License-Identifier: GPL-3.0-or-later
#include "synthesizer.h"

#include "medialogging.h"

#include <QFileInfo>
#include <QtGlobal>
#include <fluidsynth.h>

void Synthesizer::SettingsDeleter::operator()(fluid_settings_t *s) const
{
    delete_fluid_settings(s);
}

void Synthesizer::SynthDeleter::operator()(fluid_synth_t *s) const
{
    delete_fluid_synth(s);
}

QStringList Synthesizer::defaultSoundFonts()
{
    return {QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2"),
            QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2"),
            QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2")};
}

Synthesizer::Synthesizer(int sampleRate, const QStringList &soundFonts) : m_settings(new_fluid_settings())
{
    fluid_settings_t *settings = m_settings.get();
    if (!settings) {
        qCWarning(lcAudio, "FluidSynth has no settings: MIDI songs will be silent");
        m_state = FontState::Missing;
        return;
    }
    fluid_settings_setnum(settings, "synth.sample-rate", sampleRate);
    // Songs advance with the samples rendered, not a timer thread of their own,
    // so a song never runs ahead of its sound and renders alike without a device.
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "synth.polyphony", 96);
    fluid_settings_setint(settings, "synth.chorus.active", 0);
    fluid_settings_setnum(settings, "synth.gain", 0.8); // the default is quiet next to WAVE songs
    m_synth.reset(new_fluid_synth(settings));
    if (!m_synth) {
        qCWarning(lcAudio, "FluidSynth could not start: MIDI songs will be silent");
        m_state = FontState::Missing;
        return;
    }
    m_loader = std::thread(&Synthesizer::loadFont, this, soundFonts);
}

Synthesizer::~Synthesizer()
{
    if (m_loader.joinable()) {
        m_loader.join();
    }
}

void Synthesizer::loadFont(QStringList candidates)
{
    for (const QString &path : candidates) {
        if (QFileInfo(path).isFile()
            && fluid_synth_sfload(m_synth.get(), path.toLocal8Bit().constData(), 1) != FLUID_FAILED) {
            m_state.store(FontState::Ready, std::memory_order_release);
            return;
        }
    }
    qCWarning(lcAudio, "No General MIDI sound font found (%s): MIDI songs will be silent",
              qPrintable(candidates.join(QStringLiteral(", "))));
    m_state.store(FontState::Missing, std::memory_order_release);
}

void Synthesizer::waitForFont()
{
    if (m_loader.joinable()) {
        m_loader.join();
    }
}

void Synthesizer::reset()
{
    if (m_synth) {
        fluid_synth_all_sounds_off(m_synth.get(), -1);
        fluid_synth_system_reset(m_synth.get());
    }
}
