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

class FormViewOptions : public QDialog
{
    Q_OBJECT

public:
    static constexpr int MaxFontSize = 2160;

    explicit FormViewOptions(QWidget *parent = nullptr);

    void Form_Load();
    void Drive1_Change();
    void CommandOK_Click();
    void CommandCancel_Click();

    // Controls, by their designer names.
    QLabel *const Label1;
    QGroupBox *const Frame1;
    DriveListBox *const Drive1;
    FolderListBox *const Dir1;
    QGroupBox *const Frame2;
    QLabel *const Label2;
    QLineEdit *const Text1;
    QLabel *const Label3;
    QLineEdit *const Text2;
    QPushButton *const CommandOK;
    QPushButton *const CommandCancel;

signals:
    // The play window lists the pictures of this folder from now on.
    void pictureFolderChanged(const QString &folder);
    // The play window shows typed characters at this size from now on.
    void inputFontSizeChanged(int points);

private:
    void showError(QWidget *atFault);

    QString m_openedFolder;       // where Dir1 opened
    bool m_openedInstead = false; // Dir1 opened elsewhere than the stored folder's own spelling
};
