// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form1.h"

#include "app/layout.h"
#include "dialogs/display/formviewoptions.h"
#include "dialogs/messages.h"
#include "dialogs/music/formmusicoptions.h"
#include "platform/api.h"
#include "platform/japanesefont.h"
#include "platform/logging.h"
#include "platform/random.h"
#include "platform/virtualkey.h"
#include "platform/wayland/waylandprobe.h"
#include "settings/keyslots.h"
#include "settings/lyricstext.h"
#include "settings/options.h"
#include "settings/paths.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QUrl>
#include <algorithm>

namespace {

constexpr int DesignClientWidth = 8040;  // twips
constexpr int DesignClientHeight = 4272; // twips
constexpr int MaxShownFontSize = 2160;   // the largest size the display settings allow
constexpr char LockNoticeText[] = "キーボードとマウスを固定できません";

int px(double twips)
{
    return Layout::TwipsToPixels(twips);
}

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

Form1::Form1(const Devices &devices, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
    , Text1(new QPlainTextEdit(this))
    , Picture1(new QLabel(this))
    , Volume(new VolumeFrame(devices.mixer, this))
    , Label1(new QLabel(this))
    , Label2(new QLabel(this))
    , LockNotice(new QLabel(this))
    , File1(QStringLiteral("*.bmp;*jpg;*.gif"))
    , Audio(devices.audio)
    , MMControl1(Audio)
    , m_instance(Options::ProgramFolder())
    // A second copy is on its way out: it never takes the keyboard from the first.
    , m_lock(devices.keyboardLock && !m_instance.AnotherInstanceRunning(), MakeInputGrab())
{
    createControls();
    Form_Load();
    m_lock.Watch(this);
}

Form1::~Form1()
{
    if (!m_unloaded) {
        Form_QueryUnload();
        Form_Unload();
    }
}

void Form1::createControls()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Zubelo"));
    setWindowIcon(makeWindowIcon());
    setFont(JapaneseFont::Proportional(10.2));
    resize(px(DesignClientWidth), px(DesignClientHeight));
    API::FixBorderAtNormalSize(this); // the hot keys change the size; the edges do not

    Timer2.setObjectName(QStringLiteral("Timer2"));
    Timer2.setSingleShot(true);
    Timer2.setInterval(600);

    Picture1->setObjectName(QStringLiteral("Picture1"));
    QImageReader::setAllocationLimit(MaxPictureMegabytes);
    Picture1->setGeometry(Twips::Rect(480, 2520, 732, 612));

    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(Twips::Rect(0, 0, 8052, 3372));
    Text1->setFont(JapaneseFont::Monospaced(10.2));
    Text1->setAttribute(Qt::WA_InputMethodEnabled, false); // each key types its plain character
    Text1->setFrameShape(QFrame::NoFrame);
    // The box has no scroll bars: it follows the caret, and there is nothing else to right-click.
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setText1BackColour(KeyColours[0]); // the design colour is the first key colour
    Text1->installEventFilter(this);
    Text1->viewport()->installEventFilter(this);
    Text1->viewport()->setMouseTracking(true);
    setMouseTracking(true);

    Volume->move(px(5640), px(3720));
    Volume->slider()->installEventFilter(this); // the hot keys work while the slider has the keyboard
    connect(Volume, &VolumeFrame::focusReturned, Text1, qOverload<>(&QWidget::setFocus));
    // Once there is a mixer, a picture stays as long as the slider keeps the keyboard.
    connect(Volume, &VolumeFrame::mixerFound, this, [this] { Timer2.setInterval(Volume->focusDelay()); });

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setText(QStringLiteral("   終了: Shift+X   曲の設定: Shift+M   表示の設定: Shift+V"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setText(
        QStringLiteral("   最小化: Shift+S   普通ｻｲｽﾞ: Shift+N   最大化: Shift+L   ﾍﾙﾌﾟ: Shift+H"));
    for (QLabel *line : {Label1, Label2}) {
        line->setFont(JapaneseFont::Proportional(9));
        line->adjustSize();
    }
    Label1->move(0, px(3720));
    Label2->move(0, px(3960));
    // Where a parent looks and a child does not care; a message box would be clicked away.
    LockNotice->setObjectName(QStringLiteral("LockNotice"));
    QFont noticeFont = JapaneseFont::Proportional(9);
    noticeFont.setBold(true);
    LockNotice->setFont(noticeFont);
    LockNotice->setStyleSheet(QStringLiteral("color: #b00000"));
    LockNotice->setAttribute(Qt::WA_TransparentForMouseEvents); // the strip stays the toy's
    LockNotice->hide();
    connect(&m_lock, &InputLock::failingChanged, LockNotice, &QWidget::setVisible);

    // Clicks on the volume frame and the help lines are theirs, not the window's.
    for (QWidget *own :
         {static_cast<QWidget *>(Volume), static_cast<QWidget *>(Label1), static_cast<QWidget *>(Label2)}) {
        own->setAttribute(Qt::WA_NoMousePropagation);
    }
    Picture1->setAttribute(Qt::WA_TransparentForMouseEvents); // the pointer is always at its corner
    Picture1->setScaledContents(true);
    Picture1->raise(); // the click picture lies above the text box
    connect(&Timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);
    setTabOrder(Text1, Volume->slider());
    Text1->setFocus();
}

void Form1::Form_Load()
{
    StartDir = QDir::currentPath();
    QDir::setCurrent(Options::ProgramFolder());
    API::MakeTopmost(this);
    Options::LoadOptions();
    connect(&MMControl1, &SongPlayer::Ended, this, &Form1::MMControl1_Done);
    Options::Record &settings = Options::Settings();
    Picture1->hide();
    // An empty folder is the program folder itself. One that is gone (or is no
    // folder) gives way to the program folder for this run's pictures only: the
    // record keeps the stored folder until a parent chooses another, so a
    // program folder that the settings file cannot name never blocks a save.
    QString pictures = Paths::Locate(Options::ResolvePath(settings.ImageFolder));
    if (!QFileInfo(pictures).isDir()) {
        pictures = Options::ProgramFolder();
    }
    File1.SetPath(pictures);
    API::HookTextBox(Text1);
    SetText1FontSize(settings.InputFontSize);
    setUpVolume();
}

void Form1::setUpVolume()
{
    // Said once; the slider and the timers keep what they were made with.
    DialogMessages::MixerError(this, Volume->openMixer());
}

void Form1::Form_Activate()
{
    if (m_instance.AnotherInstanceRunning() && !m_leaving) {
        m_leaving = true;
        // Leave through the normal shut-down, after the activation has been handled.
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void Form1::Form_QueryUnload()
{
    API::UnhookTextBox(Text1);
}

void Form1::Form_Unload()
{
    MMControl1.Close();
    QDir::setCurrent(StartDir);
    m_unloaded = true;
    m_lock.Stop();
}

void Form1::Form_Resize()
{
    Layout::Input input;
    input.scaleWidth = width() * Layout::TwipsPerPixel;
    input.scaleHeight = height() * Layout::TwipsPerPixel;
    input.label1Height = Label1->height() * Layout::TwipsPerPixel;
    input.label2Height = Label2->height() * Layout::TwipsPerPixel;
    input.frame1Width = Volume->width() * Layout::TwipsPerPixel;
    const Layout::Placement placement = Layout::Form1Layout(input);
    Text1->setGeometry(0, 0, px(placement.text1Width), px(placement.text1Height));
    Label1->move(0, px(placement.label1Top));
    Label2->move(0, px(placement.label2Top));
    Volume->move(px(placement.frame1Left), px(placement.frame1Top));
    placeLockNotice();
}

void Form1::placeLockNotice()
{
    // Between the longer help line and the volume frame, over both lines' height; cut short with
    // "…" where the screen is too narrow for all of it.
    constexpr int Gap = 12; // pixels
    const int left = std::max(Label1->geometry().right(), Label2->geometry().right()) + 1 + Gap;
    const int width = std::max(0, Volume->x() - Gap - left);
    LockNotice->setGeometry(left, Label1->y(), width, Label2->geometry().bottom() + 1 - Label1->y());
    LockNotice->setText(
        LockNotice->fontMetrics().elidedText(QString::fromUtf8(LockNoticeText), Qt::ElideRight, width));
}

void Form1::SetWindowState(WindowState state)
{
    switch (state) {
    case Minimized: showMinimized(); break;
    case Normal: showNormal(); break;
    case Maximized:
        API::FreeBorder(this); // a window of one fixed size would not be maximised
        // A Wayland compositor maximises only where it likes (a tiling one never does) and
        // keeps its panels above: full screen covers the screen on every one.
        if (Wayland::RunsOnWayland()) {
            showFullScreen();
        } else {
            showMaximized();
        }
        break;
    }
}

void Form1::Form_KeyDown(int KeyCode, int Shift)
{
    if (!(Shift & VirtualKey::ShiftMask)) {
        return; // Ctrl and Alt may be held too; only Shift counts
    }
    switch (KeyCode) {
    case KeyCodes::X:
        MMControl1.Close();
        close();
        break;
    case KeyCodes::M: {
        MMControl1.Close();
        FormMusicOptions dialog; // no owner: a window of its own, modal
        dialog.exec();
        break;
    }
    case KeyCodes::V: {
        MMControl1.Close();
        FormViewOptions dialog;
        connect(&dialog, &FormViewOptions::pictureFolderChanged, this,
                [this](const QString &folder) { File1.SetPath(folder); });
        connect(&dialog, &FormViewOptions::inputFontSizeChanged, this, &Form1::SetText1FontSize);
        dialog.exec();
        break;
    }
    case KeyCodes::H:
        SetWindowState(Minimized);
        // Whatever the desktop opens web pages with; a missing page or program says nothing here.
        QDesktopServices::openUrl(QUrl::fromLocalFile(Options::ResolvePath(QStringLiteral("Help.htm"))));
        break;
    case KeyCodes::S: SetWindowState(Minimized); break;
    case KeyCodes::N: SetWindowState(Normal); break;
    case KeyCodes::L: SetWindowState(Maximized); break;
    default: break;
    }
}

void Form1::Text1_KeyDown(int &KeyCode, int &Shift)
{
    LastPressedCode = qint16(KeyCode);
    const Options::Record &settings = Options::Settings();
    // While a song plays and the parent asked to wait, keys only type; Esc still stops the song.
    if (settings.PlayWait && MMControl1.CurrentMode() == SongPlayer::Mode::Playing
        && KeyCode != KeyCodes::Esc) {
        return;
    }
    QString song = settings.SongFile[size_t(KeySlots::SlotForKeyCode(KeyCode))];
    if (Shift & VirtualKey::AltMask) {
        // Alt with L, R or M plays a click song, as the mouse buttons do; Alt never changes the colour.
        switch (KeyCode) {
        case KeyCodes::L: song = QStringLiteral("ClickLeft.mid"); break;
        case KeyCodes::R: song = QStringLiteral("ClickRight.mid"); break;
        case KeyCodes::M: song = QStringLiteral("ClickMiddle.mid"); break;
        default: break;
        }
    } else {
        const int index = int(Random::Next() * float(KeyColours.size()));
        setText1BackColour(KeyColours[size_t(index)]);
    }
    // Names from the old platform, or read back from the settings file, may be spelled otherwise on disk.
    const QString songPath = Paths::Locate(Options::ResolvePath(song));
    // Lyrics lie beside the song, with "txt" for the last three characters.
    const QString lyricsPath =
        songPath.size() >= 3 ? Paths::Locate(songPath.chopped(3) + QStringLiteral("txt")) : QString();
    const QFileInfo lyrics(lyricsPath);
    // A lyrics file that is there but cannot be read counts as no lyrics.
    if (!lyricsPath.isEmpty() && lyrics.isFile() && !lyrics.fileName().startsWith(u'.')
        && LoadLyrics(lyricsPath)) {
        LyricsShown = true;
        SetText1FontSize(settings.LyricsFontSize);
    } else if (LyricsShown) {
        Text1->clear();
        SetText1FontSize(settings.InputFontSize);
        LyricsShown = false;
    }
    PlaySong(songPath);
    KeyCode = 0;
    Shift = 0;
}

bool Form1::LoadLyrics(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcLyrics, "Zubelo cannot read the lyrics %s: %s", qPrintable(path),
                  qPrintable(file.errorString()));
        return false;
    }
    QString text;
    const QByteArray bytes = file.read(MaxLyricsBytes);
    const QStringList lines = LyricsText::Lines(bytes, !file.atEnd()); // a huge file is cut
    for (const QString &line : lines) {
        text += line + u'\n'; // every line ends with a line break, the last one too
    }
    Text1->setPlainText(text);
    Text1->moveCursor(QTextCursor::Start);
    Text1->ensureCursorVisible();
    return true;
}

void Form1::PlaySong(const QString &path)
{
    MMControl1.Close();
    const std::optional<SongPlayer::Kind> kind = SongPlayer::KindOfFile(path);
    if (!kind) {
        return; // no song, or one of a kind the toy does not play: the music has stopped
    }
    MMControl1.Open(path, *kind);
    MMControl1.Play();
}

void Form1::MMControl1_Done(SongPlayer::Ending how)
{
    // A song that played to its end starts again, unless Esc was the last key.
    if (how == SongPlayer::Ending::ReachedItsEnd && LastPressedCode != KeyCodes::Esc
        && Options::Settings().PlayRepeat) {
        MMControl1.Rewind();
        MMControl1.Play();
    }
}

void Form1::setText1BackColour(quint32 bgr)
{
    QPalette palette = Text1->palette();
    palette.setColor(QPalette::Base, ColourOf(bgr));
    Text1->setPalette(palette);
}

QColor Form1::ColourOf(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

void Form1::SetText1FontSize(int points)
{
    QFont font = Text1->font();
    font.setPointSize(std::clamp(points, 1, MaxShownFontSize));
    Text1->setFont(font);
}

bool Form1::event(QEvent *event)
{
    // A window manager that keeps new windows from taking the focus never
    // activates a second copy, so the first show counts as an activation too.
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) {
        Form_Activate();
    }
    return QWidget::event(event);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text1->viewport() && dynamic_cast<QMouseEvent *>(event)) {
        if (routeMouse(static_cast<QMouseEvent *>(event), false)) {
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    // The window sees every key before the control that has the focus.
    if (event->type() == QEvent::KeyPress) {
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        int keyCode = VirtualKey::VirtualKeyCode(*keyEvent);
        int shift = VirtualKey::ModifierMask(keyEvent->modifiers());
        Form_KeyDown(keyCode, shift);
        if (m_unloaded) {
            return true; // Shift+X: the window is gone, the key goes nowhere
        }
        if (watched == Text1) {
            Text1_KeyDown(keyCode, shift);
            // A handled key does nothing of its own (arrows leave the caret
            // alone), but the character it types still arrives.
            if (keyCode == 0) {
                typeCharacterOf(keyEvent);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::Text1_MouseDown(int Button, int Shift, float X, float Y)
{
    if (File1.ListCount() > 0) {
        const int count = File1.ListCount();
        // Int(r × n) in single precision; the clamp keeps a rounding at the top inside the list.
        const int index = std::min(int(Random::Next() * float(count)), count - 1);
        QString folder = File1.Path();
        if (folder.endsWith(u'/')) {
            folder.chop(1);
        }
        if (!LoadPicture(folder + u'/' + File1.List(index))) {
            Picture1->clear();
        }
        Picture1->move(Layout::TwipsToPixels(X), Layout::TwipsToPixels(Y));
        Picture1->setVisible(!Picture1->pixmap().isNull());
        Picture1->repaint();
    }
    // One click song per press: left before right before middle.
    int keyCode = 0;
    if (Button & VirtualKey::LeftButtonMask) {
        keyCode = KeyCodes::L;
    } else if (Button & VirtualKey::RightButtonMask) {
        keyCode = KeyCodes::R;
    } else if (Button & VirtualKey::MiddleButtonMask) {
        keyCode = KeyCodes::M;
    }
    if (keyCode != 0) {
        int shift = Shift | VirtualKey::AltMask;
        Text1_KeyDown(keyCode, shift);
    }
    Timer2.stop(); // the picture stays while the button is held
}

void Form1::Text1_MouseMove(int Button, int Shift, float X, float Y)
{
    Q_UNUSED(Button);
    Q_UNUSED(Shift);
    Picture1->move(Layout::TwipsToPixels(X), Layout::TwipsToPixels(Y));
}

void Form1::Text1_MouseUp(int Button, int Shift, float X, float Y)
{
    Q_UNUSED(Button);
    Q_UNUSED(Shift);
    Q_UNUSED(X);
    Q_UNUSED(Y);
    Timer2.start();
}

void Form1::Timer2_Timer()
{
    Timer2.stop();
    Picture1->hide();
}

bool Form1::LoadPicture(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QSize size = reader.size(); // read from the header: nothing is decoded yet
    if (!reader.canRead() || !size.isValid()) {
        return false;
    }
    const Layout::Size shown = Layout::PictureSize({size.width(), size.height()}, {width(), height()});
    if (shown.width < size.width()) {
        reader.setScaledSize(QSize(shown.width, shown.height)); // JPEG decodes straight to the small size
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        qCWarning(lcPictures, "Zubelo cannot show the picture %s: %s", qPrintable(path),
                  qPrintable(reader.errorString()));
        return false;
    }
    Picture1->setPixmap(QPixmap::fromImage(image));
    Picture1->resize(shown.width, shown.height);
    return true;
}

bool Form1::routeMouse(QMouseEvent *event, bool onForm)
{
    const float x = float(event->position().x() * Layout::TwipsPerPixel);
    const float y = float(event->position().y() * Layout::TwipsPerPixel);
    const int shift = VirtualKey::ModifierMask(event->modifiers());
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const int button = MouseButtonMask(event->button());
        onForm ? Form_MouseDown(button, shift, x, y) : Text1_MouseDown(button, shift, x, y);
        break;
    }
    case QEvent::MouseMove: {
        const int buttons = MouseButtonMask(event->buttons());
        onForm ? Form_MouseMove(buttons, shift, x, y) : Text1_MouseMove(buttons, shift, x, y);
        break;
    }
    case QEvent::MouseButtonRelease: {
        const int button = MouseButtonMask(event->button());
        onForm ? Form_MouseUp(button, shift, x, y) : Text1_MouseUp(button, shift, x, y);
        break;
    }
    default: return false;
    }
    // The middle button would paste the X selection into the box; it only plays its song here.
    return event->button() == Qt::MiddleButton;
}

int Form1::MouseButtonMask(Qt::MouseButtons buttons)
{
    return (buttons.testFlag(Qt::LeftButton) ? VirtualKey::LeftButtonMask : 0)
           | (buttons.testFlag(Qt::RightButton) ? VirtualKey::RightButtonMask : 0)
           | (buttons.testFlag(Qt::MiddleButton) ? VirtualKey::MiddleButtonMask : 0);
}

void Form1::mousePressEvent(QMouseEvent *event)
{
    routeMouse(event, true);
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    routeMouse(event, true);
}

void Form1::mouseReleaseEvent(QMouseEvent *event)
{
    routeMouse(event, true);
}

bool Form1::typeCharacterOf(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return false; // Ctrl and Alt combinations type nothing
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: Text1->insertPlainText(QStringLiteral("\n")); return true;
    case Qt::Key_Backspace: Text1->textCursor().deletePreviousChar(); return true;
    case Qt::Key_Tab: Text1->insertPlainText(QStringLiteral("\t")); return true;
    default: break;
    }
    const QString text = event->text();
    if (text.isEmpty() || !std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); })) {
        return false;
    }
    Text1->insertPlainText(text);
    return true;
}

void Form1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void Form1::closeEvent(QCloseEvent *event)
{
    Form_QueryUnload();
    Form_Unload();
    event->accept();
}
