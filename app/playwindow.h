// SPDX-License-Identifier: GPL-3.0-or-later
// The play window: one big typing box a child types into, a picture for every
// mouse press, a song for every key, and a small volume slider for the parent.
#pragma once

#include "audioengine.h"
#include "clickpicture.h"
#include "hotkeygate.h"
#include "hotkeys.h"
#include "inputlock.h"
#include "keyresponse.h"
#include "programfolder.h"
#include "settings.h"
#include "songplayer.h"
#include "volumeframe.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class QLabel;
class QPlainTextEdit;

class PlayWindow : public QWidget
{
    Q_OBJECT

public:
    // The sound output and the volume mixer; tests render offline and may go without a mixer.
    struct Devices
    {
        AudioEngine::Setup audio;
        QString mixer = QStringLiteral("default"); // empty: no volume step at all
        bool keyboardLock = false;                 // hold keyboard and pointer while maximised and active
    };

    // The window on a program folder and the settings read from it. A second copy of the program
    // (secondCopy) takes nothing from the first and leaves once it is shown.
    PlayWindow(const ProgramFolder &folder, const Settings::Record &settings, const Devices &devices,
               bool secondCopy = false, QWidget *parent = nullptr);
    ~PlayWindow() override;

    enum class SizeState { Normal, Minimised, Maximised };
    void setSizeState(SizeState state);

    // Puts the whole lyrics file into the typing box, caret at the start; false when it cannot be read.
    bool loadLyrics(const QString &path);
    // Closes the song that plays and plays this one, when it is a song the toy plays.
    void playSong(const QString &path);
    // Shows typed text at the given size; sizes the settings allow but a font
    // cannot take (0 and below) are shown at the nearest size that works.
    void setTypingFontSize(int points);
    // Lyrics are shown up to this many bytes of their file, so a huge file cannot stall the toy.
    static constexpr qint64 MaxLyricsBytes = 256 * 1024;

    QPlainTextEdit *typingBox() const { return m_typingBox; }
    ClickPicture *clickPicture() const { return m_clickPicture; }
    QLabel *settingsHelp() const { return m_settingsHelp; } // quit and the two settings dialogs
    QLabel *windowHelp() const { return m_windowHelp; }     // window sizes and the help page
    QLabel *lockNotice() const { return m_lockNotice; }
    VolumeFrame *volumeFrame() const { return m_volume; }
    SongPlayer &player() { return m_player; }
    // The engine behind the player; with offline output, tests render through it.
    AudioEngine &audio() { return m_audio; }
    // What the settings are now: as read at start, as the dialogs left them.
    const Settings::Record &settings() const { return m_settings; }

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override { handleMouse(event); }
    void mouseMoveEvent(QMouseEvent *event) override { handleMouse(event); }
    void mouseReleaseEvent(QMouseEvent *event) override { handleMouse(event); }
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // What a key types into the typing box, kept when the key's response waits for a dialog.
    struct TypedKey
    {
        int key = 0;
        Qt::KeyboardModifiers modifiers;
        QString text;
    };
    // A key on its way: what it is, what it types, and whether the typing box has it.
    struct PendingKey
    {
        int keyCode = 0;
        int modifiers = 0;
        TypedKey typed;
        bool onTypingBox = false;
    };

    void createControls();
    void setUpFromSettings();
    void leaveIfSecondCopy();
    void shutDown();
    void placeControls();
    void placeLockNotice();
    // The hot key's action; true when the key goes no further now (the window is closing, or the
    // key waits for a dialog).
    bool runHotKey(HotKeys::Action action, const PendingKey &key);
    void runWaitingHotKey();
    // The key's song, colour, lyrics and character, as any key has them.
    void goOn(const PendingKey &key);
    void openSettings(HotKeys::Action action);
    // Plays the key's song, paints and shows lyrics; false when the key was held back and only types.
    bool respondToKey(int keyCode, int modifiers);
    void respondToClick(KeyResponse::Button button);
    void respond(const std::optional<KeyResponse::Response> &response);
    void repeatAtEnd(SongPlayer::Ending how);
    void typeCharacter(const TypedKey &typed);
    // Hands a mouse event of the window or of the typing box to the click picture and the click songs;
    // true when the event must go no further.
    bool handleMouse(QMouseEvent *event);
    void setTypingColour(const QColor &colour);

    QPlainTextEdit *const m_typingBox;
    VolumeFrame *const m_volume;
    ClickPicture *const m_clickPicture;
    QLabel *const m_settingsHelp;
    QLabel *const m_windowHelp;
    QLabel *const m_lockNotice; // beside the help lines while the lock cannot hold
    const ProgramFolder m_folder;
    Settings::Record m_settings;
    AudioEngine m_audio; // built before the player, which plays through it
    SongPlayer m_player;
    const bool m_secondCopy;
    InputLock m_lock;
    HotKeyGate m_hotKeyGate;
    QElapsedTimer m_keyClock; // the time of each key for the gate
    QTimer m_hotKeyTimer;     // a letter waits this long for keys that would follow it
    std::optional<PendingKey> m_waitingKey;
    // Esc was the last key: the song that ends then does not repeat. A click counts as a key here,
    // so its song repeats even right after Esc.
    bool m_escWasLast = false;
    bool m_lyricsShown = false;
    bool m_unloaded = false;
    bool m_leaving = false; // a second copy on its way out
};
