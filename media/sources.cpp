// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources.h"

#include "synthesizer.h"

#include <QFile>
#include <SDL.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fluidsynth.h>
#include <mutex>
#include <sndfile.h>
#include <system_error>
#include <thread>
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

constexpr int ReadFrames = 1024;   // frames read from the file at a time
constexpr int RingFrames = 32768;  // 0.68 s read ahead at the output rate
constexpr int PrefillFrames = 256; // read at Open, so that the first buffers sound at once
constexpr auto ReaderNap = std::chrono::milliseconds(20); // while the ring is full
constexpr qint64 MaxMidiFileBytes = 16 << 20; // far beyond any real song; a guard against odd files

using SndfilePtr = std::unique_ptr<SNDFILE, SndfileCloser>;
using AudioStreamPtr = std::unique_ptr<SDL_AudioStream, AudioStreamDeleter>;

// A WAVE file read ahead from disk by a reader thread: libsndfile decodes, SDL
// converts rate and channels, and the output frames go into a ring that the
// audio thread only reads (one writer, one reader, no lock). The audio thread
// never touches the file; when the reader falls behind, that buffer is silent.
class WaveSource : public Source
{
public:
    WaveSource(SndfilePtr file, const SF_INFO &info, AudioStreamPtr stream)
        : m_file(std::move(file))
        , m_stream(std::move(stream))
        , m_channels(info.channels)
        , m_rate(info.samplerate)
        , m_readBuffer(size_t(ReadFrames) * size_t(info.channels))
        , m_ring(new float[size_t(RingFrames)
                           * OutputChannels]) // not cleared: only what the writer wrote is read
    {
        prefill();
    }

    ~WaveSource() override { stopReader(); }

    Progress render(float *out, int frames, bool playing) override
    {
        if (!playing || m_finished) {
            return m_finished ? Progress::Finished : Progress::Sounding;
        }
        // Whether the reader is done first: then all it wrote is seen below.
        const bool readerDone = m_readerDone.load(std::memory_order_acquire);
        const size_t read = m_readPos.load(std::memory_order_relaxed);
        const size_t available = m_writePos.load(std::memory_order_acquire) - read;
        const size_t take = std::min(available, size_t(frames));
        const size_t at = read % RingFrames;
        const size_t first = std::min(take, RingFrames - at);
        std::copy_n(m_ring.get() + at * OutputChannels, first * OutputChannels, out);
        std::copy_n(m_ring.get(), (take - first) * OutputChannels, out + first * OutputChannels);
        m_readPos.store(read + take, std::memory_order_release);
        if (take < size_t(frames) && readerDone) {
            m_finished = true; // the last decoded frame has just been played
        }
        return m_finished ? Progress::Finished : Progress::Sounding;
    }

    void start() override
    {
        if (!m_reader.joinable() && !m_readerDone.load(std::memory_order_acquire)) {
            m_stopReader = false;
            try {
                m_reader = std::thread([this] { readAhead(); });
            } catch (const std::system_error &) {
                // No thread to be had: the song ends after what was read rather than never.
                m_readerDone.store(true, std::memory_order_release);
            }
        }
    }

    void rewind() override
    {
        stopReader();
        sf_seek(m_file.get(), 0, SEEK_SET);
        SDL_AudioStreamClear(m_stream.get());
        m_endOfFile = false;
        m_framesRead = 0;
        m_readerDone.store(false, std::memory_order_relaxed);
        m_writePos.store(0, std::memory_order_relaxed);
        m_readPos.store(0, std::memory_order_relaxed);
        m_finished = false;
        prefill();
    }

