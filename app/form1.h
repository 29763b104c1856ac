// SPDX-License-Identifier: GPL-3.0-or-later
// The play window: one big text box a child types into, a picture for every
// mouse press, a song for every key, and a small volume slider for the parent.
#pragma once

#include "app/inputlock.h"
#include "app/volumeframe.h"
#include "platform/filelistbox.h"
#include "platform/instancelock.h"
#include "platform/media/audioengine.h"
#include "platform/media/songplayer.h"

#include <array>

#include <QTimer>
#include <QWidget>

class QLabel;
class QPlainTextEdit;

class Form1 : public QWidget
{
    Q_OBJECT

public:
    // The sound output and the volume mixer; tests render offline and may go without a mixer.
    struct Devices
    {
        AudioEngine::Options audio;
        QString mixer = QStringLiteral("default"); // empty: no volume step at all
        bool keyboardLock = false;                 // hold keyboard and pointer while maximised and active
    };

    explicit Form1(QWidget *parent = nullptr) : Form1(Devices{}, parent) {}
    explicit Form1(const Devices &devices, QWidget *parent = nullptr);
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
    // Puts the whole lyrics file into Text1, caret at the start; false when it cannot be read.
    bool LoadLyrics(const QString &path);
    void PlaySong(const QString &path);
    void MMControl1_Done(SongPlayer::Ending how);

    // Mouse handlers; Button 1 left, 2 right, 4 middle; X and Y in twips.
    void Form_MouseDown(int Button, int Shift, float X, float Y) { Text1_MouseDown(Button, Shift, X, Y); }
    void Form_MouseMove(int Button, int Shift, float X, float Y) { Text1_MouseMove(Button, Shift, X, Y); }
    void Form_MouseUp(int Button, int Shift, float X, float Y) { Text1_MouseUp(Button, Shift, X, Y); }
    void Text1_MouseDown(int Button, int Shift, float X, float Y);
    void Text1_MouseMove(int Button, int Shift, float X, float Y);
    void Text1_MouseUp(int Button, int Shift, float X, float Y);
    void Timer2_Timer();
    // Loads a picture into Picture1, sized for the window; false when the file is no picture.
    bool LoadPicture(const QString &path);
    // A picture larger than this is never decoded (a decompression bomb stays a file).
    static constexpr int MaxPictureMegabytes = 128;

    // The colours a key paints the text box in, as 0xBBGGRR values.
    static constexpr std::array<quint32, 8> KeyColours{0xC00000, 0x808000, 0x008000, 0xC000C0,
                                                       0x0000C0, 0xFFFFFF, 0x008080, 0x004080};
    static QColor ColourOf(quint32 bgr);
    // Mouse buttons as the handlers take them: 1 left, 2 right, 4 middle.
    static int MouseButtonMask(Qt::MouseButtons buttons);
    // Lyrics are shown up to this many bytes of their file, so a huge file cannot stall the toy.
    static constexpr qint64 MaxLyricsBytes = 256 * 1024;

    // Shows typed text at the given size; sizes the settings allow but a font
    // cannot take (0 and below, past 2160) are shown at the nearest size that works.
    void SetText1FontSize(int points);

    // Controls, by their designer names.
    QPlainTextEdit *const Text1;
    QLabel *const Picture1;
    VolumeFrame *const Volume;
    QLabel *const Label1;
    QLabel *const Label2;
    QLabel *const LockNotice; // beside the help lines while the lock cannot hold
    QTimer Timer2;
    FileListBox File1;

private:
    AudioEngine Audio; // built before MMControl1, which plays through it

public:
    SongPlayer MMControl1;

    // The window's own state, to read.
    const QString &startDir() const { return StartDir; }
    qint16 lastPressedCode() const { return LastPressedCode; }
    bool lyricsShown() const { return LyricsShown; }
    // The engine behind MMControl1; with offline output, tests render through it.
    AudioEngine &audio() { return Audio; }

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void setUpVolume();
    void setText1BackColour(quint32 bgr);
    bool typeCharacterOf(const QKeyEvent *event);
    void placeLockNotice();
    // Hands a mouse event of the window (onForm) or of the text box to its handler;
    // true when the event must go no further.
    bool routeMouse(QMouseEvent *event, bool onForm);

    // State kept for the window's whole life.
    QString StartDir;
    qint16 LastPressedCode = 0;
    bool LyricsShown = false;

    InstanceLock m_instance;
    InputLock m_lock;
    bool m_unloaded = false;
    bool m_leaving = false; // a second copy on its way out
};
