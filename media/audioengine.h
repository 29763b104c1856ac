// SPDX-License-Identifier: GPL-3.0-or-later
// Plays one song at a time: holds the open song, renders it for the output
// (or for a test, offline), and tells the UI thread when a song has ended.
#pragma once

#include "audiooutput.h"
#include "synthesizer.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

class Source;

// An eventfd for the audio thread's end notice: writing to it allocates
// nothing and never blocks. Opened on construction, closed on destruction.
class WakeFd
{
public:
    WakeFd();
    ~WakeFd();
    WakeFd(const WakeFd &) = delete;
    WakeFd &operator=(const WakeFd &) = delete;

    bool isValid() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    void signal() const; // any thread
    void drain() const;  // the thread that watches it

private:
    const int m_fd;
};

class AudioEngine : public QObject
{
    Q_OBJECT

public:
    enum class Output { Device, Offline };
    // How a play ended by itself; a play cut short by the UI thread gets no end notice.
    enum class EndReason { ReachedTheEnd, CouldNotPlay };
    // Sees every buffer after it was rendered, on the audio thread; for
    // measuring latency.
    using RenderObserver = void (*)(void *context, const float *out, int frames);
    struct Setup
    {
        Output output = Output::Device;
        int bufferFrames = 128;  // 2.7 ms at 48 kHz
        int idleCloseMs = 10000; // the output closes after this long without a song
        QStringList soundFonts = Synthesizer::defaultSoundFonts();
        RenderObserver renderObserver = nullptr;
        void *renderObserverContext = nullptr;
    };

    explicit AudioEngine(QObject *parent = nullptr) : AudioEngine(Setup{}, parent) {}
    explicit AudioEngine(const Setup &setup, QObject *parent = nullptr);
    ~AudioEngine() override;

    Synthesizer &synth() { return m_synthesizer; }

    // UI thread. Open hands over a song (nullptr: nothing could be opened).
    bool open(std::unique_ptr<Source> source);
    void close();
    bool isOpen() const { return m_hasSource; }
    // Starts or goes on playing; the session travels with the end notice. Without a sound device (none
    // yet, or the last one went away) it asks for one and holds the song where it is until the answer:
    // a device, or the silent stand-in.
    void play(quint64 session);
    void rewind();
    bool isPlaying() const { return m_playing.load(std::memory_order_acquire); }
    bool hasOutputDevice() const;
    // A number for the next play of any player on this engine, so that no player takes another's end
    // notice for its own.
    quint64 newSession() { return ++m_lastSession; }
    bool isOutputOpen() const { return bool(m_output); }

    // The render path; the audio thread calls it, and tests call it directly
    // with Output::Offline. Never blocks: while the UI thread holds the song,
    // this buffer is silence. Offline, a WAVE waits for its reader instead of
    // sounding an underrun, since a test renders faster than real time.
    void render(float *out, int frames);

signals:
    // On the UI thread: the play of session ended by itself (CouldNotPlay also
    // when its sound device went away).
    void ended(quint64 session, AudioEngine::EndReason why);

private:
    static void renderTrampoline(void *engine, float *out, int frames);
    static void lostTrampoline(void *engine);
    static void openedTrampoline(void *engine);
    void ensureOutput();
    void outputOpened();
    void releaseOutput();
    void closeIdleOutput();
    void deliverEnd();

    const Setup m_setup;                // any: fixed at construction
    Synthesizer m_synthesizer;          // any: it guards itself
    std::mutex m_lock;                  // UI thread holds it to change the song; audio thread only tries it
    std::unique_ptr<Source> m_source;   // UI and audio thread, under m_lock
    bool m_hasSource = false;           // UI thread
    quint64 m_lastSession = 0;          // UI thread
    std::atomic<bool> m_playing{false}; // any (atomic)
    std::atomic<quint64> m_session{0};  // UI thread writes, audio thread reads (atomic)
    std::atomic<quint64> m_endedSession{0};          // audio thread writes, UI thread reads (atomic)
    std::atomic<EndReason> m_endedReason{};          // audio thread writes, UI thread reads (atomic)
    std::atomic<bool> m_endPending{false};           // audio thread sets, UI thread clears (atomic)
    const WakeFd m_wakeFd;                           // audio thread signals, UI thread drains
    std::unique_ptr<QSocketNotifier> m_wakeNotifier; // UI thread
    std::unique_ptr<AudioOutput> m_output;           // UI thread (it owns the audio thread)
    bool m_opening = false;                          // UI thread: the opener looks for a device
    QTimer m_idleTimer;                              // UI thread
    std::unique_ptr<DeviceOpener> m_opener;          // UI thread; last, so it goes first
};
