// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/media/mediacontrol.h"

#include "platform/media/audioengine.h"
#include "platform/media/sources.h"

#include <QTimer>

MediaControl::MediaControl(AudioEngine &engine, QObject *parent) : QObject(parent), m_engine(engine)
{
    connect(&m_engine, &AudioEngine::Ended, this, &MediaControl::engineEnded);
}

void MediaControl::setCommand(const QString &command)
{
    m_command = command;
    ++m_epoch;
    const QString name = command.toLower();
    if (name == u"open") {
        open();
    } else if (name == u"play") {
        play();
    } else if (name == u"close") {
        close();
    } else if (name == u"prev") {
        prev();
    } else if (name == u"stop") {
        endPlay(Aborted);
        m_engine.Pause();
    }
}

int MediaControl::Mode() const
{
    if (!m_engine.IsOpen()) {
        return ModeNotOpen;
    }
    return m_engine.IsPlaying() ? ModePlaying : ModeStopped;
}

void MediaControl::open()
{
    close();
    std::unique_ptr<Source> source;
    const QString type = m_deviceType.toLower();
    if (type == u"sequencer") {
        source = OpenMidiSource(m_fileName, m_engine.Synth());
    } else if (type == u"waveaudio") {
        source = OpenWaveSource(m_fileName);
    }
    m_engine.Open(std::move(source)); // nothing open when it fails: "Play" then tells of the failure
}

void MediaControl::play()
{
    const quint64 session = ++m_nextSession;
    if (!m_engine.IsOpen()) {
        notifyLater(Failure); // nothing open, or the file could not be opened
        return;
    }
    endPlay(Superseded);
    m_playSession = session;
    m_engine.Play(session);
}

void MediaControl::close()
{
    endPlay(Aborted);
    m_engine.Close();
}

void MediaControl::prev()
{
    endPlay(Aborted);
    m_engine.Rewind();
}

// The play still owed a notice gets it now, with the code of what cut it short.
void MediaControl::endPlay(int code)
{
    if (m_playSession != 0) {
        notifyLater(code);
        m_playSession = 0;
    }
}

void MediaControl::notifyLater(int code)
{
    if (!m_notify) {
        return;
    }
    // Raised after the command returns, as a separate event. An end that was
    // overtaken on its way by a command for the device (a new song, "Close")
    // never arrives as success, so it can never restart the wrong song.
    const quint64 epoch = m_epoch;
    QTimer::singleShot(0, this, [this, epoch, code] {
        const bool overtaken = code == Successful && epoch != m_epoch;
        emit Done(overtaken ? Aborted : code);
    });
}

void MediaControl::engineEnded(quint64 session, int code)
{
    if (session == 0 || session != m_playSession) {
        return; // a play that was closed or replaced already has its notice
    }
    m_playSession = 0;
    notifyLater(code);
}
