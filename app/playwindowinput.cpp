// SPDX-License-Identifier: GPL-3.0-or-later
// The play window's input: Qt's keys and mouse events become hot keys, key responses,
// typed characters, click pictures and click songs.
#include "playwindow.h"

#include "display/displaysettingsdialog.h"
#include "music/musicsettingsdialog.h"
#include "virtualkey.h"
#include "windowlayout.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QUrl>
#include <algorithm>
#include <utility>

namespace {

// Where a mouse event is, in whole pixels of the window, by way of the twips the window's design counts in.
QPoint pointerOf(const QMouseEvent *event)
{
    return QPoint(Twips::toPixels(float(event->position().x() * Twips::PerPixel)),
                  Twips::toPixels(float(event->position().y() * Twips::PerPixel)));
}

} // namespace

bool PlayWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_typingBox->viewport() && dynamic_cast<QMouseEvent *>(event)) {
        return handleMouse(static_cast<QMouseEvent *>(event)) || QWidget::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return QWidget::eventFilter(watched, event);
    }
    const auto *keyEvent = static_cast<QKeyEvent *>(event);
    const int keyCode = VirtualKey::virtualKeyCode(*keyEvent);
    // Keys that share a code (those the slot table does not list) differ in their native scan code.
    const HotKeyGate::Key gateKey{keyEvent->nativeScanCode() ? keyEvent->nativeScanCode() : quint32(keyCode),
                                  keyCode, VirtualKey::modifierMask(keyEvent->modifiers())};
    if (event->type() == QEvent::KeyRelease) {
        if (!keyEvent->isAutoRepeat()) {
            m_hotKeyGate.release(gateKey);
        }
        return QWidget::eventFilter(watched, event);
    }
    // The window sees every key before the control that has the focus. A letter that may be a
    // parent's hot key waits a moment to see whether more keys follow, as under a palm.
    const PendingKey key{keyCode,
                         gateKey.modifiers,
                         {keyEvent->key(), keyEvent->modifiers(), keyEvent->text()},
                         watched == m_typingBox};
    const HotKeyGate::Outcome outcome =
        keyEvent->isAutoRepeat()
            ? HotKeyGate::Outcome{}
            : m_hotKeyGate.press(gateKey, std::chrono::milliseconds(m_keyClock.elapsed()));
    if (outcome.releasesWaiting && m_waitingKey) {
        goOn(*std::exchange(m_waitingKey, std::nullopt)); // its timer then finds nothing waiting
    }
    if (outcome.waitsFor != HotKeys::Action::None) {
        m_waitingKey = key;
        m_hotKeyTimer.start();
        return true;
    }
    // A handled key does nothing of its own (arrows leave the caret alone), but the character it
    // types still arrives. A key held back by the wait acts as in any text box.
    if (key.onTypingBox && respondToKey(keyCode, key.modifiers)) {
        typeCharacter(key.typed);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void PlayWindow::runWaitingHotKey()
{
    const HotKeys::Action action = m_hotKeyGate.settle();
    const std::optional<PendingKey> key = std::exchange(m_waitingKey, std::nullopt);
    if (key && !runHotKey(action, *key)) {
        goOn(*key);
    }
}

void PlayWindow::goOn(const PendingKey &key)
{
    if (key.onTypingBox && !m_unloaded) {
        respondToKey(key.keyCode, key.modifiers);
        typeCharacter(key.typed);
    }
}

bool PlayWindow::runHotKey(HotKeys::Action action, const PendingKey &key)
{
    using HotKeys::Action;
    switch (action) {
    case Action::None: break;
    case Action::Quit:
        m_player.close();
        close();
        return true; // the window is gone, the key goes nowhere
    case Action::MusicSettings:
    case Action::DisplaySettings:
        m_player.close(); // the song stops before the dialog opens, and does not come back
        // The dialog opens once this key is over; the key goes on when the dialog has closed, with
        // the settings as the dialog left them (nothing plays then, so nothing holds it back).
        QMetaObject::invokeMethod(
            this,
            [this, action, key] {
                openSettings(action);
                goOn(key);
            },
            Qt::QueuedConnection);
        return true;
    case Action::Minimise: setSizeState(SizeState::Minimised); break;
    case Action::NormalSize: setSizeState(SizeState::Normal); break;
    case Action::Maximise: setSizeState(SizeState::Maximised); break;
    case Action::Help:
        setSizeState(SizeState::Minimised);
        // Whatever the desktop opens web pages with; a missing page or program says nothing here.
        QDesktopServices::openUrl(QUrl::fromLocalFile(m_folder.resolve(QStringLiteral("Help.htm"))));
        break;
    }
    return false;
}

void PlayWindow::openSettings(HotKeys::Action action)
{
    if (m_unloaded) {
        return; // asked to end before the dialog could open
    }
    // Each dialog edits a copy of the settings and hands it back when it closes: as saved, as put
    // back, or with what its close box left.
    if (action == HotKeys::Action::MusicSettings) {
        MusicSettingsDialog dialog(m_settings, m_folder, m_audio); // no owner: a window of its own, modal
        dialog.exec();
        m_settings = dialog.settings();
        return;
    }
    DisplaySettingsDialog dialog(m_settings, m_folder);
    connect(&dialog, &DisplaySettingsDialog::pictureFolderChanged, m_clickPicture, &ClickPicture::setFolder);
    connect(&dialog, &DisplaySettingsDialog::inputFontSizeChanged, this, &PlayWindow::setTypingFontSize);
    dialog.exec();
    m_settings = dialog.settings();
}

void PlayWindow::typeCharacter(const TypedKey &typed)
{
    if (typed.modifiers & (Qt::ControlModifier | Qt::AltModifier)) {
        return; // Ctrl and Alt combinations type nothing
    }
    switch (typed.key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: m_typingBox->insertPlainText(QStringLiteral("\n")); return;
    case Qt::Key_Backspace: m_typingBox->textCursor().deletePreviousChar(); return;
    case Qt::Key_Tab: m_typingBox->insertPlainText(QStringLiteral("\t")); return;
    default: break;
    }
    if (!typed.text.isEmpty()
        && std::all_of(typed.text.begin(), typed.text.end(), [](QChar c) { return c.isPrint(); })) {
        m_typingBox->insertPlainText(typed.text);
    }
}

bool PlayWindow::handleMouse(QMouseEvent *event)
{
    // The window and the typing box answer the mouse alike; the volume frame and the help lines keep theirs.
    const QPoint at = pointerOf(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        m_clickPicture->press(at);
        if (const std::optional<KeyResponse::Button> button = KeyResponse::clickButton(event->button())) {
            respondToClick(*button);
        }
        break;
    case QEvent::MouseMove: m_clickPicture->follow(at); break;
    case QEvent::MouseButtonRelease: m_clickPicture->release(); break;
    default: return false;
    }
    // The middle button would paste the X selection into the box; it only plays its song here.
    return event->button() == Qt::MiddleButton;
}
