// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/music/formmusicoptions.h"

#include "dialogs/messages.h"
#include "dialogs/music/onscreenkeyboard.h"
#include "platform/api.h"
#include "platform/japanesefont.h"
#include "platform/twips.h"
#include "settings/keyslots.h"
#include "settings/options.h"
#include "settings/paths.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// An ordinary file by the name as typed (relative names from the current
// folder), found as the play window finds it; wildcards count when at least
// one ordinary file matches them.
bool namesAnExistingFile(const QString &name)
{
    if (name.contains(u'*') || name.contains(u'?')) {
        const QFileInfo info(name);
        const QDir folder = info.dir();
        return !folder.entryList({info.fileName()}, QDir::Files).isEmpty();
    }
    const QFileInfo info(Paths::Locate(QFileInfo(name).absoluteFilePath()));
    return info.isFile() && !info.fileName().startsWith(u'.');
}

void noDefault(QPushButton *button)
{
    button->setAutoDefault(false); // Enter never closes the dialog
    button->setDefault(false);
}

} // namespace

QString FormMusicOptions::PlayWaitCaption()
{
    return QStringLiteral("曲の終了まで次の曲は演奏しない　　(Escキーで演奏を中止できます)");
}

QString FormMusicOptions::PlayRepeatCaption()
{
    return QStringLiteral("次のキー入力まで曲を繰り返す　　(Escキーで演奏を中止できます)");
}

FormMusicOptions::FormMusicOptions(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , Label3(new QLabel(QStringLiteral("ｷｰが押されたときの曲目や演奏方法を設定します"), this))
    , FrameMusic(new QGroupBox(QStringLiteral("ｷｰごとの曲"), this))
    , Label2(new QLabel(QStringLiteral("ｷｰをクリックしてください"), FrameMusic))
    , Keyboard(new OnScreenKeyboard(FrameMusic))
    , LabelKeyName(new QLabel(FrameMusic))
    , Label4(new QLabel(QStringLiteral("音楽ﾌｧｲﾙ :"), FrameMusic))
    , TextFilename(new QLineEdit(FrameMusic))
    , CommandFileBrowse(new QPushButton(QStringLiteral("参照"), FrameMusic))
    , CheckPlayWait(new QCheckBox(this))
    , CheckPlayRepeat(new QCheckBox(this))
    , CommandOK(new QPushButton(QStringLiteral("OK"), this))
    , CommandCancel(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this))
{
    setObjectName(QStringLiteral("FormMusicOptions"));
    setWindowTitle(QStringLiteral("曲の設定"));
    setFont(JapaneseFont::Proportional(9));
    setFixedSize(Twips::ToPixels(6468), Twips::ToPixels(5160));

    Label3->setGeometry(Twips::Rect(120, 0, 6252, 372));
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    FrameMusic->setGeometry(Twips::Rect(120, 480, 6252, 3612));
    Label2->setGeometry(Twips::Rect(240, 240, 2652, 252));
    LabelKeyName->setObjectName(QStringLiteral("LabelKeyName"));
    LabelKeyName->setGeometry(Twips::Rect(240, 2520, 1212, 732));
    LabelKeyName->setFrameShape(QFrame::Box);
    LabelKeyName->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelKeyName->setWordWrap(true);
    Label4->setGeometry(Twips::Rect(1680, 2760, 1212, 252));
    TextFilename->setObjectName(QStringLiteral("TextFilename"));
    TextFilename->setGeometry(Twips::Rect(1680, 3000, 3492, 264));
    CommandFileBrowse->setObjectName(QStringLiteral("CommandFileBrowse"));
    CommandFileBrowse->setGeometry(Twips::Rect(5280, 3000, 852, 372));
    // The captions wrap after their two ideographic spaces.
    CheckPlayWait->setObjectName(QStringLiteral("CheckPlayWait"));
    CheckPlayWait->setText(
        QString(PlayWaitCaption()).replace(QStringLiteral("　　("), QStringLiteral("　　\n(")));
    CheckPlayWait->setGeometry(Twips::Rect(120, 4080, 3132, 612));
    CheckPlayRepeat->setObjectName(QStringLiteral("CheckPlayRepeat"));
    CheckPlayRepeat->setText(
        QString(PlayRepeatCaption()).replace(QStringLiteral("　　("), QStringLiteral("　　\n(")));
    CheckPlayRepeat->setGeometry(Twips::Rect(3360, 4080, 3012, 612));
    CommandOK->setObjectName(QStringLiteral("CommandOK"));
    CommandOK->setGeometry(Twips::Rect(4200, 4680, 972, 372));
    CommandCancel->setObjectName(QStringLiteral("CommandCancel"));
    CommandCancel->setGeometry(Twips::Rect(5280, 4680, 972, 372));
    for (QPushButton *button : {CommandFileBrowse, CommandOK, CommandCancel}) {
        noDefault(button);
    }
    setTabOrder(TextFilename, CommandFileBrowse);
    setTabOrder(CommandFileBrowse, CommandOK);
    setTabOrder(CommandOK, CommandCancel);
    setTabOrder(CommandCancel, CheckPlayWait);
    setTabOrder(CheckPlayWait, CheckPlayRepeat);

    connect(Keyboard, &OnScreenKeyboard::clicked, this, &FormMusicOptions::Label1_Click);
    connect(CommandFileBrowse, &QPushButton::clicked, this, &FormMusicOptions::CommandFileBrowse_Click);
    // A box ticked by Form_Load runs its handler, as a click would.
    connect(CheckPlayWait, &QCheckBox::toggled, this, &FormMusicOptions::CheckPlayWait_Click);
    connect(CheckPlayRepeat, &QCheckBox::toggled, this, &FormMusicOptions::CheckPlayRepeat_Click);
    connect(CommandOK, &QPushButton::clicked, this, &FormMusicOptions::CommandOK_Click);
    connect(CommandCancel, &QPushButton::clicked, this, &FormMusicOptions::CommandCancel_Click);

    Form_Load();
    TextFilename->setFocus();
}

