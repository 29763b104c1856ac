// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/displaysettingsdialog.h"

#include "display/drivelistbox.h"
#include "display/folderlistbox.h"
#include "messages.h"
#include "options.h"
#include "paths.h"
#include "twips.h"
#include "windowguard.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Where the folder list opens when the stored folder cannot be read.
QString readableFallback()
{
    for (const QString &folder : {Options::ProgramFolder(), QDir::homePath(), QStringLiteral("/")}) {
        const QFileInfo info(folder);
        if (info.isDir() && info.isReadable()) {
            return info.absoluteFilePath();
        }
    }
    return QStringLiteral("/");
}

} // namespace

FormViewOptions::FormViewOptions(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_intro(new QLabel(
          QStringLiteral("フォントの大きさと、マウスが操作されたときに表示する画像について設定します"), this))
    , m_pictureFolderFrame(new QGroupBox(QStringLiteral("ｸﾘｯｸで表示される画像のﾌｫﾙﾀﾞ"), this))
    , m_drives(new DriveListBox(m_pictureFolderFrame))
    , m_folders(new FolderListBox(m_pictureFolderFrame))
    , m_fontSizeFrame(new QGroupBox(QStringLiteral("ﾌｫﾝﾄのｻｲｽﾞ"), this))
    , m_inputFontSizeLabel(new QLabel(QStringLiteral("入力文字:"), m_fontSizeFrame))
    , m_inputFontSize(new QLineEdit(m_fontSizeFrame))
    , m_lyricsFontSizeLabel(new QLabel(QStringLiteral("歌詞:"), m_fontSizeFrame))
    , m_lyricsFontSize(new QLineEdit(m_fontSizeFrame))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
    , m_cancel(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this))
{
    setObjectName(QStringLiteral("FormViewOptions"));
    setWindowTitle(QStringLiteral("表示の設定"));
    setFixedSize(Twips::ToPixels(5256), Twips::ToPixels(2796));
    m_intro->setGeometry(Twips::Rect(120, 0, 5052, 372));
    m_intro->setWordWrap(true);
    m_pictureFolderFrame->setGeometry(Twips::Rect(120, 480, 2652, 2292));
    m_drives->setObjectName(QStringLiteral("drives"));
    m_drives->setGeometry(Twips::Rect(120, 240, 2412, 276));
    m_folders->setObjectName(QStringLiteral("folders"));
    m_folders->setGeometry(Twips::Rect(120, 600, 2412, 1500));
    m_fontSizeFrame->setGeometry(Twips::Rect(2880, 480, 2292, 1692));
    m_inputFontSizeLabel->setGeometry(Twips::Rect(120, 240, 852, 252));
    m_inputFontSize->setObjectName(QStringLiteral("inputFontSize"));
    m_inputFontSize->setGeometry(Twips::Rect(960, 240, 732, 264));
    m_lyricsFontSizeLabel->setGeometry(Twips::Rect(120, 600, 852, 252));
    m_lyricsFontSize->setObjectName(QStringLiteral("lyricsFontSize"));
    m_lyricsFontSize->setGeometry(Twips::Rect(960, 600, 732, 264));
    for (QLineEdit *box : {m_inputFontSize, m_lyricsFontSize}) {
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setGeometry(Twips::Rect(3000, 2280, 972, 372));
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_cancel->setGeometry(Twips::Rect(4080, 2280, 972, 372));
    for (QPushButton *button : {m_ok, m_cancel}) {
        button->setAutoDefault(false); // Enter never presses OK
        button->setDefault(false);
    }
    setTabOrder(m_drives, m_folders);
    setTabOrder(m_folders, m_cancel);
    setTabOrder(m_cancel, m_ok);
    setTabOrder(m_ok, m_inputFontSize);
    setTabOrder(m_inputFontSize, m_lyricsFontSize);

    connect(m_drives, &DriveListBox::driveChanged, this, &FormViewOptions::openSelectedDrive);
    connect(m_ok, &QPushButton::clicked, this, &FormViewOptions::applyAndSave);
    connect(m_cancel, &QPushButton::clicked, this, &FormViewOptions::reject);

    loadSettings();
    m_drives->setFocus();
}

void FormViewOptions::loadSettings()
{
    WindowGuard::MakeTopmost(this);
    const QString stored = Options::ResolvePath(Options::Settings().ImageFolder);
    QString folder = Paths::Locate(stored);
    if (!QFileInfo(folder).isDir() || !QFileInfo(folder).isReadable()) {
        folder = readableFallback(); // a folder that vanished, or a drive that cannot be read
    }
    m_drives->SetDriveOf(folder);
    if (!m_folders->SetPath(folder)) {
        m_folders->SetPath(readableFallback());
    }
    m_openedFolder = m_folders->Path();
    m_openedInstead = folder != stored;
    m_inputFontSize->setText(Options::NumberForm(Options::Settings().InputFontSize));
    m_lyricsFontSize->setText(Options::NumberForm(Options::Settings().LyricsFontSize));
}

void FormViewOptions::openSelectedDrive()
{
    // The drive's own current folder: where the program stands when it is on that drive, else its root.
    const QString drive = m_drives->Drive();
    const QString current = QDir::currentPath();
    const QString folder = DriveListBox::DriveOf(current) == drive ? current : drive;
    if (DriveListBox::DriveOf(m_folders->Path()) == drive || m_folders->SetPath(folder)) {
        return;
    }
    // A drive that cannot be read: back to the drive of the folder still open.
    const QSignalBlocker quiet(m_drives);
    m_drives->SetDriveOf(m_folders->Path());
}

void FormViewOptions::applyAndSave()
{
    Options::Record &settings = Options::Settings();
    const QString folder = m_folders->Path();
    if (!QFileInfo(folder).isDir()) {
        showError(m_folders);
        return;
    }
    // Left where it opened, the list names the stored folder: as a stand-in for
    // one that is gone or spelled otherwise on disk, or by a full path that the
    // settings file cannot hold (a program folder such as /home/zoë/Zubelo).
    // The stored text then stays until a parent chooses another folder.
    const bool keptAsStored = folder == m_openedFolder && (m_openedInstead || !Options::CanStore(folder));
    if (!keptAsStored && Options::ResolvePath(settings.ImageFolder) != folder) {
        if (!Options::CanStore(folder)) {
            m_folders->setFocus();
            DialogMessages::Warn(this, DialogMessages::CannotHoldText(folder));
            return;
        }
        settings.ImageFolder = folder;
        emit pictureFolderChanged(Options::ResolvePath(settings.ImageFolder));
    }
    const double input = Options::NumberFromText(m_inputFontSize->text());
    if (input < 0 || input > Options::MaxFontSize) {
        showError(m_inputFontSize);
        return;
    }
    const double lyrics = Options::NumberFromText(m_lyricsFontSize->text());
    if (lyrics < 0 || lyrics > Options::MaxFontSize) {
        showError(m_lyricsFontSize);
        return;
    }
    settings.InputFontSize = Options::RoundToInt16(input);
    settings.LyricsFontSize = Options::RoundToInt16(lyrics);
    emit inputFontSizeChanged(settings.InputFontSize);
    if (const Options::SaveResult saved = Options::SaveOptions(); !saved) {
        DialogMessages::SaveFailed(this, saved);
    }
    accept();
}

void FormViewOptions::showError(QWidget *atFault)
{
    atFault->setFocus();
    DialogMessages::Warn(this, QStringLiteral("設定内容に誤りがあります"));
}
