// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/display/formviewoptions.h"

#include "dialogs/display/drivelistbox.h"
#include "dialogs/display/folderlistbox.h"
#include "dialogs/messages.h"
#include "platform/api.h"
#include "platform/twips.h"
#include "settings/options.h"
#include "settings/paths.h"

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
    , Label1(new QLabel(
          QStringLiteral("フォントの大きさと、マウスが操作されたときに表示する画像について設定します"), this))
    , Frame1(new QGroupBox(QStringLiteral("ｸﾘｯｸで表示される画像のﾌｫﾙﾀﾞ"), this))
    , Drive1(new DriveListBox(Frame1))
    , Dir1(new FolderListBox(Frame1))
    , Frame2(new QGroupBox(QStringLiteral("ﾌｫﾝﾄのｻｲｽﾞ"), this))
    , Label2(new QLabel(QStringLiteral("入力文字:"), Frame2))
    , Text1(new QLineEdit(Frame2))
    , Label3(new QLabel(QStringLiteral("歌詞:"), Frame2))
    , Text2(new QLineEdit(Frame2))
    , CommandOK(new QPushButton(QStringLiteral("OK"), this))
    , CommandCancel(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this))
{
    setObjectName(QStringLiteral("FormViewOptions"));
    setWindowTitle(QStringLiteral("表示の設定"));
    setFixedSize(Twips::ToPixels(5256), Twips::ToPixels(2796));
    Label1->setGeometry(Twips::Rect(120, 0, 5052, 372));
    Label1->setWordWrap(true);
    Frame1->setGeometry(Twips::Rect(120, 480, 2652, 2292));
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setGeometry(Twips::Rect(120, 240, 2412, 276));
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setGeometry(Twips::Rect(120, 600, 2412, 1500));
    Frame2->setGeometry(Twips::Rect(2880, 480, 2292, 1692));
    Label2->setGeometry(Twips::Rect(120, 240, 852, 252));
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(Twips::Rect(960, 240, 732, 264));
    Label3->setGeometry(Twips::Rect(120, 600, 852, 252));
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setGeometry(Twips::Rect(960, 600, 732, 264));
    for (QLineEdit *box : {Text1, Text2}) {
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    CommandOK->setObjectName(QStringLiteral("CommandOK"));
    CommandOK->setGeometry(Twips::Rect(3000, 2280, 972, 372));
    CommandCancel->setObjectName(QStringLiteral("CommandCancel"));
    CommandCancel->setGeometry(Twips::Rect(4080, 2280, 972, 372));
    for (QPushButton *button : {CommandOK, CommandCancel}) {
        button->setAutoDefault(false); // Enter never presses OK
        button->setDefault(false);
    }
    setTabOrder(Drive1, Dir1);
    setTabOrder(Dir1, CommandCancel);
    setTabOrder(CommandCancel, CommandOK);
    setTabOrder(CommandOK, Text1);
    setTabOrder(Text1, Text2);

    connect(Drive1, &DriveListBox::driveChanged, this, &FormViewOptions::Drive1_Change);
    connect(CommandOK, &QPushButton::clicked, this, &FormViewOptions::CommandOK_Click);
    connect(CommandCancel, &QPushButton::clicked, this, &FormViewOptions::CommandCancel_Click);

    Form_Load();
    Drive1->setFocus();
}

void FormViewOptions::Form_Load()
{
    API::MakeTopmost(this);
    const QString stored = Options::ResolvePath(Options::Settings().ImageFolder);
    QString folder = Paths::Locate(stored);
    if (!QFileInfo(folder).isDir() || !QFileInfo(folder).isReadable()) {
        folder = readableFallback(); // a folder that vanished, or a drive that cannot be read
    }
    Drive1->SetDriveOf(folder);
    if (!Dir1->SetPath(folder)) {
        Dir1->SetPath(readableFallback());
    }
    m_openedFolder = Dir1->Path();
    m_openedInstead = folder != stored;
    Text1->setText(Options::NumberForm(Options::Settings().InputFontSize));
    Text2->setText(Options::NumberForm(Options::Settings().LyricsFontSize));
}

void FormViewOptions::Drive1_Change()
{
    // The drive's own current folder: where the program stands when it is on that drive, else its root.
    const QString drive = Drive1->Drive();
    const QString current = QDir::currentPath();
    const QString folder = DriveListBox::DriveOf(current) == drive ? current : drive;
    if (DriveListBox::DriveOf(Dir1->Path()) == drive || Dir1->SetPath(folder)) {
        return;
    }
    // A drive that cannot be read: back to the drive of the folder still open.
    const QSignalBlocker quiet(Drive1);
    Drive1->SetDriveOf(Dir1->Path());
}

void FormViewOptions::CommandOK_Click()
{
    Options::Record &settings = Options::Settings();
    const QString folder = Dir1->Path();
    if (!QFileInfo(folder).isDir()) {
        showError(Dir1);
        return;
    }
    // Left where it opened, the list names the stored folder: as a stand-in for
    // one that is gone or spelled otherwise on disk, or by a full path that the
    // settings file cannot hold (a program folder such as /home/zoë/Zubelo).
    // The stored text then stays until a parent chooses another folder.
    const bool keptAsStored = folder == m_openedFolder && (m_openedInstead || !Options::CanStore(folder));
    if (!keptAsStored && Options::ResolvePath(settings.ImageFolder) != folder) {
        if (!Options::CanStore(folder)) {
            Dir1->setFocus();
            DialogMessages::Warn(this, DialogMessages::CannotHoldText(folder));
            return;
        }
        settings.ImageFolder = folder;
        emit pictureFolderChanged(Options::ResolvePath(settings.ImageFolder));
    }
    const double input = Options::NumberFromText(Text1->text());
    if (input < 0 || input > MaxFontSize) {
        showError(Text1);
        return;
    }
    const double lyrics = Options::NumberFromText(Text2->text());
    if (lyrics < 0 || lyrics > MaxFontSize) {
        showError(Text2);
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

void FormViewOptions::CommandCancel_Click()
{
    reject();
}

void FormViewOptions::showError(QWidget *atFault)
{
    atFault->setFocus();
    DialogMessages::Warn(this, QStringLiteral("設定内容に誤りがあります"));
}
