// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form1.h"

#include "app/japanesefont.h"
#include "app/layout.h"
#include "platform/api.h"
#include "platform/virtualkey.h"
#include "settings/options.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace {

constexpr QRgb DesignBackColour = qRgb(0, 0, 192);
constexpr int DesignClientWidth = 8040;  // twips
constexpr int DesignClientHeight = 4272; // twips
constexpr int MaxShownFontSize = 2160;   // the largest size the display settings allow

int px(double twips)
{
    return Layout::TwipsToPixels(twips);
}

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

// A few bright keys on a dark board, drawn rather than shipped.
QIcon makeWindowIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0, 0, 192));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(1, 5, 30, 22), 4, 4);
    const QColor keys[] = {QColor(255, 64, 64), QColor(255, 220, 0), QColor(0, 200, 80), QColor(255, 255, 255)};
    for (int i = 0; i < 4; ++i) {
        painter.setBrush(keys[i]);
        painter.drawRoundedRect(QRectF(4 + i * 6.5, 10, 5, 5), 1, 1);
        painter.drawRoundedRect(QRectF(4 + i * 6.5, 18, 5, 5), 1, 1);
    }
    return QIcon(pixmap);
}

} // namespace

Form1::Form1(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
    , Text1(new QPlainTextEdit(this))
    , Picture1(new QLabel(this))
    , Frame1(new QGroupBox(this))
    , HScroll1(new QScrollBar(Qt::Horizontal, Frame1))
    , Label3(new QLabel(Frame1))
    , Label4(new QLabel(Frame1))
    , Label1(new QLabel(this))
    , Label2(new QLabel(this))
    , File1(QStringLiteral("*.bmp;*jpg;*.gif"))
    , m_instance(Options::ProgramFolder())
{
    createControls();
    Form_Load();
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

    Timer2.setObjectName(QStringLiteral("Timer2"));
    Timer2.setSingleShot(true);
    Timer2.setInterval(600);
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setSingleShot(true);
    Timer1.setInterval(120);

    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twipsRect(480, 2520, 732, 612));

    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twipsRect(0, 0, 8052, 3372));
    Text1->setFont(JapaneseFont::Monospaced(10.2));
    Text1->setAttribute(Qt::WA_InputMethodEnabled, false); // each key types its plain character
    Text1->setFrameShape(QFrame::NoFrame);
    QPalette palette = Text1->palette();
    palette.setColor(QPalette::Base, QColor::fromRgb(DesignBackColour));
    Text1->setPalette(palette);
    Text1->installEventFilter(this);

    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setTitle(QStringLiteral("音量"));
    Frame1->setFont(JapaneseFont::Proportional(9));
    Frame1->setGeometry(twipsRect(5640, 3720, 2412, 492));
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setGeometry(twipsRect(360, 240, 1692, 132));
    HScroll1->setRange(0, 32767);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(1);
    HScroll1->installEventFilter(this);
    for (auto [label, caption, left] : {std::tuple{Label4, "大", 2160}, std::tuple{Label3, "小", 120}}) {
        label->setText(QString::fromUtf8(caption));
        label->setFont(JapaneseFont::Proportional(7.8));
        label->move(px(left), px(240));
        label->adjustSize();
    }
    Label4->setObjectName(QStringLiteral("Label4"));
    Label3->setObjectName(QStringLiteral("Label3"));

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

    Picture1->raise(); // the click picture lies above the text box
    setTabOrder(Text1, HScroll1);
    Text1->setFocus();
}

void Form1::Form_Load()
{
    StartDir = QDir::currentPath();
    QDir::setCurrent(Options::ProgramFolder());
    API::MakeTopmost(this);
    Options::LoadOptions();
    Options::Record &settings = Options::Settings();
    Picture1->hide();
    if (!QFileInfo(Options::ResolvePath(settings.ImageFolder)).isDir() || settings.ImageFolder.isEmpty()) {
        // For this run only; the file keeps the stored folder until a dialog saves.
        settings.ImageFolder = Options::ProgramFolder();
    }
    File1.SetPath(Options::ResolvePath(settings.ImageFolder));
    API::HookTextBox(Text1);
    SetText1FontSize(settings.InputFontSize);
}

void Form1::Form_Activate()
{
    if (m_instance.AnotherInstanceRunning()) {
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
    QDir::setCurrent(StartDir);
    m_unloaded = true;
}

void Form1::Form_Resize()
{
    Layout::Input input;
    input.scaleWidth = width() * Layout::TwipsPerPixel;
    input.scaleHeight = height() * Layout::TwipsPerPixel;
    input.label1Height = Label1->height() * Layout::TwipsPerPixel;
    input.label2Height = Label2->height() * Layout::TwipsPerPixel;
    input.frame1Width = Frame1->width() * Layout::TwipsPerPixel;
    const Layout::Placement placement = Layout::Form1Layout(input);
    Text1->setGeometry(0, 0, px(placement.text1Width), px(placement.text1Height));
    Label1->move(0, px(placement.label1Top));
    Label2->move(0, px(placement.label2Top));
    Frame1->move(px(placement.frame1Left), px(placement.frame1Top));
}

void Form1::SetWindowState(WindowState state)
{
    switch (state) {
    case Minimized: showMinimized(); break;
    case Normal: showNormal(); break;
    case Maximized: showMaximized(); break;
    }
}

void Form1::Form_KeyDown(int KeyCode, int Shift)
{
    if (!(Shift & 1)) {
        return; // Ctrl and Alt may be held too; only Shift counts
    }
    switch (KeyCode) {
    case 88: close(); break;                     // X
    case 83: SetWindowState(Minimized); break;   // S
    case 78: SetWindowState(Normal); break;      // N
    case 76: SetWindowState(Maximized); break;   // L
    default: break;
    }
}

void Form1::Text1_KeyDown(int &KeyCode, int &Shift)
{
    Q_UNUSED(Shift);
    LastPressedCode = qint16(KeyCode);
}

void Form1::SetText1FontSize(int points)
{
    QFont font = Text1->font();
    font.setPointSize(std::clamp(points, 1, MaxShownFontSize));
    Text1->setFont(font);
}

bool Form1::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate) {
        Form_Activate();
    }
    return QWidget::event(event);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
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
        }
    }
    return QWidget::eventFilter(watched, event);
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
