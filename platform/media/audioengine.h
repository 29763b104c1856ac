// SPDX-License-Identifier: GPL-3.0-or-later
// Plays one song at a time: holds the open song, renders it for the output
// (or for a test, offline), and tells the UI thread when a song has ended.
#pragma once

#include "platform/media/audiooutput.h"
#include "platform/media/synthesizer.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <atomic>
#include <memory>
#include <mutex>

class Source;

class AudioEngine : public QObject
{
    Q_OBJECT

public:
    enum class Output { Device, Offline };
    struct Options
    {
        Output output = Output::Device;
        int bufferFrames = 128;   // 2.7 ms at 48 kHz
        int idleCloseMs = 10000;  // the output closes after this long without a song
        QStringList soundFonts = Synthesizer::DefaultSoundFonts();
    };

    explicit AudioEngine(QObject *parent = nullptr) : AudioEngine(Options{}, parent) {}
    explicit AudioEngine(const Options &options, QObject *parent = nullptr);
    ~AudioEngine() override;

    Synthesizer &Synth() { return m_synthesizer; }

    // UI thread. Open hands over a song (nullptr: nothing could be opened).
    bool Open(std::unique_ptr<Source> source);
    void Close();
    bool IsOpen() const { return m_hasSource; }
    // Starts or goes on playing; the session travels with the end notice.
    void Play(quint64 session);
    void Pause();
    void Rewind();
    bool IsPlaying() const { return m_playing.load(std::memory_order_acquire); }
    bool HasOutputDevice() const;
    bool IsOutputOpen() const { return bool(m_output); }

    // Sees every buffer after it was rendered, on the audio thread; for
    // measuring latency. Set it before the first "Play".
    using RenderObserver = void (*)(void *context, const float *out, int frames);
    void SetRenderObserver(RenderObserver observer, void *context);

    // The render path; the audio thread calls it, and tests call it directly
    // with Output::Offline. Never blocks: while the UI thread holds the song,
    // this buffer is silence.
    void Render(float *out, int frames);

signals:
    // On the UI thread: the play of session ended by itself, with code 1
    // (reached its end) or 8 (could not be played).
    void Ended(quint64 session, int code);

private:
    static void renderTrampoline(void *engine, float *out, int frames);
    void ensureOutput();
    void closeIdleOutput();
    void deliverEnd();

    Options m_options;
    Synthesizer m_synthesizer;
    std::mutex m_lock;                  // held by the UI thread only to change the song
    std::unique_ptr<Source> m_source;   // guarded by m_lock
    bool m_hasSource = false;
    std::atomic<bool> m_playing{false};
    std::atomic<quint64> m_session{0};
    std::atomic<quint64> m_endedSession{0};
    std::atomic<int> m_endedCode{0};
    int m_wakeFd = -1;                  // the audio thread's end notice: an eventfd write allocates nothing
    std::unique_ptr<QSocketNotifier> m_wakeNotifier;
    std::unique_ptr<AudioOutput> m_output;
    QTimer m_idleTimer;
    RenderObserver m_observer = nullptr;
    void *m_observerContext = nullptr;
};