    void waitForData(int frames) override
    {
        // A reader that is stuck shows as underruns, not as a test that hangs.
        if (m_readerStuck) {
            return;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!m_readerDone.load(std::memory_order_acquire)
               && m_writePos.load(std::memory_order_acquire) - m_readPos.load(std::memory_order_relaxed)
                      < size_t(frames)
               && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::yield();
        }
        m_readerStuck = std::chrono::steady_clock::now() >= deadline;
    }

private:
    // Decodes a little on the UI thread, before the reader runs: a few
    // buffers, and the whole of a song that short.
    void prefill()
    {
        while (!m_readerDone.load(std::memory_order_relaxed)
               && m_writePos.load(std::memory_order_relaxed) < size_t(PrefillFrames) && fill(PrefillFrames)) {
        }
    }

    // Reader thread (or the UI thread while there is none): decodes one piece
    // of the file into the ring. False when the ring is full.
    bool fill(int frames = ReadFrames)
    {
        if (!drain()) {
            return false;
        }
        if (m_endOfFile) {
            m_readerDone.store(true, std::memory_order_release);
            return true;
        }
        const sf_count_t read = sf_readf_float(m_file.get(), m_readBuffer.data(), frames);
        if (read > 0) {
            SDL_AudioStreamPut(m_stream.get(), m_readBuffer.data(),
                               int(read) * m_channels * int(sizeof(float)));
            m_framesRead += size_t(read);
        }
        if (read < frames) {
            m_endOfFile = true; // the end, or a damaged rest of the file: play what was read
            // A flush alone leaves the resampler's last frames inside it: push them out with
            // silence, and end the output at the song's own length.
            const std::vector<float> silence(size_t(m_rate / 10 + 1) * size_t(m_channels));
            SDL_AudioStreamPut(m_stream.get(), silence.data(), int(silence.size() * sizeof(float)));
            SDL_AudioStreamFlush(m_stream.get());
            m_outputEnd = (m_framesRead * size_t(OutputRate) + size_t(m_rate) - 1) / size_t(m_rate);
        }
        drain();
        return true;
    }

    // Moves converted frames into the ring as far as it has room; true when none are left over.
    bool drain()
    {
        const size_t frameBytes = sizeof(float) * OutputChannels;
        size_t write = m_writePos.load(std::memory_order_relaxed);
        size_t room = RingFrames - (write - m_readPos.load(std::memory_order_acquire));
        if (m_endOfFile) {
            room = std::min(room, m_outputEnd - std::min(write, m_outputEnd));
        }
        while (room > 0 && SDL_AudioStreamAvailable(m_stream.get()) > 0) {
            const size_t at = write % RingFrames;
            const size_t piece = std::min(room, RingFrames - at);
            const int got = SDL_AudioStreamGet(m_stream.get(), m_ring.get() + at * OutputChannels,
                                               int(piece * frameBytes));
            if (got <= 0) {
                break;
            }
            write += size_t(got) / frameBytes;
            room -= size_t(got) / frameBytes;
            m_writePos.store(write, std::memory_order_release);
        }
        if (m_endOfFile && write >= m_outputEnd) {
            SDL_AudioStreamClear(m_stream.get()); // what is left is the padding's silence
        }
        return SDL_AudioStreamAvailable(m_stream.get()) == 0;
    }

    void readAhead()
    {
        std::unique_lock lock(m_readerLock);
        while (!m_stopReader && !m_readerDone.load(std::memory_order_relaxed)) {
            lock.unlock();
            const bool more = fill();
            lock.lock();
            if (!more) {
                m_readerWake.wait_for(lock, ReaderNap, [this] { return m_stopReader; });
            }
        }
    }

    void stopReader()
    {
        if (!m_reader.joinable()) {
            return;
        }
        {
            std::lock_guard lock(m_readerLock);
            m_stopReader = true;
        }
        m_readerWake.notify_one();
        m_reader.join();
    }

