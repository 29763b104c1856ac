// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/media/audiooutput.h"

#include "platform/logging.h"
#include "platform/media/sources.h"

#include <QtGlobal>
#include <SDL.h>
#include <chrono>
#include <cstring>
#include <vector>

namespace {

// SDL's audio subsystem, started once and stopped when the program ends.
class SdlAudio
{
public:
    static bool Available()
    {
        static SdlAudio instance;
        return instance.m_ok;
    }

private:
    SdlAudio() : m_ok(initAudio())
    {
        if (!m_ok) {
            qCWarning(lcAudio, "No sound output (%s): songs play silently", SDL_GetError());
        }
    }
    ~SdlAudio()
    {
        if (m_ok) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
    }
    static bool initAudio()
    {
        // SIGTERM and SIGINT are the program's: SDL would take them for an SDL_QUIT nobody reads.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }
    bool m_ok;
};

} // namespace

std::unique_ptr<AudioOutput> AudioOutput::Open(RenderFunction render, void *context, int bufferFrames)
{
    if (std::unique_ptr<SdlOutput> device = SdlOutput::Open(render, context, bufferFrames)) {
        return device;
    }
    return std::make_unique<NullOutput>(render, context, bufferFrames);
}

std::unique_ptr<SdlOutput> SdlOutput::Open(RenderFunction render, void *context, int bufferFrames)
{
    if (!SdlAudio::Available()) {
        return nullptr;
    }
    std::unique_ptr<SdlOutput> output(new SdlOutput);
    output->m_render = render;
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
        qCWarning(lcAudio, "The sound device cannot be opened (%s): songs play silently", SDL_GetError());
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
