// SPDX-License-Identifier: GPL-3.0-or-later
// The display settings dialog "表示の設定": the two font sizes of the play
// window and the folder whose pictures a click shows. OK checks, applies to
// the play window at once (through the two signals) and saves.
#pragma once

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
    explicit DisplaySettingsDialog(QWidget *parent = nullptr);

    // OK: checks the choices, applies them to the play window and saves.
    void applyAndSave();

    QLabel *const mIntro;
    QGroupBox *const mPictureFolderFrame;
    DriveListBox *const mDrives;
    FolderListBox *const mFolders;
    QGroupBox *const mFontSizeFrame;
    QLabel *const mInputFontSizeLabel;
    QLineEdit *const mInputFontSize;
    QLabel *const mLyricsFontSizeLabel;
    QLineEdit *const mLyricsFontSize;
    QPushButton *const mOk;
    QPushButton *const mCancel;

signals:
    // The play window lists the pictures of this folder from now on.
    void pictureFolderChanged(const QString &folder);
    // The play window shows typed characters at this size from now on.
    void inputFontSizeChanged(int points);

private:
    // Fills the controls from the settings record.
    void loadSettings();
    // Opens the selected drive's current folder in the folder list.
    void openSelectedDrive();
    void showError(QWidget *atFault);

    QString m_openedFolder;       // where m_folders opened
    bool m_openedInstead = false; // m_folders opened elsewhere than the stored folder's own spelling
};
