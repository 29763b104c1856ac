// SPDX-License-Identifier: GPL-3.0-or-later
// The display settings dialog "表示の設定": the two font sizes of the play
// window and the folder whose pictures a click shows, in its copy of the
// settings. OK checks, applies to the play window at once (through the two
// signals) and saves.
#pragma once

#include "programfolder.h"
#include "settings.h"

#include <QDialog>

class DriveListBox;
class FolderListBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class DisplaySettingsDialog : public QDialog
{
    Q_OBJECT

public:
    // Edits a copy of the settings; a relative picture folder is in the program folder.
    DisplaySettingsDialog(const Settings::Record &settings, const ProgramFolder &folder,
                          QWidget *parent = nullptr);

    // The settings as the dialog leaves them.
    const Settings::Record &settings() const { return m_settings; }

signals:
    // The play window lists the pictures of this folder from now on.
    void pictureFolderChanged(const QString &folder);
    // The play window shows typed characters at this size from now on.
    void inputFontSizeChanged(int points);

private:
    QLabel *const m_intro;
    QGroupBox *const m_pictureFolderFrame;
    DriveListBox *const m_drives;
    FolderListBox *const m_folders;
    QGroupBox *const m_fontSizeFrame;
    QLabel *const m_inputFontSizeLabel;
    QLineEdit *const m_inputFontSize;
    QLabel *const m_lyricsFontSizeLabel;
    QLineEdit *const m_lyricsFontSize;
    QPushButton *const m_ok;
    QPushButton *const m_cancel;

    // OK: checks the choices, applies them to the play window and saves.
    void applyAndSave();
    // Fills the controls from the settings record.
    void loadSettings();
    // Opens the selected drive's current folder in the folder list.
    void openSelectedDrive();
    void showError(QWidget *atFault);

    const ProgramFolder m_folder;
    Settings::Record m_settings;
    QString m_openedFolder;       // where m_folders opened
    bool m_openedInstead = false; // m_folders opened elsewhere than the stored folder's own spelling
};
