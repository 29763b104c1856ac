// SPDX-License-Identifier: GPL-3.0-or-later
#include "audioengine.h"

#include "medialogging.h"
#include "sources.h"

#include <algorithm>
#include <cstring>
#include <sys/eventfd.h>
#include <unistd.h>

WakeFd::WakeFd() : m_fd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

WakeFd::~WakeFd()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

void WakeFd::signal() const
{
    if (m_fd >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_fd, &one, sizeof one);
    }
}

void WakeFd::drain() const
{
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(m_fd, &count, sizeof count);
}

AudioEngine::AudioEngine(const Setup &setup, QObject *parent)
    : QObject(parent), m_setup(setup), m_synthesizer(OutputRate, setup.soundFonts)
{
    if (m_wakeFd.isValid()) {
        m_wakeNotifier = std::make_unique<QSocketNotifier>(m_wakeFd.fd(), QSocketNotifier::Read);
        connect(m_wakeNotifier.get(), &QSocketNotifier::activated, this, &AudioEngine::deliverEnd);
    } else {
        qCWarning(lcAudio, "No end notices for songs: eventfd failed");
    }
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(setup.idleCloseMs);
    connect(&m_idleTimer, &QTimer::timeout, this, &AudioEngine::closeIdleOutput);
    if (setup.output == Output::Device) {
        m_opener =
            std::make_unique<DeviceOpener>(&AudioEngine::renderTrampoline, &AudioEngine::lostTrampoline,
                                           &AudioEngine::openedTrampoline, this, setup.bufferFrames);
    }
}

AudioEngine::~AudioEngine()
{
    releaseOutput();
    m_opener.reset(); // closes every device: no audio thread renders after this
    {
        std::lock_guard lock(m_lock);
        m_source.reset();
    }
    m_wakeNotifier.reset(); // before the eventfd it watches closes
}

bool AudioEngine::open(std::unique_ptr<Source> source)
{
    close();
    if (!source) {
        return false;
    }
    std::lock_guard lock(m_lock);
    m_source = std::move(source);
    m_hasSource = true;
    return true;
}

void AudioEngine::close()
{
    m_playing.store(false, std::memory_order_release);
    {
        std::lock_guard lock(m_lock);
        m_source.reset(); // a MIDI song silences the synthesizer as it goes
        m_hasSource = false;
    }
    if (m_output && !m_idleTimer.isActive()) {
        m_idleTimer.start();
    }
}

void AudioEngine::play(quint64 session)
{
    if (!m_hasSource) {
        return;
    }
    ensureOutput(); // before the song starts: a stand-in giving way must not take it along
    m_idleTimer.stop();
    std::lock_guard lock(m_lock);
    m_session.store(session, std::memory_order_release);
    m_source->start();
    m_playing.store(true, std::memory_order_release);
}

void AudioEngine::rewind()
{
    std::lock_guard lock(m_lock);
    m_playing.store(false, std::memory_order_release);
    if (m_source) {
        m_source->rewind();
    }
}

bool AudioEngine::hasOutputDevice() const
{
    return m_output && m_output->isDevice();
}

void AudioEngine::render(float *out, int frames)
{
    std::memset(out, 0, sizeof(float) * size_t(frames) * OutputChannels);
    std::unique_lock lock(m_lock, std::try_to_lock);
    if (!lock.owns_lock() || !m_source) {
        return;
    }
    const bool playing = m_playing.load(std::memory_order_acquire);
    if (playing && m_setup.output == Output::Offline) {
        m_source->waitForData(frames);
    }
    const Source::Progress progress = m_source->render(out, frames, playing);
    if (playing && progress != Source::Progress::Sounding) {
        m_playing.store(false, std::memory_order_release);
        m_endedReason.store(progress == Source::Progress::Finished ? EndReason::ReachedTheEnd
                                                                   : EndReason::CouldNotPlay,
                            std::memory_order_relaxed);
        m_endedSession.store(m_session.load(std::memory_order_relaxed), std::memory_order_relaxed);
        m_endPending.store(true, std::memory_order_release);
        m_wakeFd.signal();
    }
    // Guard the device against a song that is louder than full scale.
    std::for_each(out, out + frames * OutputChannels, [](float &s) { s = std::clamp(s, -1.0f, 1.0f); });
    if (m_setup.renderObserver) {
        m_setup.renderObserver(m_setup.renderObserverContext, out, frames);
    }
}

void AudioEngine::renderTrampoline(void *engine, float *out, int frames)
{
    static_cast<AudioEngine *>(engine)->render(out, frames);
}

void AudioEngine::lostTrampoline(void *engine)
{
    static_cast<AudioEngine *>(engine)->m_wakeFd.signal(); // the UI thread finds the lost device
}

void AudioEngine::openedTrampoline(void *engine)
{
    QMetaObject::invokeMethod(static_cast<AudioEngine *>(engine), &AudioEngine::outputOpened,
                              Qt::QueuedConnection);
}

void AudioEngine::ensureOutput()
{
    if (!m_opener || m_opening || (m_output && m_output->isDevice() && !m_output->isLost())) {
        return;
    }
    // A lost device, or the silent stand-in, which gives way while a device is sought: every song
    // without a device tries again, on the opener's thread.
    releaseOutput();
    m_opening = true;
    m_opener->open();
}

void AudioEngine::outputOpened()
{
    m_opening = false;
    releaseOutput();
    m_output = m_opener->takeOpened();
    if (!m_output && m_playing.load(std::memory_order_acquire)) {
        // No device: the song plays into nowhere at its own pace and ends as it would.
        m_output = std::make_unique<NullOutput>(&AudioEngine::renderTrampoline, this, m_setup.bufferFrames);
    }
    if (m_output && !m_playing.load(std::memory_order_acquire)) {
        m_idleTimer.start();
    }
}

void AudioEngine::releaseOutput()
{
    if (m_output && m_output->isDevice()) {
        m_opener->close(std::move(m_output)); // closing a device can take long
    }
    m_output.reset();
}

void AudioEngine::closeIdleOutput()
{
    if (!m_playing.load(std::memory_order_acquire)) {
        releaseOutput(); // an idle program keeps no sound stream running
    }
}

void AudioEngine::deliverEnd()
{
    m_wakeFd.drain();
    if (m_endPending.exchange(false, std::memory_order_acq_rel)) {
        const quint64 session = m_endedSession.load(std::memory_order_relaxed);
        emit ended(session, m_endedReason.load(std::memory_order_relaxed));
    }
    if (m_output && m_output->isLost()) {
        // The sound server went away: the song cannot go on, and the next one looks for a device.
        qCWarning(lcAudio, "The sound device went away: the next song looks for one again");
        const bool playing = m_playing.exchange(false, std::memory_order_acq_rel);
        releaseOutput();
        if (playing) {
            emit ended(m_session.load(std::memory_order_relaxed), EndReason::CouldNotPlay);
        }
    }
    if (!m_playing.load(std::memory_order_acquire) && !m_idleTimer.isActive() && m_output) {
        m_idleTimer.start();
    }
}
