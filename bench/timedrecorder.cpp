// SPDX-License-Identifier: GPL-3.0-or-later
#include "timedrecorder.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
#include <pulse/error.h>
#include <pulse/simple.h>
#include <thread>

struct TimedRecorder::State
{
    std::thread thread;
    std::atomic<bool> stop{false};
    std::atomic<bool> connected{false};
    std::mutex lock;
    std::vector<float> samples;
    std::vector<qint64> arrivals; // one per piece
};

TimedRecorder::TimedRecorder(int pieceFrames) : m_state(std::make_unique<State>()), m_pieceFrames(pieceFrames)
{
}

TimedRecorder::~TimedRecorder()
{
    stop();
}

bool TimedRecorder::start()
{
    State *state = m_state.get();
    const QByteArray sink =
        qEnvironmentVariable("ZUBELO_TEST_SINK", QStringLiteral("zubelo_sink")).toUtf8() + ".monitor";
    std::atomic<int> result{0}; // 1 connected, -1 failed
    const int pieceFrames = m_pieceFrames;
    state->thread = std::thread([state, sink, pieceFrames, &result] {
        const pa_sample_spec format{PA_SAMPLE_S16LE, Rate, 1};
        pa_buffer_attr attr{};
        attr.maxlength = uint32_t(-1);
        attr.fragsize = uint32_t(pieceFrames * 2);
        int error = 0;
        pa_simple *stream = pa_simple_new(nullptr, "zubelo-test", PA_STREAM_RECORD, sink.constData(),
                                          "record", &format, nullptr, &attr, &error);
        result = stream ? 1 : -1;
        if (!stream) {
            qWarning("Cannot record from the sound server: %s", pa_strerror(error));
            return;
        }
        std::vector<qint16> piece(static_cast<size_t>(pieceFrames), qint16(0));
        while (!state->stop && pa_simple_read(stream, piece.data(), piece.size() * 2, &error) == 0) {
            const qint64 now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count();
            std::lock_guard guard(state->lock);
            for (qint16 s : piece) {
                state->samples.push_back(float(s) / 32768.0f);
            }
            state->arrivals.push_back(now);
        }
        pa_simple_free(stream);
    });
    while (result == 0) {
        QThread::msleep(5);
    }
    if (result < 0) {
        state->thread.join();
        return false;
    }
    // A new recording stream of the test server hears nothing for its first second
    // or so. Short beeps go into the sink until the recording hears one; once the
    // sink is quiet again, the recording starts afresh.
    const QDeadlineTimer deadline(20000);
    while (firstLoudSample(0, 0.1f) < 0) {
        if (deadline.hasExpired() || !playProbe()) {
            return false;
        }
        const QDeadlineTimer listen(300);
        while (firstLoudSample(0, 0.1f) < 0 && !listen.hasExpired()) {
            QThread::msleep(5);
        }
    }
    const size_t quiet = Rate / 4;
    while (!deadline.hasExpired()) {
        {
            std::lock_guard guard(state->lock);
            size_t lastLoud = 0;
            for (size_t i = 0; i < state->samples.size(); ++i) {
                if (std::fabs(state->samples[i]) > 0.01f) {
                    lastLoud = i;
                }
            }
            if (state->samples.size() > lastLoud + quiet) {
                state->samples.clear();
                state->arrivals.clear();
                return true;
            }
        }
        QThread::msleep(20);
    }
    return false;
}

bool TimedRecorder::playProbe()
{
    // 50 ms of a loud 1 kHz tone, played to the end.
    QByteArray tone;
    for (int i = 0; i < Rate / 20; ++i) {
        const qint16 sample = qint16(16000 * std::sin(2 * M_PI * 1000 * i / Rate));
        tone.append(reinterpret_cast<const char *>(&sample), 2);
    }
    const QString sink = qEnvironmentVariable("ZUBELO_TEST_SINK", QStringLiteral("zubelo_sink"));
    QProcess player;
    player.start(QStringLiteral("pacat"),
                 {QStringLiteral("--playback"), QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                  QStringLiteral("--rate=%1").arg(Rate), QStringLiteral("--channels=1"),
                  QStringLiteral("--device=") + sink});
    if (!player.waitForStarted()) {
        return false;
    }
    player.write(tone);
    player.closeWriteChannel();
    return player.waitForFinished(10000) && player.exitCode() == 0;
}

std::vector<float> TimedRecorder::stop()
{
    if (m_state->thread.joinable()) {
        m_state->stop = true;
        m_state->thread.join();
    }
    std::lock_guard guard(m_state->lock);
    return m_state->samples;
}

size_t TimedRecorder::sampleCount() const
{
    std::lock_guard guard(m_state->lock);
    return m_state->samples.size();
}

qint64 TimedRecorder::arrivalOf(size_t sample) const
{
    std::lock_guard guard(m_state->lock);
    const size_t piece = sample / size_t(m_pieceFrames);
    return piece < m_state->arrivals.size() ? m_state->arrivals[piece] : -1;
}

qint64 TimedRecorder::firstLoudSample(size_t from, float threshold) const
{
    std::lock_guard guard(m_state->lock);
    for (size_t i = from; i < m_state->samples.size(); ++i) {
        if (std::fabs(m_state->samples[i]) > threshold) {
            return qint64(i);
        }
    }
    return -1;
}
