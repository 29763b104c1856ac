// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/media/sources.h"

#include "platform/media/synthesizer.h"

#include <QFile>
#include <SDL.h>
#include <fluidsynth.h>
#include <sndfile.h>
#include <vector>

namespace {

struct SndfileCloser
{
    void operator()(SNDFILE *file) const { sf_close(file); }
};
struct AudioStreamDeleter
{
    void operator()(SDL_AudioStream *stream) const { SDL_FreeAudioStream(stream); }
};
struct PlayerDeleter
{
    void operator()(fluid_player_t *player) const { delete_fluid_player(player); }
};

constexpr int ReadFrames = 1024;               // frames read from the file at a time
constexpr qint64 MaxMidiFileBytes = 16 << 20;  // far beyond any real song; a guard against odd files

// A WAVE file streamed from disk: libsndfile decodes, SDL converts rate and channels.
class WaveSource : public Source
{
public:
    WaveSource(SNDFILE *file, const SF_INFO &info, SDL_AudioStream *stream)
        : m_file(file), m_stream(stream), m_channels(info.channels),
          m_readBuffer(size_t(ReadFrames) * size_t(info.channels))
    {
    }

    Progress Render(float *out, int frames, bool playing) override
    {
        if (!playing) {
            return m_finished ? Progress::Finished : Progress::Sounding;
        }
        const int wanted = frames * OutputChannels * int(sizeof(float));
        while (!m_endOfFile && SDL_AudioStreamAvailable(m_stream.get()) < wanted) {
            const sf_count_t read = sf_readf_float(m_file.get(), m_readBuffer.data(), ReadFrames);
            if (read > 0) {
                SDL_AudioStreamPut(m_stream.get(), m_readBuffer.data(),
                                   int(read) * m_channels * int(sizeof(float)));
            }
            if (read < ReadFrames) {
                m_endOfFile = true; // the end, or a damaged rest of the file: play what was read
                SDL_AudioStreamFlush(m_stream.get());
            }
        }
        const int got = SDL_AudioStreamGet(m_stream.get(), out, wanted);
        if (got < wanted && m_endOfFile) {
            m_finished = true;
        }
        return m_finished ? Progress::Finished : Progress::Sounding;
    }

    void Rewind() override
    {
        sf_seek(m_file.get(), 0, SEEK_SET);
        SDL_AudioStreamClear(m_stream.get());
        m_endOfFile = false;
        m_finished = false;
    }

private:
    std::unique_ptr<SNDFILE, SndfileCloser> m_file;
    std::unique_ptr<SDL_AudioStream, AudioStreamDeleter> m_stream;
    int m_channels;
    std::vector<float> m_readBuffer;
    bool m_endOfFile = false;
    bool m_finished = false;
};

// A MIDI file on the shared synthesizer. A fresh FluidSynth player per start
// from the beginning: the data stays in memory, so rewinding reads no file.
class MidiSource : public Source
{
public:
    MidiSource(QByteArray data, Synthesizer &synthesizer) : m_data(std::move(data)), m_synthesizer(synthesizer)
    {
        makePlayer();
    }

    ~MidiSource() override
    {
        m_player.reset();
        m_synthesizer.Reset(); // no note of this song rings on into the next
    }

    Progress Render(float *out, int frames, bool playing) override
    {
        Q_UNUSED(playing); // the player itself knows whether it runs; the synth rings on after it
        switch (m_synthesizer.State()) {
        case Synthesizer::FontState::Loading:
            return Progress::Sounding; // the song waits for its font and starts when it is there
        case Synthesizer::FontState::Missing:
            return m_started ? Progress::Failed : Progress::Sounding;
        case Synthesizer::FontState::Ready:
            break;
        }
        fluid_synth_write_float(m_synthesizer.Synth(), frames, out, 0, 2, out, 1, 2);
        if (!m_started || !m_player) {
            return Progress::Sounding;
        }
        // The player loads the file on its first tick. The song ends with its
        // last event; the player itself would wait for the last notes to die
        // away and then some, which would leave a long gap before a repeat.
        // The notes still ring on here until the song is closed or rewound.
        const int total = fluid_player_get_total_ticks(m_player.get());
        const bool done = fluid_player_get_status(m_player.get()) == FLUID_PLAYER_DONE;
        if (total <= 0) {
            return Progress::Failed; // nothing loaded, or tracks without a single event to play
        }
        return done || fluid_player_get_current_tick(m_player.get()) >= total ? Progress::Finished
                                                                                : Progress::Sounding;
    }

    void Start() override
    {
        if (m_player && !m_started) {
            m_started = fluid_player_play(m_player.get()) == FLUID_OK;
        }
    }

    void Rewind() override
    {
        m_player.reset();
        m_synthesizer.Reset();
        makePlayer();
    }

private:
    void makePlayer()
    {
        m_started = false;
        m_player.reset(new_fluid_player(m_synthesizer.Synth()));
        if (m_player && fluid_player_add_mem(m_player.get(), m_data.constData(), size_t(m_data.size())) != FLUID_OK) {
            m_player.reset();
        }
    }

    QByteArray m_data;
    Synthesizer &m_synthesizer;
    std::unique_ptr<fluid_player_t, PlayerDeleter> m_player;
    bool m_started = false;
};

} // namespace

std::unique_ptr<Source> OpenWaveSource(const QString &path)
{
    SF_INFO info{};
    std::unique_ptr<SNDFILE, SndfileCloser> file(sf_open(QFile::encodeName(path).constData(), SFM_READ, &info));
    if (!file || info.channels < 1 || info.samplerate < 1 || info.frames < 1) {
        return nullptr;
    }
    // 0 dB full scale stays 0 dB: integer formats are read into -1..1.
    sf_command(file.get(), SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
    SDL_AudioStream *stream =
        SDL_NewAudioStream(AUDIO_F32SYS, Uint8(info.channels), info.samplerate, AUDIO_F32SYS, OutputChannels, OutputRate);
    if (!stream) {
        return nullptr; // channel layouts SDL cannot convert (such as 3 or 5 channels)
    }
    return std::make_unique<WaveSource>(file.release(), info, stream);
}

std::unique_ptr<Source> OpenMidiSource(const QString &path, Synthesizer &synthesizer)
{
    if (!synthesizer.Synth() || synthesizer.State() == Synthesizer::FontState::Missing) {
        return nullptr;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxMidiFileBytes) {
        return nullptr;
    }
    QByteArray data = file.readAll();
    if (!data.startsWith("MThd")) {
        return nullptr; // not a standard MIDI file (FluidSynth checks the same)
    }
    return std::make_unique<MidiSource>(std::move(data), synthesizer);
}
