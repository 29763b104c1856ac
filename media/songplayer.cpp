// SPDX-License-Identifier: GPL-3.0-or-later
#include "songplayer.h"

#include "audioengine.h"
#include "sources.h"

#include <QTimer>

SongPlayer::SongPlayer(AudioEngine &engine, QObject *parent) : QObject(parent), m_engine(engine)
{
    connect(&m_engine, &AudioEngine::ended, this, &SongPlayer::engineEnded);
}

std::optional<SongPlayer::Kind> SongPlayer::kindOfFile(const QString &path)
{
    const QString last = path.right(3).toLower(); // the kind is in the name alone, not the contents
    if (last == u"mid") {
        return Kind::Midi;
    }
    if (last == u"wav") {
        return Kind::Wave;
    }
    return std::nullopt;
}

void SongPlayer::close()
{
    ++m_steps;
    endPlay(Ending::Aborted);
    m_engine.close();
}

void SongPlayer::open(const QString &path, Kind kind)
{
    close();
    m_fileName = path;
    std::unique_ptr<Source> source;
    switch (kind) {
    case Kind::Midi: source = openMidiSource(path, m_engine.synth()); break;
    case Kind::Wave: source = openWaveSource(path); break;
    }
    m_engine.open(std::move(source)); // nothing open when it fails: Play() then tells of the failure
}

bool SongPlayer::playFile(const QString &path)
{
    close();
    const std::optional<Kind> kind = kindOfFile(path);
    if (kind) {
        open(path, *kind);
        play();
    }
    return kind.has_value();
}

void SongPlayer::play()
{
    ++m_steps;
    const quint64 session = m_engine.newSession();
    if (!m_engine.isOpen()) {
        endLater(Ending::Failed); // nothing open, or the file could not be opened
        return;
    }
    endPlay(Ending::Superseded);
    m_playSession = session;
    m_engine.play(session);
}

void SongPlayer::rewind()
{
    ++m_steps;
    endPlay(Ending::Aborted);
    m_engine.rewind();
}

SongPlayer::Mode SongPlayer::currentMode() const
{
    if (!m_engine.isOpen()) {
        return Mode::NotOpen;
    }
    return m_engine.isPlaying() ? Mode::Playing : Mode::Stopped;
}

// The play still owed its Ended() gets it now, with what cut it short.
void SongPlayer::endPlay(Ending how)
{
    if (m_playSession != 0) {
        endLater(how);
        m_playSession = 0;
    }
}

void SongPlayer::endLater(Ending how)
{
    // Delivered after the step returns, as a separate event. An end that was
    // overtaken on its way by another step (a new song, Close()) never arrives
    // as reaching the end, so it can never restart the wrong song.
    const quint64 steps = m_steps;
    QTimer::singleShot(0, this, [this, steps, how] {
        const bool overtaken = how == Ending::ReachedItsEnd && steps != m_steps;
        emit ended(overtaken ? Ending::Aborted : how);
    });
}

void SongPlayer::engineEnded(quint64 session, AudioEngine::EndReason why)
{
    if (session == 0 || session != m_playSession) {
        return; // a play that was closed or replaced already has its Ended()
    }
    m_playSession = 0;
    endLater(why == AudioEngine::EndReason::ReachedTheEnd ? Ending::ReachedItsEnd : Ending::Failed);
}
