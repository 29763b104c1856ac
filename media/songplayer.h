// SPDX-License-Identifier: GPL-3.0-or-later
// The song player every song goes through: Close(), Open() a file of a kind,
// Play(), Rewind(). Each step returns at once; every Play() is answered by one
// Ended() that tells how the song ended.
#pragma once

#include "audioengine.h"

#include <QObject>
#include <QString>
#include <optional>

class SongPlayer : public QObject
{
    Q_OBJECT

public:
    enum class Kind { Midi, Wave }; // a MIDI song for the synthesizer, a WAVE recording
    enum class Mode { NotOpen, Stopped, Playing };
    Q_ENUM(Mode)
    enum class Ending {
        ReachedItsEnd, // the only ending after which a song may start again
        Superseded,    // played again before it ended
        Aborted,       // closed, rewound or replaced by another song
        Failed,        // nothing open, or the file could not be played
    };
    Q_ENUM(Ending)

    explicit SongPlayer(AudioEngine &engine, QObject *parent = nullptr);

    // The kind the last three letters of a file name tell, in any case ("mid",
    // "wav"); none for any other name, which is never opened.
    static std::optional<Kind> kindOfFile(const QString &path);

    // Stops whatever plays and lets the song go; harmless when nothing is open.
    void close();
    // Closes the song before; a file that cannot be opened leaves nothing open.
    void open(const QString &path, Kind kind);
    // Plays the open song on from where it stands.
    void play();
    // Closes what plays, then opens and plays the file when its name tells a kind the toy plays;
    // false for any other name, which leaves the music stopped.
    bool playFile(const QString &path);
    // Back to the start of the open song, not playing.
    void rewind();
    Mode currentMode() const;
    // The file of the last open(), open or not.
    const QString &fileName() const { return m_fileName; }

signals:
    // Always an event of its own, never inside the step that ended the play.
    void ended(SongPlayer::Ending how);

private:
    void endPlay(Ending how);
    void endLater(Ending how);
    void engineEnded(quint64 session, AudioEngine::EndReason why);

    // All on the UI thread; the engine's notices reach it there.
    AudioEngine &m_engine;
    QString m_fileName;
    quint64 m_steps = 0;       // counts the steps taken, to tell a notice that was overtaken
    quint64 m_playSession = 0; // the play whose Ended() is still owed; 0 when none
};
