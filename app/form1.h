// SPDX-License-Identifier: GPL-3.0-or-later
// The play window: one big text box a child types into, a picture for every
// mouse press, a song for every key, and a small volume slider for the parent.
#pragma once

#include "platform/filelistbox.h"
#include "platform/instancelock.h"

#include <QTimer>
#include <QWidget>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QScrollBar;

class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    // Window size states of the hot keys.
    enum WindowState { Normal = 0, Minimized = 1, Maximized = 2 };
    void SetWindowState(WindowState state);

    // The handlers, by the names the rest of the program knows them by.
    void Form_Load();
    void Form_Activate();
    void Form_QueryUnload();
    void Form_Unload();
    void Form_Resize();
    void Form_KeyDown(int KeyCode, int Shift);
    void Text1_KeyDown(int &KeyCode, int &Shift);

    // Shows typed text at the given size; sizes the settings allow but a font
    // cannot take (0 and below, past 2160) are shown at the nearest size that works.
    void SetText1FontSize(int points);

    // Controls, by their designer names.
    QPlainTextEdit *const Text1;
    QLabel *const Picture1;
    QGroupBox *const Frame1;
    QScrollBar *const HScroll1;
    QLabel *const Label3;
    QLabel *const Label4;
    QLabel *const Label1;
    QLabel *const Label2;
    QTimer Timer1;
    QTimer Timer2;
    FileListBox File1;

    // State kept for the window's whole life.
    QString StartDir;
    qint16 LastPressedCode = 0;
    bool LyricsShown = false;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();

    InstanceLock m_instance;
    bool m_unloaded = false;
};
