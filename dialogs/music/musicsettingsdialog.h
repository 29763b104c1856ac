// SPDX-License-Identifier: GPL-3.0-or-later
// The music settings dialog "曲の設定": a song file for each key of the
// on-screen keyboard, and the two playing flags. It works on the settings
// record directly and keeps a copy to put back on Cancel.
#pragma once

#include "keyslots.h"

#include <QDialog>
#include <array>

class OnScreenKeyboard;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class MusicSettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MusicSettingsDialog(QWidget *parent = nullptr);

    // A click on a key of the on-screen keyboard: keeps the typed song of the
    // key shown so far (or stays on it when that name is refused), then shows the new key's song.
    void selectKey(int slot);
    // The browse button: Qt's file dialog, opened at the key's song.
    void browseForSong();

    // The check box captions, which wrap to two lines after their two ideographic spaces.
    static QString playWaitCaption();
    static QString playRepeatCaption();

    QLabel *const mIntro;
    QGroupBox *const mSongsFrame;
    QLabel *const mClickAKey;
    OnScreenKeyboard *const mKeyboard;
    QLabel *const mKeyName;
    QLabel *const mSongFileLabel;
    QLineEdit *const mSongFile;
    QPushButton *const mBrowse;
    QCheckBox *const mPlayWait;
    QCheckBox *const mPlayRepeat;
    QPushButton *const mOk;
    QPushButton *const mCancel;

public slots:
    // Esc and Cancel put the record back; the window's close box leaves it as it is.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void loadSettings();
    // Stores the typed name as the slot's song; false (with a message) when it names no file
    // or the settings file cannot hold it.
    bool commitSongFile(int slot);
    void takePlayWait();
    void takePlayRepeat();
    void saveAndClose();
    void putBackAndClose();

    // Dialog state for one opening.
    qint16 m_currentSlot = 0;
    std::array<QString, KeySlots::SlotCount> m_savedSongFiles;
    bool m_savedPlayWait = false;
    bool m_savedPlayRepeat = false;
    bool m_closingByCloseBox = false;
};
