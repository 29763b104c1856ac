// SPDX-License-Identifier: GPL-3.0-or-later
// A parent's recordings for keys during one opening of the music dialog. A take
// is recorded from the microphone, trimmed of silence, levelled, and written
// whole as a new WAVE file in the folder "voices" of the program folder, named
// after its key. What the dialog's end does not keep is removed again; a file
// made before this opening is never touched.
#pragma once

#include "keyslots.h"
#include "programfolder.h"
#include "voicerecorder.h"

#include <QDir>
#include <QObject>
#include <QStringList>
#include <array>

class VoiceTakes : public QObject
{
    Q_OBJECT

public:
    explicit VoiceTakes(const ProgramFolder &folder, QObject *parent = nullptr);
    // Removes every take that was not kept.
    ~VoiceTakes() override;

    // Records for the slot's key until stop(), the time limit or a fault.
    void record(int slot);
    void stop() { m_recorder.stop(); }
    bool isRecording() const { return m_recorder.isRecording(); }

    // Whether a stored song name names a take of this opening.
    bool isTake(const QString &song) const;
    // Ends a recording under way unsaved, keeps the takes that songs name and removes the others.
    void keepNamed(const std::array<QString, KeySlots::SlotCount> &songs = {});

signals:
    void levelChanged(float peak);
    void recordingChanged(bool recording);
    // song: the take's name relative to the program folder, as "voices/A.wav".
    void recorded(int slot, const QString &song);
    void failed(const QString &message);

private:
    void ended(VoiceRecorder::Ending how);
    void keep(const std::vector<float> &samples);
    void removeUnnamed(const std::array<QString, KeySlots::SlotCount> &songs);
    // A stored song name as a path that can be compared with a take's.
    QString fullPath(const QString &song) const { return QDir::cleanPath(m_folder.resolve(song)); }

    const ProgramFolder m_folder;
    VoiceRecorder m_recorder;
    int m_slot = 0;
    QStringList m_takes; // full paths of this opening's files that may still go
};
