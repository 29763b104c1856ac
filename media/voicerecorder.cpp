// SPDX-License-Identifier: GPL-3.0-or-later
#include "voicerecorder.h"

#include "audiooutput.h"
#include "medialogging.h"

#include <SDL.h>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <mutex>

namespace {

constexpr int LookMs = 30;         // the level meter's pace
constexpr int BufferFrames = 1024; // 21 ms: what SDL hands over at a time

// The default microphone with SDL's audio started for it, open while the object lives. Only on a
// microphone thread, with SDL's audio lock held.
class Microphone
{
public:
    Microphone() = default;
    ~Microphone() { close(); }
    Microphone(const Microphone &) = delete;
    Microphone &operator=(const Microphone &) = delete;

    // Opened paused: resume() starts the callback.
    bool open(SDL_AudioCallback callback, void *data)
    {
        // SIGTERM and SIGINT are the program's: SDL would take them for an SDL_QUIT nobody reads.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            return false;
        }
        m_audioStarted = true;
        SDL_AudioSpec wanted{};
        wanted.freq = VoiceRecorder::Rate;
        wanted.format = AUDIO_F32SYS;
        wanted.channels = 1;
        wanted.samples = BufferFrames;
        wanted.callback = callback;
        wanted.userdata = data;
        // SDL converts from whatever the microphone gives.
        m_device = SDL_OpenAudioDevice(nullptr, 1, &wanted, nullptr, 0);
        if (m_device == 0) {
            close();
            return false;
        }
        return true;
    }
    void resume() const { SDL_PauseAudioDevice(m_device, 0); }
    SDL_AudioDeviceID device() const { return m_device; }
    void close()
    {
        if (m_device != 0) {
            SDL_CloseAudioDevice(m_device); // waits for the callback to return
            m_device = 0;
        }
        if (m_audioStarted) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            m_audioStarted = false;
        }
    }

private:
    bool m_audioStarted = false;
    SDL_AudioDeviceID m_device = 0;
};

} // namespace

// One recording, shared by the UI thread, the microphone thread and SDL's capture thread.
struct VoiceRecorder::Capture
{
    std::vector<float> samples = std::vector<float>(size_t(Rate) * MaxSeconds); // made before SDL writes
    std::atomic<size_t> written{0};           // SDL's thread writes, the UI thread reads
    std::atomic<bool> lost{false};            // SDL's thread sets, the UI thread reads
    std::atomic<SDL_AudioDeviceID> device{0}; // set before the callback starts
    std::atomic<bool> closed{false};          // the microphone thread is done
    std::mutex mutex;                         // guards stop
    std::condition_variable wake;             // wakes the microphone thread to close
    bool stop = false;                        // under mutex

    static void callback(void *data, Uint8 *stream, int bytes)
    {
        Capture &capture = *static_cast<Capture *>(data);
        // SDL goes on calling a microphone that went away, with silence.
        if (SDL_GetAudioDeviceStatus(capture.device.load(std::memory_order_relaxed)) != SDL_AUDIO_PLAYING) {
            capture.lost.store(true, std::memory_order_release);
            return;
        }
        const size_t at = capture.written.load(std::memory_order_relaxed);
        const size_t count = std::min(size_t(bytes) / sizeof(float), capture.samples.size() - at);
        std::memcpy(capture.samples.data() + at, stream, count * sizeof(float));
        capture.written.store(at + count, std::memory_order_release);
    }

    void run(VoiceRecorder *recorder, const std::shared_ptr<Capture> &self)
    {
        Microphone microphone;
        bool opened = false;
        {
            std::lock_guard sdl(sdlAudioLock());
            opened = microphone.open(&Capture::callback, this);
            if (opened) {
                device.store(microphone.device(), std::memory_order_relaxed);
                microphone.resume();
            } else {
                qCWarning(lcAudio, "No microphone to record from: %s", SDL_GetError());
            }
        }
        if (!opened) {
            QMetaObject::invokeMethod(
                recorder, [recorder, self] { recorder->openFailed(self); }, Qt::QueuedConnection);
        } else {
            std::unique_lock lock(mutex);
            wake.wait(lock, [this] { return stop; });
        }
        {
            std::lock_guard sdl(sdlAudioLock());
            microphone.close();
        }
        closed.store(true, std::memory_order_release);
    }

    void askToClose()
    {
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        wake.notify_all();
    }
};

VoiceRecorder::VoiceRecorder(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(LookMs);
    connect(&m_timer, &QTimer::timeout, this, &VoiceRecorder::look);
}

VoiceRecorder::~VoiceRecorder()
{
    for (Session &session : m_sessions) {
        session.capture->askToClose();
    }
    joinClosed(true);
}

void VoiceRecorder::start()
{
    if (m_capture) {
        return;
    }
    joinClosed(false);
    m_samples.clear();
    m_seen = 0;
    m_capture = std::make_shared<Capture>();
    Session session{m_capture, {}};
    try {
        session.thread = std::thread(&Capture::run, m_capture.get(), this, m_capture);
    } catch (const std::system_error &) {
        m_capture.reset();
        emit ended(Ending::NoMicrophone); // no thread to be had: no microphone either
        return;
    }
    m_sessions.push_back(std::move(session));
    m_timer.start();
}

void VoiceRecorder::stop()
{
    if (m_capture) {
        finish(Ending::Stopped);
    }
}

void VoiceRecorder::cancel()
{
    if (m_capture) {
        finish(Ending::Cancelled);
    }
}

void VoiceRecorder::look()
{
    const Capture &capture = *m_capture;
    const size_t written = capture.written.load(std::memory_order_acquire);
    if (written > m_seen) { // a late buffer is no silence: the meter waits for it
        float peak = 0;
        for (size_t i = m_seen; i < written; ++i) {
            peak = std::max(peak, std::fabs(capture.samples[i]));
        }
        m_seen = written;
        emit levelChanged(peak);
    }
    if (capture.lost.load(std::memory_order_acquire)) {
        finish(Ending::MicrophoneLost);
    } else if (written == capture.samples.size()) {
        finish(Ending::TimeUp);
    }
}

void VoiceRecorder::openFailed(const std::shared_ptr<Capture> &capture)
{
    if (capture == m_capture) {
        finish(Ending::NoMicrophone);
    }
}

void VoiceRecorder::finish(Ending how)
{
    m_timer.stop();
    if (how == Ending::Stopped || how == Ending::TimeUp) {
        // What SDL writes after this point is not looked at, so it cannot race with the copy.
        const size_t written = m_capture->written.load(std::memory_order_acquire);
        m_samples.assign(m_capture->samples.begin(), m_capture->samples.begin() + std::ptrdiff_t(written));
    }
    m_capture->askToClose(); // closed on its own thread: the window goes on at once
    m_capture.reset();
    emit ended(how);
}

void VoiceRecorder::joinClosed(bool all)
{
    const auto done = [all](Session &session) {
        if (!all && !session.capture->closed.load(std::memory_order_acquire)) {
            return false;
        }
        session.thread.join();
        return true;
    };
    m_sessions.erase(std::remove_if(m_sessions.begin(), m_sessions.end(), done), m_sessions.end());
}
