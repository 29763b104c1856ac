// SPDX-License-Identifier: GPL-3.0-or-later
// The music settings dialog "曲の設定": a song file for each key of the
// on-screen keyboard, and the two playing flags. It works on the settings
// record directly and keeps a copy to put back on Cancel.
#pragma once

#include "settings/keyslots.h"

#include <QDialog>
#include <array>

class OnScreenKeyboard;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class FormMusicOptions : public QDialog
{
    Q_OBJECT

public:
    explicit FormMusicOptions(QWidget *parent = nullptr);

    void Form_Load();
    void Label1_Click(int Index);
    void CommandFileBrowse_Click();
    void CheckPlayWait_Click();
    void CheckPlayRepeat_Click();
    void CommandOK_Click();
    void CommandCancel_Click();
    bool CommitSongFile(int slot);

    // The check box captions, which wrap to two lines after their two ideographic spaces.
    static QString PlayWaitCaption();
    static QString PlayRepeatCaption();

    // Controls, by their designer names.
    QLabel *const Label3;
    QGroupBox *const FrameMusic;
    QLabel *const Label2;
    OnScreenKeyboard *const Keyboard;
    QLabel *const LabelKeyName;
    QLabel *const Label4;
    QLineEdit *const TextFilename;
    QPushButton *const CommandFileBrowse;
    QCheckBox *const CheckPlayWait;
    QCheckBox *const CheckPlayRepeat;
    QPushButton *const CommandOK;
    QPushButton *const CommandCancel;

    // Dialog state for one opening.
    qint16 CurrentSlot = 0;
    std::array<QString, KeySlots::SlotCount> SavedSongFiles;
    bool SavedPlayWait = false;
    bool SavedPlayRepeat = false;

public slots:
    // Esc and Cancel put the record back; the window's close box leaves it as it is.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool m_closingByCloseBox = false;
};
