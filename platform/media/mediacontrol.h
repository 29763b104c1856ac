// SPDX-License-Identifier: GPL-3.0-or-later
// The media control every song goes through: set FileName and DeviceType,
// then send commands ("Open", "Play", "Prev", "Close"). Commands return at
// once; Done tells how a "Play" ended.
#pragma once

#include <QObject>
#include <QString>

class AudioEngine;

class MediaControl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Notify READ Notify WRITE setNotify)
    Q_PROPERTY(bool Wait READ Wait WRITE setWait)
    Q_PROPERTY(bool Shareable READ Shareable WRITE setShareable)
    Q_PROPERTY(QString FileName READ FileName WRITE setFileName)
    Q_PROPERTY(QString DeviceType READ DeviceType WRITE setDeviceType)
    Q_PROPERTY(QString Command READ Command WRITE setCommand)
    Q_PROPERTY(int Mode READ Mode)

public:
    static constexpr int ModeNotOpen = 524; // MCI "not open"
    static constexpr int ModeStopped = 525; // MCI "stopped"
    static constexpr int ModePlaying = 526; // MCI "playing"

    enum NotifyCode { Successful = 1, Superseded = 2, Aborted = 4, Failure = 8 };

    explicit MediaControl(AudioEngine &engine, QObject *parent = nullptr);

    bool Notify() const { return m_notify; }
    void setNotify(bool notify) { m_notify = notify; }
    // Commands never wait for the song here: "Play" always returns at once.
    bool Wait() const { return m_wait; }
    void setWait(bool wait) { m_wait = wait; }
    // One program plays on its device at a time; kept for completeness.
    bool Shareable() const { return m_shareable; }
    void setShareable(bool shareable) { m_shareable = shareable; }
    QString FileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }
    QString DeviceType() const { return m_deviceType; }
    void setDeviceType(const QString &deviceType) { m_deviceType = deviceType; }
    QString Command() const { return m_command; }
    void setCommand(const QString &command);
    int Mode() const;

signals:
    void Done(int NotifyCode);

private:
    void open();
    void play();
    void close();
    void prev();
    void endPlay(int code);
    void notifyLater(int code);
    void engineEnded(quint64 session, int code);

    // All on the UI thread; the engine's notices reach it there.
    AudioEngine &m_engine;
    bool m_notify = false;
    bool m_wait = false;
    bool m_shareable = false;
    QString m_fileName;
    QString m_deviceType;
    QString m_command;
    quint64 m_nextSession = 0;
    quint64 m_epoch = 0;       // counts commands, to tell a notice that was overtaken
    quint64 m_playSession = 0; // the "Play" whose notice is still owed; 0 when none
};
