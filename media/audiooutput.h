// SPDX-License-Identifier: GPL-3.0-or-later
// Where rendered sound goes: a sound device through SDL, or, when there is no
// device at all, nowhere, at the same real-time pace. Devices are opened and
// closed on a thread of their own, since reaching a sound server that is
// starting, restarting or gone can take from a millisecond to a second.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

// SDL's audio is one per process: the openers of several engines and the microphone take turns with it.
std::mutex &sdlAudioLock();

class AudioOutput
{
public:
    // Fills frames of interleaved stereo float; called on the output's own thread.
    using RenderFunction = void (*)(void *context, float *out, int frames);
    // Called once on the output's own thread when its device went away.
    using LostFunction = void (*)(void *context);

    virtual ~AudioOutput() = default;
    virtual bool isDevice() const = 0;
    // The device went away (its sound server stopped): it renders no more, and a new one must be opened.
    virtual bool isLost() const { return false; }
};

class SdlOutput : public AudioOutput
{
public:
    // A started device, or nullptr; only on a DeviceOpener's thread, with SDL's audio started.
    static std::unique_ptr<SdlOutput> open(RenderFunction render, LostFunction lost, void *context,
                                           int bufferFrames);
    ~SdlOutput() override;
    SdlOutput(const SdlOutput &) = delete;
    SdlOutput &operator=(const SdlOutput &) = delete;
    bool isDevice() const override { return true; }
    bool isLost() const override { return m_lost.load(std::memory_order_acquire); }

private:
    SdlOutput() = default;
    static void callback(void *self, unsigned char *stream, int bytes);

    // Set before the device starts, read on SDL's audio thread.
    unsigned m_device = 0;
    RenderFunction m_render = nullptr;
    LostFunction m_lostNotice = nullptr;
    void *m_context = nullptr;
    std::atomic<bool> m_lost{false}; // SDL's audio thread sets it, any thread reads it
};

class NullOutput : public AudioOutput
{
public:
    NullOutput(RenderFunction render, void *context, int bufferFrames);
    ~NullOutput() override;
    NullOutput(const NullOutput &) = delete;
    NullOutput &operator=(const NullOutput &) = delete;
    bool isDevice() const override { return false; }

private:
    void run(int bufferFrames);

    RenderFunction m_render;        // any: fixed before the thread starts
    void *m_context;                // any: fixed before the thread starts
    std::mutex m_mutex;             // UI and output thread: guards m_stop
    std::condition_variable m_wake; // wakes the output thread to stop
    bool m_stop = false;            // under m_mutex
    std::thread m_thread;           // UI thread
};

// Every SDL audio call of one engine, on one thread that sleeps while nothing is asked of it. A device
// that went away, or an attempt that found none, stops SDL's audio, so that the next attempt starts it
// afresh and finds a sound server that came back; meanwhile nothing of SDL keeps running.
class DeviceOpener
{
public:
    // Called on the opener's thread when an Open has finished; TakeOpened then has its outcome.
    using FinishedFunction = void (*)(void *context);

    DeviceOpener(AudioOutput::RenderFunction render, AudioOutput::LostFunction lost,
                 FinishedFunction finished, void *context, int bufferFrames);
    // Closes what it was given and what it opened, and stops SDL's audio.
    ~DeviceOpener();
    DeviceOpener(const DeviceOpener &) = delete;
    DeviceOpener &operator=(const DeviceOpener &) = delete;

    void open();                                // any thread
    void close(std::unique_ptr<AudioOutput> o); // any thread; the output stops before the next Open
    std::unique_ptr<SdlOutput> takeOpened();    // the device the last Open found, or nullptr

private:
    void post(std::function<void()> task);
    void run();
    void openOnThread();
    std::unique_ptr<SdlOutput> tryOpen();
    bool startAudio();
    void stopAudio();

    const AudioOutput::RenderFunction m_render; // any: fixed at construction
    const AudioOutput::LostFunction m_lost;     // any: fixed at construction
    const FinishedFunction m_finished;          // any: fixed at construction
    void *const m_context;                      // any: fixed at construction
    const int m_bufferFrames;                   // any: fixed at construction
    bool m_audioStarted = false;                // opener thread
    std::string m_driver;                       // opener thread: the SDL driver that last gave a device
    bool m_failureTold = false;                 // opener thread: warned of this spell without a device
    std::mutex m_mutex;                         // guards what follows
    std::condition_variable m_wake;             // wakes the opener thread
    std::deque<std::function<void()>> m_tasks;  // under m_mutex
    bool m_stop = false;                        // under m_mutex
    std::unique_ptr<SdlOutput> m_opened;        // under m_mutex
    std::thread m_thread;                       // started last
};