void FormMusicOptions::Form_Load()
{
    API::MakeTopmost(this);
    CurrentSlot = 0;
    const Options::Record &settings = Options::Settings();
    SavedSongFiles = settings.SongFile;
    SavedPlayWait = settings.PlayWait;
    SavedPlayRepeat = settings.PlayRepeat;
    TextFilename->setText(settings.SongFile[0]);
    Label1_Click(0);
    CheckPlayWait->setChecked(settings.PlayWait);
    CheckPlayRepeat->setChecked(settings.PlayRepeat);
}

void FormMusicOptions::Label1_Click(int Index)
{
    if (!CommitSongFile(CurrentSlot)) {
        return; // the selection stays; the rejected name waits in the text box
    }
    LabelKeyName->setText(KeySlots::KeyDisplayName(Index) + QStringLiteral("キー"));
    TextFilename->setText(Options::Settings().SongFile[size_t(Index)]);
    CurrentSlot = qint16(Index);
}

bool FormMusicOptions::CommitSongFile(int slot)
{
    const QString name = TextFilename->text();
    if (!name.isEmpty() && !namesAnExistingFile(name)) {
        DialogMessages::Warn(this, QStringLiteral("指定されたﾌｧｲﾙは存在しません。\n  ") + name
                                       + QStringLiteral("\n有効なﾌｧｲﾙを設定してください。"));
        TextFilename->setFocus();
        return false;
    }
    if (!Options::CanStore(name)) {
        DialogMessages::Warn(this, DialogMessages::CannotHoldText(name));
        TextFilename->setFocus();
        return false;
    }
    Options::Settings().SongFile[size_t(slot)] = name;
    return true;
}

void FormMusicOptions::CommandFileBrowse_Click()
{
    Options::Record &settings = Options::Settings();
    const QString stored = settings.SongFile[size_t(CurrentSlot)];
    // Qt's own dialog: the same on every desktop. It never changes the current folder.
    QFileDialog browser(this);
    browser.setOption(QFileDialog::DontUseNativeDialog);
    browser.setAcceptMode(QFileDialog::AcceptOpen);
    browser.setFileMode(QFileDialog::ExistingFile);
    const QStringList filters{QStringLiteral("MIDIファイル (*.mid)"), QStringLiteral("WAVEファイル (*.wav)")};
    browser.setNameFilters(filters);
    browser.selectNameFilter(filters.first());
    const QString folder = Options::FolderOfPath(stored);
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        browser.setDirectory(folder);
    }
    if (!stored.isEmpty()) {
        browser.selectFile(QFileInfo(stored).fileName());
    }
    if (browser.exec() != QDialog::Accepted || browser.selectedFiles().isEmpty()) {
        return; // cancelled: the stored name stays, and so does any typed text
    }
    const QString chosen = browser.selectedFiles().first();
    if (!Options::CanStore(chosen)) {
        DialogMessages::Warn(this, DialogMessages::CannotHoldText(chosen));
        return;
    }
    settings.SongFile[size_t(CurrentSlot)] = chosen;
    TextFilename->setText(settings.SongFile[size_t(CurrentSlot)]);
}

void FormMusicOptions::CheckPlayWait_Click()
{
    Options::Settings().PlayWait = CheckPlayWait->isChecked();
    CommitSongFile(CurrentSlot);
}

void FormMusicOptions::CheckPlayRepeat_Click()
{
    Options::Settings().PlayRepeat = CheckPlayRepeat->isChecked();
    CommitSongFile(CurrentSlot);
}

void FormMusicOptions::CommandOK_Click()
{
    if (!CommitSongFile(CurrentSlot)) {
        return;
    }
    if (const Options::SaveResult saved = Options::SaveOptions(); !saved) {
        // The settings stay in use for this run; the file on disk is still the old one.
        DialogMessages::SaveFailed(this, saved);
    }
    accept();
}

void FormMusicOptions::CommandCancel_Click()
{
    Options::Record &settings = Options::Settings();
    settings.SongFile = SavedSongFiles;
    settings.PlayWait = SavedPlayWait;
    settings.PlayRepeat = SavedPlayRepeat;
    QDialog::reject();
}

void FormMusicOptions::reject()
{
    if (m_closingByCloseBox) {
        QDialog::reject(); // changes made so far stay in the record, unsaved
    } else {
        CommandCancel_Click();
    }
}

void FormMusicOptions::closeEvent(QCloseEvent *event)
{
    m_closingByCloseBox = true;
    QDialog::closeEvent(event);
    m_closingByCloseBox = false;
}
