// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/voicetakes.h"

#include "atomicfile.h"
#include "medialogging.h"
#include "paths.h"
#include "voicefile.h"
#include "voiceshaping.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString Folder = QStringLiteral("voices");

} // namespace

VoiceTakes::VoiceTakes(const ProgramFolder &folder, QObject *parent) : QObject(parent), m_folder(folder)
{
    connect(&m_recorder, &VoiceRecorder::levelChanged, this, &VoiceTakes::levelChanged);
    connect(&m_recorder, &VoiceRecorder::ended, this, &VoiceTakes::ended);
}

VoiceTakes::~VoiceTakes()
{
    removeUnnamed({}); // a recording under way ends with the recorder, untold
}

void VoiceTakes::record(int slot)
{
    if (isRecording()) {
        return; // one take at a time, for the key it began with
    }
    m_slot = slot;
    emit recordingChanged(true);
    m_recorder.start();
}

bool VoiceTakes::isTake(const QString &song) const
{
    return !song.isEmpty() && m_takes.contains(fullPath(song));
}

void VoiceTakes::keepNamed(const std::array<QString, KeySlots::SlotCount> &songs)
{
    m_recorder.cancel();
    removeUnnamed(songs);
}

void VoiceTakes::removeUnnamed(const std::array<QString, KeySlots::SlotCount> &songs)
{
    for (const QString &take : std::as_const(m_takes)) {
        const bool named = std::any_of(songs.begin(), songs.end(), [this, &take](const QString &song) {
            return !song.isEmpty() && fullPath(song) == take;
        });
        if (!named) {
            QFile::remove(take);
        }
    }
    m_takes.clear(); // the kept ones are the settings' now, like any other song
}

void VoiceTakes::ended(VoiceRecorder::Ending how)
{
    using Ending = VoiceRecorder::Ending;
    emit recordingChanged(false);
    switch (how) {
    case Ending::Cancelled: break;
    case Ending::NoMicrophone:
        emit failed(QStringLiteral("録音できません。マイクが見つからないか、使えない状態です。\n"
                                   "マイクをつないでから、もう一度「録音」を押してください。"));
        break;
    case Ending::MicrophoneLost:
        emit failed(QStringLiteral("録音の途中でマイクが使えなくなりました。\n"
                                   "マイクを確かめてから、もう一度録音してください。"));
        break;
    case Ending::Stopped:
    case Ending::TimeUp: keep(m_recorder.samples()); break;
    }
}

void VoiceTakes::keep(const std::vector<float> &samples)
{
    const std::vector<float> voice = VoiceShaping::shaped(samples, VoiceRecorder::Rate);
    if (voice.empty()) {
        emit failed(
            QStringLiteral("マイクから音が届きませんでした。\n"
                           "マイクが消音(ミュート)になっていないか、音量が小さすぎないか確かめてください。"));
        return;
    }
    const QString folder = fullPath(Folder);
    QString error = QStringLiteral("WAVE ﾌｧｲﾙを作れませんでした。");
    const QByteArray wave = VoiceFile::encodeWave(voice, VoiceRecorder::Rate);
    const QString path = wave.isEmpty() ? QString()
                                        : AtomicFile::writeNew(folder, KeySlots::keyFileName(m_slot),
                                                               QStringLiteral(".wav"), wave, &error);
    if (path.isEmpty()) {
        qCWarning(lcAudio, "Zubelo could not save a recording in %s: %s", qPrintable(folder),
                  qPrintable(error));
        emit failed(QStringLiteral("録音をﾌｧｲﾙに保存できませんでした。\n  ") + folder + QStringLiteral("\n  ")
                    + error);
        return;
    }
    m_takes << path;
    emit recorded(m_slot, Paths::join(Folder, QFileInfo(path).fileName()));
}
