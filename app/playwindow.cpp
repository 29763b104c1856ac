// SPDX-License-Identifier: GPL-3.0-or-later
#include "playwindow.h"

#include "applogging.h"
#include "display/displaysettingsdialog.h"
#include "japanesefont.h"
#include "keyslots.h"
#include "lyricstext.h"
#include "music/musicsettingsdialog.h"
#include "paths.h"
#include "random.h"
#include "virtualkey.h"
#include "wayland/waylandprobe.h"
#include "windowguard.h"
#include "windowlayout.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QUrl>
#include <algorithm>

namespace {

constexpr int DesignClientWidth = 8040;  // twips
constexpr int DesignClientHeight = 4272; // twips
constexpr char LockNoticeText[] = "キーボードとマウスを固定できません";

// A few bright keys on a dark board: the drawing the desktop shows for the program,
// rendered from data/zubelo.svg when the program is built, one file for each size.
QIcon makeWindowIcon()
{
    QIcon icon;
    for (const QFileInfo &file : QDir(QStringLiteral(":/icons")).entryInfoList(QDir::Files)) {
        icon.addFile(file.filePath());
    }
    return icon;
}

} // namespace

PlayWindow::PlayWindow(const ProgramFolder &folder, const Settings::Record &settings, const Devices &devices,
                       bool secondCopy, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
    , m_typingBox(new QPlainTextEdit(this))
    , m_volume(new VolumeFrame(devices.mixer, this))
    , m_clickPicture(new ClickPicture(this))
    , m_settingsHelp(new QLabel(this))
    , m_windowHelp(new QLabel(this))
    , m_lockNotice(new QLabel(this))
    , m_folder(folder)
    , m_settings(settings)
    , m_audio(devices.audio)
    , m_player(m_audio)
    , m_secondCopy(secondCopy)
    // A second copy is on its way out: it never takes the keyboard from the first.
    , m_lock(devices.keyboardLock && !secondCopy, makeInputGrab())
{
    createControls();
    m_keyClock.start();
    m_hotKeyTimer.setSingleShot(true);
    m_hotKeyTimer.setInterval(HotKeyGate::Settle);
    connect(&m_hotKeyTimer, &QTimer::timeout, this, &PlayWindow::runWaitingHotKey);
    connect(&m_player, &SongPlayer::ended, this, &PlayWindow::repeatAtEnd);
    WindowGuard::makeTopmost(this);
    setUpFromSettings();
    WindowGuard::hookTextBox(m_typingBox);
    m_lock.watch(this);
}

PlayWindow::~PlayWindow()
{
    if (!m_unloaded) {
        shutDown();
    }
}

void PlayWindow::createControls()
{
    setObjectName(QStringLiteral("playWindow"));
    setWindowTitle(QStringLiteral("Zubelo"));
    setWindowIcon(makeWindowIcon());
    setFont(JapaneseFont::proportional(10.2));
    resize(Twips::toPixels(DesignClientWidth), Twips::toPixels(DesignClientHeight));
    WindowGuard::fixBorderAtNormalSize(this); // the hot keys change the size; the edges do not

    m_typingBox->setObjectName(QStringLiteral("typingBox"));
    m_typingBox->setGeometry(Twips::rect(0, 0, 8052, 3372));
    m_typingBox->setFont(JapaneseFont::monospaced(10.2));
    m_typingBox->setAttribute(Qt::WA_InputMethodEnabled, false); // each key types its plain character
    m_typingBox->setFrameShape(QFrame::NoFrame);
    // The box has no scroll bars: it follows the caret, and there is nothing else to right-click.
    m_typingBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_typingBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTypingColour(KeyResponse::colourOf(KeyResponse::Colours[0]));
    m_typingBox->installEventFilter(this);
    m_typingBox->viewport()->installEventFilter(this);
    m_typingBox->viewport()->setMouseTracking(true);
    setMouseTracking(true);

    m_volume->move(Twips::toPixels(5640), Twips::toPixels(3720));
    m_volume->setAttribute(Qt::WA_NoMousePropagation); // a click on the volume frame is its own
    m_volume->slider()->installEventFilter(this);      // the hot keys work while the slider has the keys
    connect(m_volume, &VolumeFrame::focusReturned, m_typingBox, qOverload<>(&QWidget::setFocus));
    // Once there is a mixer, a picture stays as long as the slider keeps the keyboard after a change
    // (1000 ms, against 600 ms without one): both follow the mixer's pace.
    connect(m_volume, &VolumeFrame::mixerFound, this,
            [this] { m_clickPicture->setHideAfter(std::chrono::milliseconds(m_volume->focusDelay())); });

    m_settingsHelp->setObjectName(QStringLiteral("settingsHelp"));
    m_settingsHelp->setText(QStringLiteral("   終了: Shift+X   曲の設定: Shift+M   表示の設定: Shift+V"));
    m_windowHelp->setObjectName(QStringLiteral("windowHelp"));
    m_windowHelp->setText(
        QStringLiteral("   最小化: Shift+S   普通ｻｲｽﾞ: Shift+N   最大化: Shift+L   ﾍﾙﾌﾟ: Shift+H"));
    for (QLabel *line : {m_settingsHelp, m_windowHelp}) {
        line->setFont(JapaneseFont::proportional(9));
        line->adjustSize();
        line->setAttribute(Qt::WA_NoMousePropagation); // a click on the help lines is theirs
    }
    m_settingsHelp->move(0, Twips::toPixels(3720));
    m_windowHelp->move(0, Twips::toPixels(3960));
    // Where a parent looks and a child does not care; a message box would be clicked away.
    m_lockNotice->setObjectName(QStringLiteral("lockNotice"));
    QFont noticeFont = JapaneseFont::proportional(9);
    noticeFont.setBold(true);
    m_lockNotice->setFont(noticeFont);
    m_lockNotice->setStyleSheet(QStringLiteral("color: #b00000"));
    m_lockNotice->setAttribute(Qt::WA_TransparentForMouseEvents); // the strip stays the toy's
    m_lockNotice->hide();
    connect(&m_lock, &InputLock::failingChanged, m_lockNotice, &QWidget::setVisible);

    m_clickPicture->raise(); // the click picture lies above the typing box
    setTabOrder(m_typingBox, m_volume->slider());
    m_typingBox->setFocus();
}

void PlayWindow::setUpFromSettings()
{
    // An empty folder is the program folder itself. One that is gone (or is no
    // folder) gives way to the program folder for this run's pictures only: the
    // record keeps the stored folder until a parent chooses another, so a
    // program folder that the settings file cannot name never blocks a save.
    QString pictures = Paths::locate(m_folder.resolve(m_settings.pictureFolder));
    if (!QFileInfo(pictures).isDir()) {
        pictures = m_folder.path();
    }
    m_clickPicture->setFolder(pictures);
    setTypingFontSize(m_settings.inputFontSize);
}

void PlayWindow::leaveIfSecondCopy()
{
    if (m_secondCopy && !m_leaving) {
        m_leaving = true;
        // Leave through the normal shut-down, after the activation has been handled.
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void PlayWindow::shutDown()
{
    WindowGuard::unhookTextBox(m_typingBox);
    m_player.close();
    m_unloaded = true;
    m_lock.stop();
}

void PlayWindow::placeControls()
{
    WindowLayout::Input input;
    input.clientWidth = width() * Twips::PerPixel;
    input.clientHeight = height() * Twips::PerPixel;
    input.settingsHelpHeight = m_settingsHelp->height() * Twips::PerPixel;
    input.windowHelpHeight = m_windowHelp->height() * Twips::PerPixel;
    input.volumeFrameWidth = m_volume->width() * Twips::PerPixel;
    const WindowLayout::Placement placement = WindowLayout::place(input);
    m_typingBox->setGeometry(0, 0, Twips::toPixels(placement.typingWidth),
                             Twips::toPixels(placement.typingHeight));
    m_settingsHelp->move(0, Twips::toPixels(placement.settingsHelpTop));
    m_windowHelp->move(0, Twips::toPixels(placement.windowHelpTop));
    m_volume->move(Twips::toPixels(placement.volumeFrameLeft), Twips::toPixels(placement.volumeFrameTop));
    placeLockNotice();
}

void PlayWindow::placeLockNotice()
{
    // Between the longer help line and the volume frame, over both lines' height; cut short with
    // "…" where the screen is too narrow for all of it.
    constexpr int Gap = 12; // pixels
    const int left = std::max(m_settingsHelp->geometry().right(), m_windowHelp->geometry().right()) + 1 + Gap;
    const int width = std::max(0, m_volume->x() - Gap - left);
    m_lockNotice->setGeometry(left, m_settingsHelp->y(), width,
                              m_windowHelp->geometry().bottom() + 1 - m_settingsHelp->y());
    m_lockNotice->setText(
        m_lockNotice->fontMetrics().elidedText(QString::fromUtf8(LockNoticeText), Qt::ElideRight, width));
}

void PlayWindow::setSizeState(SizeState state)
{
    switch (state) {
    case SizeState::Minimised: showMinimized(); break;
    case SizeState::Normal: showNormal(); break;
    case SizeState::Maximised:
        WindowGuard::freeBorder(this); // a window of one fixed size would not be maximised
        // A Wayland compositor maximises only where it likes (a tiling one never does) and
        // keeps its panels above: full screen covers the screen on every one.
        if (Wayland::runsOnWayland()) {
            showFullScreen();
        } else {
            showMaximized();
        }
        break;
    }
}

bool PlayWindow::respondToKey(int keyCode, int modifiers)
{
    m_escWasLast = keyCode == KeyCodes::Esc; // a key held back by the wait counts too
    const bool playing = m_player.currentMode() == SongPlayer::Mode::Playing;
    const std::optional<KeyResponse::Response> response =
        KeyResponse::forKey(keyCode, modifiers, m_settings, m_folder, playing);
    respond(response);
    return response.has_value();
}

void PlayWindow::respondToClick(KeyResponse::Button button)
{
    m_escWasLast = false;
    const bool playing = m_player.currentMode() == SongPlayer::Mode::Playing;
    respond(KeyResponse::forClick(button, m_settings, m_folder, playing));
}

void PlayWindow::respond(const std::optional<KeyResponse::Response> &response)
{
    if (!response) {
        return; // held back: the song, the colour and the lyrics stay
    }
    if (response->paints) {
        setTypingColour(KeyResponse::colourForDraw(Random::next()));
    }
    // A lyrics file that is there but cannot be read counts as no lyrics.
    if (!response->lyrics.isEmpty() && loadLyrics(response->lyrics)) {
        m_lyricsShown = true;
        setTypingFontSize(m_settings.lyricsFontSize);
    } else if (m_lyricsShown) {
        m_typingBox->clear();
        setTypingFontSize(m_settings.inputFontSize);
        m_lyricsShown = false;
    }
    playSong(response->song);
}

bool PlayWindow::loadLyrics(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcLyrics, "Zubelo cannot read the lyrics %s: %s", qPrintable(path),
                  qPrintable(file.errorString()));
        return false;
    }
    QString text;
    const QByteArray bytes = file.read(MaxLyricsBytes);
    const QStringList lines = LyricsText::lines(bytes, !file.atEnd()); // a huge file is cut
    for (const QString &line : lines) {
        text += line + u'\n'; // every line ends with a line break, the last one too
    }
    m_typingBox->setPlainText(text);
    m_typingBox->moveCursor(QTextCursor::Start);
    m_typingBox->ensureCursorVisible();
    return true;
}

void PlayWindow::playSong(const QString &path)
{
    m_player.playFile(path); // no song, or one of a kind the toy does not play: the music has stopped
}

void PlayWindow::repeatAtEnd(SongPlayer::Ending how)
{
    // A song that played to its end starts again, unless Esc was the last key.
    if (how == SongPlayer::Ending::ReachedItsEnd && !m_escWasLast && m_settings.playRepeat) {
        m_player.rewind();
        m_player.play();
    }
}

void PlayWindow::setTypingColour(const QColor &colour)
{
    QPalette palette = m_typingBox->palette();
    palette.setColor(QPalette::Base, colour);
    m_typingBox->setPalette(palette);
}

void PlayWindow::setTypingFontSize(int points)
{
    QFont font = m_typingBox->font();
    font.setPointSize(std::clamp(points, 1, Settings::MaxFontSize)); // the largest the settings allow
    m_typingBox->setFont(font);
}

bool PlayWindow::event(QEvent *event)
{
    // A window manager that keeps new windows from taking the focus never
    // activates a second copy, so the first show counts as an activation too.
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) {
        leaveIfSecondCopy();
    }
    // Keys let go while another window has the keyboard are never seen here.
    if (event->type() == QEvent::WindowDeactivate) {
        m_hotKeyGate.forget();
    }
    return QWidget::event(event);
}

void PlayWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeControls();
}

void PlayWindow::closeEvent(QCloseEvent *event)
{
    shutDown();
    event->accept();
}
