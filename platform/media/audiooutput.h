// SPDX-License-Identifier: GPL-3.0-or-later
// Where rendered sound goes: a sound device through SDL, or, when there is no
// device at all, nowhere, at the same real-time pace.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class AudioOutput
{
public:
    // Fills frames of interleaved stereo float; called on the output's own thread.
    using RenderFunction = void (*)(void *context, float *out, int frames);

    virtual ~AudioOutput() = default;

    // A device when one can be opened, else a silent stand-in.
    static std::unique_ptr<AudioOutput> Open(RenderFunction render, void *context, int bufferFrames);
    virtual bool IsDevice() const = 0;
};

class SdlOutput : public AudioOutput
{
public:
    static std::unique_ptr<SdlOutput> Open(RenderFunction render, void *context, int bufferFrames);
    ~SdlOutput() override;
    SdlOutput(const SdlOutput &) = delete;
    SdlOutput &operator=(const SdlOutput &) = delete;
    bool IsDevice() const override { return true; }

private:
    SdlOutput() = default;
    static void callback(void *self, unsigned char *stream, int bytes);

    // Set on the UI thread before the device starts, read on SDL's audio thread.
    unsigned m_device = 0;
    RenderFunction m_render = nullptr;
    void *m_context = nullptr;
};

class NullOutput : public AudioOutput
{
public:
    NullOutput(RenderFunction render, void *context, int bufferFrames);
    ~NullOutput() override;
    NullOutput(const NullOutput &) = delete;
    NullOutput &operator=(const NullOutput &) = delete;
    bool IsDevice() const override { return false; }

private:
    void run(int bufferFrames);

    RenderFunction m_render;        // any: fixed before the thread starts
    void *m_context;                // any: fixed before the thread starts
    std::mutex m_mutex;             // UI and output thread: guards m_stop
    std::condition_variable m_wake; // wakes the output thread to stop
    bool m_stop = false;            // under m_mutex
    std::thread m_thread;           // UI thread
};
