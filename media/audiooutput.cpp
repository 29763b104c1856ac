// SPDX-License-Identifier: GPL-3.0-or-later
#include "audiooutput.h"

#include "medialogging.h"
#include "sources.h"

#include <QtGlobal>
#include <SDL.h>
#include <chrono>
#include <cstring>
#include <vector>

std::mutex &sdlAudioLock()
{
    static std::mutex lock;
    return lock;
}

std::unique_ptr<SdlOutput> SdlOutput::open(RenderFunction render, LostFunction lost, void *context,
                                           int bufferFrames)
{
    std::unique_ptr<SdlOutput> output(new SdlOutput);
    output->m_render = render;
    output->m_lostNotice = lost;
    output->m_context = context;
    SDL_AudioSpec wanted{};
    wanted.freq = OutputRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = OutputChannels;
    wanted.samples = Uint16(bufferFrames);
    wanted.callback = &SdlOutput::callback;
    wanted.userdata = output.get();
    SDL_AudioSpec obtained{};
    // SDL converts to whatever the device takes; the engine always renders one format.
    output->m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (output->m_device == 0) {
        return nullptr;
    }
    SDL_PauseAudioDevice(output->m_device, 0);
    return output;
}

SdlOutput::~SdlOutput()
{
    if (m_device != 0) {
        SDL_CloseAudioDevice(m_device); // waits for the callback to return
    }
}

void SdlOutput::callback(void *self, unsigned char *stream, int bytes)
{
    auto *output = static_cast<SdlOutput *>(self);
    // SDL goes on calling a device that went away, into nowhere: a song must not go on there.
    if (output->m_lost.load(std::memory_order_relaxed)
        || SDL_GetAudioDeviceStatus(output->m_device) != SDL_AUDIO_PLAYING) {
        std::memset(stream, 0, size_t(bytes));
        if (!output->m_lost.exchange(true, std::memory_order_acq_rel)) {
            output->m_lostNotice(output->m_context);
        }
        return;
    }
    const int frames = bytes / int(sizeof(float) * OutputChannels);
    output->m_render(output->m_context, reinterpret_cast<float *>(stream), frames);
}

NullOutput::NullOutput(RenderFunction render, void *context, int bufferFrames)
    : m_render(render), m_context(context), m_thread(&NullOutput::run, this, bufferFrames)
{
}

NullOutput::~NullOutput()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void NullOutput::run(int bufferFrames)
{
    std::vector<float> buffer(size_t(bufferFrames) * OutputChannels);
    const auto period = std::chrono::microseconds(qint64(bufferFrames) * 1000000 / OutputRate);
    auto next = std::chrono::steady_clock::now();
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        lock.unlock();
        m_render(m_context, buffer.data(), bufferFrames);
        lock.lock();
        next += period;
        m_wake.wait_until(lock, next, [this] { return m_stop; });
    }
}

DeviceOpener::DeviceOpener(AudioOutput::RenderFunction render, AudioOutput::LostFunction lost,
                           FinishedFunction finished, void *context, int bufferFrames)
    : m_render(render)
    , m_lost(lost)
    , m_finished(finished)
    , m_context(context)
    , m_bufferFrames(bufferFrames)
    , m_thread(&DeviceOpener::run, this)
{
}

DeviceOpener::~DeviceOpener()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void DeviceOpener::open()
{
    post([this] { openOnThread(); });
}

void DeviceOpener::close(std::unique_ptr<AudioOutput> o)
{
    // A task must be copyable; this one holds the only reference, so the output goes on this thread.
    std::shared_ptr<AudioOutput> shared(std::move(o));
    post([this, output = std::move(shared)]() mutable {
        const bool lost = output->isLost();
        output.reset();
        if (lost) {
            stopAudio(); // its server is gone: the next device comes from a fresh start
        }
    });
}

std::unique_ptr<SdlOutput> DeviceOpener::takeOpened()
{
    std::lock_guard lock(m_mutex);
    return std::move(m_opened);
}

void DeviceOpener::post(std::function<void()> task)
{
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }
    m_wake.notify_all();
}

void DeviceOpener::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_tasks.empty(); });
        if (m_tasks.empty()) {
            break; // stopping, with everything asked done
        }
        std::function<void()> task = std::move(m_tasks.front());
        m_tasks.pop_front();
        lock.unlock();
        {
            std::lock_guard sdl(sdlAudioLock());
            task();
        }
        lock.lock();
    }
    std::unique_ptr<SdlOutput> opened = std::move(m_opened);
    lock.unlock();
    std::lock_guard sdl(sdlAudioLock());
    opened.reset();
    stopAudio();
}

void DeviceOpener::openOnThread()
{
    const bool wasStarted = m_audioStarted;
    std::unique_ptr<SdlOutput> device = tryOpen();
    if (!device && wasStarted) {
        // SDL started before the sound server went away may not reach the new one.
        stopAudio();
        device = tryOpen();
    }
    if (device) {
        if (const char *driver = SDL_GetCurrentAudioDriver()) {
            m_driver = driver;
        }
        m_failureTold = false;
    } else {
        if (!m_failureTold) {
            qCWarning(lcAudio, "No sound device (%s): songs play silently until one can be opened",
                      SDL_GetError());
            m_failureTold = true;
        }
        stopAudio(); // nothing of SDL runs while the program waits for a server
    }
    {
        std::lock_guard lock(m_mutex);
        m_opened = std::move(device);
    }
    m_finished(m_context);
}

std::unique_ptr<SdlOutput> DeviceOpener::tryOpen()
{
    return startAudio() ? SdlOutput::open(m_render, m_lost, m_context, m_bufferFrames) : nullptr;
}

bool DeviceOpener::startAudio()
{
    if (m_audioStarted) {
        return true;
    }
    // SIGTERM and SIGINT are the program's: SDL would take them for an SDL_QUIT nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A driver that gave a device before is asked alone (SDL_AUDIODRIVER still wins): it fails at once
    // while its server is away, where trying every driver would start one that polls for devices.
    if (!m_driver.empty()) {
        SDL_SetHint(SDL_HINT_AUDIODRIVER, m_driver.c_str());
    }
    m_audioStarted = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    return m_audioStarted;
}

void DeviceOpener::stopAudio()
{
    if (m_audioStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_audioStarted = false;
    }
}