    // File, converter and read buffer: the reader thread while it runs, else the UI thread.
    SndfilePtr m_file;
    AudioStreamPtr m_stream;
    const int m_channels;
    const int m_rate;
    std::vector<float> m_readBuffer;
    bool m_endOfFile = false;
    size_t m_framesRead = 0; // frames of the file put into the converter
    size_t m_outputEnd = 0;  // once the file has ended: its length in output frames
    // The ring: the writer (reader thread, or the UI thread at Open and Rewind)
    // fills m_ring ahead of m_writePos; the audio thread reads behind it and
    // advances m_readPos. Both reset only while the reader is stopped and the
    // engine's lock keeps the audio thread out.
    std::unique_ptr<float[]> m_ring;
    std::atomic<size_t> m_writePos{0};     // frames written ever: writer stores, audio thread loads
    std::atomic<size_t> m_readPos{0};      // frames played ever: audio thread stores, writer loads
    std::atomic<bool> m_readerDone{false}; // writer: every decoded frame is in the ring
    bool m_finished = false;               // audio thread (UI thread under the engine's lock at Rewind)
    bool m_readerStuck = false;            // the offline render thread only
    // The reader thread itself: started and stopped by the UI thread.
    std::thread m_reader;                 // UI thread
    std::mutex m_readerLock;              // UI and reader thread: guards m_stopReader
    std::condition_variable m_readerWake; // wakes a napping reader to stop
    bool m_stopReader = false;            // under m_readerLock
};

// A MIDI file on the shared synthesizer. A fresh FluidSynth player per start
// from the beginning: the data stays in memory, so rewinding reads no file.
class MidiSource : public Source
{
public:
    MidiSource(QByteArray data, Synthesizer &synthesizer)
        : m_data(std::move(data)), m_synthesizer(synthesizer)
    {
        makePlayer();
    }

    ~MidiSource() override
    {
        m_player.reset();
        m_synthesizer.reset(); // no note of this song rings on into the next
    }

    Progress render(float *out, int frames, bool playing) override
    {
        Q_UNUSED(playing); // the player itself knows whether it runs; the synth rings on after it
        switch (m_synthesizer.state()) {
        case Synthesizer::FontState::Loading:
            return Progress::Sounding; // the song waits for its font and starts when it is there
        case Synthesizer::FontState::Missing: return m_started ? Progress::Failed : Progress::Sounding;
        case Synthesizer::FontState::Ready: break;
        }
        fluid_synth_write_float(m_synthesizer.synth(), frames, out, 0, 2, out, 1, 2);
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

    void start() override
    {
        if (m_player && !m_started) {
            m_started = fluid_player_play(m_player.get()) == FLUID_OK;
        }
    }

    void rewind() override
    {
        m_player.reset();
        m_synthesizer.reset();
        makePlayer();
    }

private:
    void makePlayer()
    {
        m_started = false;
        m_player.reset(new_fluid_player(m_synthesizer.synth()));
        if (m_player
            && fluid_player_add_mem(m_player.get(), m_data.constData(), size_t(m_data.size())) != FLUID_OK) {
            m_player.reset();
        }
    }

    // All under the engine's lock: the UI thread changes them, the audio thread renders.
    const QByteArray m_data;
    Synthesizer &m_synthesizer;
    std::unique_ptr<fluid_player_t, PlayerDeleter> m_player;
    bool m_started = false;
};

} // namespace

std::unique_ptr<Source> openWaveSource(const QString &path)
{
    SF_INFO info{};
    SndfilePtr file(sf_open(QFile::encodeName(path).constData(), SFM_READ, &info));
    if (!file || info.channels < 1 || info.samplerate < 1 || info.frames < 1) {
        return nullptr;
    }
    // 0 dB full scale stays 0 dB: integer formats are read into -1..1.
    sf_command(file.get(), SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
    AudioStreamPtr stream(SDL_NewAudioStream(AUDIO_F32SYS, Uint8(info.channels), info.samplerate,
                                             AUDIO_F32SYS, OutputChannels, OutputRate));
    if (!stream) {
        return nullptr; // channel layouts SDL cannot convert (such as 3 or 5 channels)
    }
    return std::make_unique<WaveSource>(std::move(file), info, std::move(stream));
}

std::unique_ptr<Source> openMidiSource(const QString &path, Synthesizer &synthesizer)
{
    if (!synthesizer.synth() || synthesizer.state() == Synthesizer::FontState::Missing) {
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
