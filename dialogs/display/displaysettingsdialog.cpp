// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/displaysettingsdialog.h"

#include "dialogbuttons.h"
#include "display/drivelistbox.h"
#include "display/folderlistbox.h"
#include "messages.h"
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
QString readableFallback(const ProgramFolder &programFolder)
{
    for (const QString &folder : {programFolder.path(), QDir::homePath(), QStringLiteral("/")}) {
        const QFileInfo info(folder);
        if (info.isDir() && info.isReadable()) {
            return info.absoluteFilePath();
        }
    }
    return QStringLiteral("/");
}

} // namespace

DisplaySettingsDialog::DisplaySettingsDialog(const Settings::Record &settings, const ProgramFolder &folder,
                                             QWidget *parent)
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
    , m_folder(folder)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("displaySettingsDialog"));
    setWindowTitle(QStringLiteral("表示の設定"));
    setFixedSize(Twips::toPixels(5256), Twips::toPixels(2796));
    m_intro->setGeometry(Twips::rect(120, 0, 5052, 372));
    m_intro->setWordWrap(true);
    m_pictureFolderFrame->setGeometry(Twips::rect(120, 480, 2652, 2292));
    m_drives->setObjectName(QStringLiteral("drives"));
    m_drives->setGeometry(Twips::rect(120, 240, 2412, 276));
    m_folders->setObjectName(QStringLiteral("folders"));
    m_folders->setGeometry(Twips::rect(120, 600, 2412, 1500));
    m_fontSizeFrame->setGeometry(Twips::rect(2880, 480, 2292, 1692));
    m_inputFontSizeLabel->setGeometry(Twips::rect(120, 240, 852, 252));
    m_inputFontSize->setObjectName(QStringLiteral("inputFontSize"));
    m_inputFontSize->setGeometry(Twips::rect(960, 240, 732, 264));
    m_lyricsFontSizeLabel->setGeometry(Twips::rect(120, 600, 852, 252));
    m_lyricsFontSize->setObjectName(QStringLiteral("lyricsFontSize"));
    m_lyricsFontSize->setGeometry(Twips::rect(960, 600, 732, 264));
    for (QLineEdit *box : {m_inputFontSize, m_lyricsFontSize}) {
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setGeometry(Twips::rect(3000, 2280, 972, 372));
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_cancel->setGeometry(Twips::rect(4080, 2280, 972, 372));
    DialogButtons::keepFromEnter({m_ok, m_cancel});
    setTabOrder(m_drives, m_folders);
    setTabOrder(m_folders, m_cancel);
    setTabOrder(m_cancel, m_ok);
    setTabOrder(m_ok, m_inputFontSize);
    setTabOrder(m_inputFontSize, m_lyricsFontSize);

    connect(m_drives, &DriveListBox::driveChanged, this, &DisplaySettingsDialog::openSelectedDrive);
    connect(m_ok, &QPushButton::clicked, this, &DisplaySettingsDialog::applyAndSave);
    connect(m_cancel, &QPushButton::clicked, this, &DisplaySettingsDialog::reject);

    loadSettings();
    m_drives->setFocus();
}

void DisplaySettingsDialog::loadSettings()
{
    WindowGuard::makeTopmost(this);
    const QString stored = m_folder.resolve(m_settings.pictureFolder);
    QString folder = Paths::locate(stored);
    if (!QFileInfo(folder).isDir() || !QFileInfo(folder).isReadable()) {
        folder = readableFallback(m_folder); // a folder that vanished, or a drive that cannot be read
    }
    m_drives->setDriveOf(folder);
    if (!m_folders->setPath(folder)) {
        m_folders->setPath(readableFallback(m_folder));
    }
    m_openedFolder = m_folders->path();
    m_openedInstead = folder != stored;
    m_inputFontSize->setText(Settings::numberForm(m_settings.inputFontSize));
    m_lyricsFontSize->setText(Settings::numberForm(m_settings.lyricsFontSize));
}

void DisplaySettingsDialog::openSelectedDrive()
{
    // The drive's own current folder: the program folder when it is on that drive, else its root.
    const QString drive = m_drives->drive();
    const QString current = m_folder.path();
    const QString folder = DriveListBox::driveOf(current) == drive ? current : drive;
    if (DriveListBox::driveOf(m_folders->path()) == drive || m_folders->setPath(folder)) {
        return;
    }
    // A drive that cannot be read: back to the drive of the folder still open.
    const QSignalBlocker quiet(m_drives);
    m_drives->setDriveOf(m_folders->path());
}

void DisplaySettingsDialog::applyAndSave()
{
    Settings::Record &settings = m_settings;
    const QString folder = m_folders->path();
    if (!QFileInfo(folder).isDir()) {
        showError(m_folders);
        return;
    }
    // Left where it opened, the list names the stored folder: as a stand-in for
    // one that is gone or spelled otherwise on disk, or by a full path that the
    // settings file cannot hold (a program folder such as /home/zoë/Zubelo).
    // The stored text then stays until a parent chooses another folder.
    const bool keptAsStored = folder == m_openedFolder && (m_openedInstead || !Settings::canStore(folder));
    if (!keptAsStored && m_folder.resolve(settings.pictureFolder) != folder) {
        if (!Settings::canStore(folder)) {
            m_folders->setFocus();
            DialogMessages::warn(this, DialogMessages::cannotHoldText(folder));
            return;
        }
        settings.pictureFolder = folder;
        emit pictureFolderChanged(m_folder.resolve(settings.pictureFolder));
    }
    const double input = Settings::numberFromText(m_inputFontSize->text());
    if (input < 0 || input > Settings::MaxFontSize) {
        showError(m_inputFontSize);
        return;
    }
    const double lyrics = Settings::numberFromText(m_lyricsFontSize->text());
    if (lyrics < 0 || lyrics > Settings::MaxFontSize) {
        showError(m_lyricsFontSize);
        return;
    }
    settings.inputFontSize = Settings::roundToInt16(input);
    settings.lyricsFontSize = Settings::roundToInt16(lyrics);
    emit inputFontSizeChanged(settings.inputFontSize);
    if (const Settings::SaveResult saved = Settings::save(m_folder.optionFile(), settings); !saved) {
        DialogMessages::saveFailed(this, m_folder.optionFile(), saved);
    }
    accept();
}

void DisplaySettingsDialog::showError(QWidget *atFault)
{
    atFault->setFocus();
    DialogMessages::warn(this, QStringLiteral("設定内容に誤りがあります"));
}
