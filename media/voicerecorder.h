// SPDX-License-Identifier: GPL-3.0-or-later
// Records the desktop's default microphone through SDL. SDL's capture thread
// fills a buffer made beforehand for the longest recording; the UI thread looks
// at it on a timer for the level and for the end. The microphone opens and
// closes on a thread of its own, so that a slow or missing sound server never
// holds the window, and it is open only while a recording is under way.
#pragma once

#include <QObject>
#include <QTimer>
#include <memory>
#include <thread>
#include <vector>

class VoiceRecorder : public QObject
{
    Q_OBJECT

public:
    static constexpr int Rate = 48000;
    static constexpr int MaxSeconds = 10; // a word, a name, a greeting: a key's sound is short

    enum class Ending {
        Stopped,        // stop(): the recording holds what came so far
        TimeUp,         // MaxSeconds recorded
        Cancelled,      // cancel(): nobody wants it
        NoMicrophone,   // none could be opened
        MicrophoneLost, // it went away while recording (its sound server stopped)
    };
    Q_ENUM(Ending)

    explicit VoiceRecorder(QObject *parent = nullptr);
    // Closes the microphone of a recording under way, without a word.
    ~VoiceRecorder() override;
    VoiceRecorder(const VoiceRecorder &) = delete;
    VoiceRecorder &operator=(const VoiceRecorder &) = delete;

    // Opens the microphone and records; ended() follows, once.
    void start();
    void stop();
    void cancel();
    bool isRecording() const { return bool(m_capture); }
    // Mono samples at Rate of the recording that ended last (none unless Stopped or TimeUp).
    const std::vector<float> &samples() const { return m_samples; }

signals:
    // The loudest sample since the last notice, 0 to 1, about thirty times a second.
    void levelChanged(float peak);
    void ended(VoiceRecorder::Ending how);

private:
    struct Capture;
    struct Session
    {
        std::shared_ptr<Capture> capture;
        std::thread thread; // opens the microphone, waits, closes it
    };

    void look();
    void openFailed(const std::shared_ptr<Capture> &capture);
    void finish(Ending how);
    void joinClosed(bool all);

    std::shared_ptr<Capture> m_capture; // the recording under way; UI thread
    std::vector<Session> m_sessions;    // UI thread; each joined once its microphone is closed
    std::vector<float> m_samples;       // UI thread
    size_t m_seen = 0;                  // UI thread: samples the level has looked at
    QTimer m_timer;                     // UI thread
};
