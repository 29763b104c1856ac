// SPDX-License-Identifier: GPL-3.0-or-later
// The music settings dialog "曲の設定": a song file for each key of the
// on-screen keyboard, and the two playing flags. Each accepted name and each
// flag goes into its copy of the settings at once; Cancel puts the copy back
// as it came, OK saves it.
#pragma once

#include "music/voicetakes.h"
#include "programfolder.h"
#include "settings.h"
#include "songplayer.h"

#include <QDialog>

class OnScreenKeyboard;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class MusicSettingsDialog : public QDialog
{
    Q_OBJECT

public:
    // Edits a copy of the settings; relative song names are found in the program folder. Songs are
    // tried out on the play window's engine, which plays nothing else while the dialog is open.
    MusicSettingsDialog(const Settings::Record &settings, const ProgramFolder &folder, AudioEngine &engine,
                        QWidget *parent = nullptr);
    ~MusicSettingsDialog() override;

    // The settings as the dialog leaves them: saved by OK, put back by Cancel and Esc, and with the
    // names taken so far when the close box ends it.
    const Settings::Record &settings() const { return m_settings; }

    // A click on a key of the on-screen keyboard: keeps the typed song of the
    // key shown so far (or stays on it when that name is refused), then shows the new key's song.
    void selectKey(int slot);
    // The browse button: Qt's file dialog, opened at the key's song.
    void browseForSong();
    // 録音 and 停止: a parent's own sound for the selected key, kept in the folder "voices".
    void toggleRecording();
    // 試聴 pressed in or out: the selected key's song plays or stops.
    void audition(bool play);
    const SongPlayer &auditionPlayer() const { return m_player; }

    // The check box captions, which wrap to two lines after their two ideographic spaces.
    static QString playWaitCaption();
    static QString playRepeatCaption();

private:
    QLabel *const m_intro;
    QGroupBox *const m_songsFrame;
    QLabel *const m_clickAKey;
    OnScreenKeyboard *const m_keyboard;
    QLabel *const m_keyName;
    QLabel *const m_songFileLabel;
    QLineEdit *const m_songFile;
    QPushButton *const m_browse;
    QCheckBox *const m_playWait;
    QCheckBox *const m_playRepeat;
    QPushButton *const m_ok;
    QPushButton *const m_cancel;
    QPushButton *const m_record;
    QProgressBar *const m_level; // the microphone's level while recording
    QPushButton *const m_audition;

    void reject() override;
    void closeEvent(QCloseEvent *event) override;
    void loadSettings();
    // Stores the typed name as the slot's song; false (with a message) when it names no file
    // or the settings file cannot hold it.
    bool commitSongFile(int slot);
    void takePlayWait();
    void takePlayRepeat();
    void saveAndClose();
    void putBackAndClose();
    void showRecording(bool recording);
    void takeRecording(int slot, const QString &song);
    void stopAudition();

    const ProgramFolder m_folder;
    const Settings::Record m_opened; // what Cancel puts back
    Settings::Record m_settings;
    qint16 m_currentSlot = 0;
    bool m_closingByCloseBox = false;
    VoiceTakes m_takes;
    SongPlayer m_player; // the songs 試聴 plays
};
