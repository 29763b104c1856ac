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
    for (const QString &folder : {Options::programFolder(), QDir::homePath(), QStringLiteral("/")}) {
        const QFileInfo info(folder);
        if (info.isDir() && info.isReadable()) {
            return info.absoluteFilePath();
        }
    }
    return QStringLiteral("/");
}

} // namespace

DisplaySettingsDialog::DisplaySettingsDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , mIntro(new QLabel(
          QStringLiteral("フォントの大きさと、マウスが操作されたときに表示する画像について設定します"), this))
    , mPictureFolderFrame(new QGroupBox(QStringLiteral("ｸﾘｯｸで表示される画像のﾌｫﾙﾀﾞ"), this))
    , mDrives(new DriveListBox(mPictureFolderFrame))
    , mFolders(new FolderListBox(mPictureFolderFrame))
    , mFontSizeFrame(new QGroupBox(QStringLiteral("ﾌｫﾝﾄのｻｲｽﾞ"), this))
    , mInputFontSizeLabel(new QLabel(QStringLiteral("入力文字:"), mFontSizeFrame))
    , mInputFontSize(new QLineEdit(mFontSizeFrame))
    , mLyricsFontSizeLabel(new QLabel(QStringLiteral("歌詞:"), mFontSizeFrame))
    , mLyricsFontSize(new QLineEdit(mFontSizeFrame))
    , mOk(new QPushButton(QStringLiteral("OK"), this))
    , mCancel(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this))
{
    setObjectName(QStringLiteral("displaySettingsDialog"));
    setWindowTitle(QStringLiteral("表示の設定"));
    setFixedSize(Twips::toPixels(5256), Twips::toPixels(2796));
    mIntro->setGeometry(Twips::rect(120, 0, 5052, 372));
    mIntro->setWordWrap(true);
    mPictureFolderFrame->setGeometry(Twips::rect(120, 480, 2652, 2292));
    mDrives->setObjectName(QStringLiteral("drives"));
    mDrives->setGeometry(Twips::rect(120, 240, 2412, 276));
    mFolders->setObjectName(QStringLiteral("folders"));
    mFolders->setGeometry(Twips::rect(120, 600, 2412, 1500));
    mFontSizeFrame->setGeometry(Twips::rect(2880, 480, 2292, 1692));
    mInputFontSizeLabel->setGeometry(Twips::rect(120, 240, 852, 252));
    mInputFontSize->setObjectName(QStringLiteral("inputFontSize"));
    mInputFontSize->setGeometry(Twips::rect(960, 240, 732, 264));
    mLyricsFontSizeLabel->setGeometry(Twips::rect(120, 600, 852, 252));
    mLyricsFontSize->setObjectName(QStringLiteral("lyricsFontSize"));
    mLyricsFontSize->setGeometry(Twips::rect(960, 600, 732, 264));
    for (QLineEdit *box : {mInputFontSize, mLyricsFontSize}) {
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    mOk->setObjectName(QStringLiteral("ok"));
    mOk->setGeometry(Twips::rect(3000, 2280, 972, 372));
    mCancel->setObjectName(QStringLiteral("cancel"));
    mCancel->setGeometry(Twips::rect(4080, 2280, 972, 372));
    for (QPushButton *button : {mOk, mCancel}) {
        button->setAutoDefault(false); // Enter never presses OK
        button->setDefault(false);
    }
    setTabOrder(mDrives, mFolders);
    setTabOrder(mFolders, mCancel);
    setTabOrder(mCancel, mOk);
    setTabOrder(mOk, mInputFontSize);
    setTabOrder(mInputFontSize, mLyricsFontSize);

    connect(mDrives, &DriveListBox::driveChanged, this, &DisplaySettingsDialog::openSelectedDrive);
    connect(mOk, &QPushButton::clicked, this, &DisplaySettingsDialog::applyAndSave);
    connect(mCancel, &QPushButton::clicked, this, &DisplaySettingsDialog::reject);

    loadSettings();
    mDrives->setFocus();
}

void DisplaySettingsDialog::loadSettings()
{
    WindowGuard::makeTopmost(this);
    const QString stored = Options::resolvePath(Options::settings().imageFolder);
    QString folder = Paths::locate(stored);
    if (!QFileInfo(folder).isDir() || !QFileInfo(folder).isReadable()) {
        folder = readableFallback(); // a folder that vanished, or a drive that cannot be read
    }
    mDrives->setDriveOf(folder);
    if (!mFolders->setPath(folder)) {
        mFolders->setPath(readableFallback());
    }
    m_openedFolder = mFolders->path();
    m_openedInstead = folder != stored;
    mInputFontSize->setText(Options::numberForm(Options::settings().inputFontSize));
    mLyricsFontSize->setText(Options::numberForm(Options::settings().lyricsFontSize));
}

void DisplaySettingsDialog::openSelectedDrive()
{
    // The drive's own current folder: where the program stands when it is on that drive, else its root.
    const QString drive = mDrives->drive();
    const QString current = QDir::currentPath();
    const QString folder = DriveListBox::driveOf(current) == drive ? current : drive;
    if (DriveListBox::driveOf(mFolders->path()) == drive || mFolders->setPath(folder)) {
        return;
    }
    // A drive that cannot be read: back to the drive of the folder still open.
    const QSignalBlocker quiet(mDrives);
    mDrives->setDriveOf(mFolders->path());
}

void DisplaySettingsDialog::applyAndSave()
{
    Options::Record &settings = Options::settings();
    const QString folder = mFolders->path();
    if (!QFileInfo(folder).isDir()) {
        showError(mFolders);
        return;
    }
    // Left where it opened, the list names the stored folder: as a stand-in for
    // one that is gone or spelled otherwise on disk, or by a full path that the
    // settings file cannot hold (a program folder such as /home/zoë/Zubelo).
    // The stored text then stays until a parent chooses another folder.
    const bool keptAsStored = folder == m_openedFolder && (m_openedInstead || !Options::canStore(folder));
    if (!keptAsStored && Options::resolvePath(settings.imageFolder) != folder) {
        if (!Options::canStore(folder)) {
            mFolders->setFocus();
            DialogMessages::warn(this, DialogMessages::cannotHoldText(folder));
            return;
        }
        settings.imageFolder = folder;
        emit pictureFolderChanged(Options::resolvePath(settings.imageFolder));
    }
    const double input = Options::numberFromText(mInputFontSize->text());
    if (input < 0 || input > Options::MaxFontSize) {
        showError(mInputFontSize);
        return;
    }
    const double lyrics = Options::numberFromText(mLyricsFontSize->text());
    if (lyrics < 0 || lyrics > Options::MaxFontSize) {
        showError(mLyricsFontSize);
        return;
    }
    settings.inputFontSize = Options::roundToInt16(input);
    settings.lyricsFontSize = Options::roundToInt16(lyrics);
    emit inputFontSizeChanged(settings.inputFontSize);
    if (const Options::SaveResult saved = Options::saveOptions(); !saved) {
        DialogMessages::saveFailed(this, saved);
    }
    accept();
}

void DisplaySettingsDialog::showError(QWidget *atFault)
{
    atFault->setFocus();
    DialogMessages::warn(this, QStringLiteral("設定内容に誤りがあります"));
}
