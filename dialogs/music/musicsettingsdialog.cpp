// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/musicsettingsdialog.h"

#include "japanesefont.h"
#include "keyslots.h"
#include "messages.h"
#include "music/onscreenkeyboard.h"
#include "options.h"
#include "paths.h"
#include "twips.h"
#include "windowguard.h"

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
    const QFileInfo info(Paths::locate(QFileInfo(name).absoluteFilePath()));
    return info.isFile() && !info.fileName().startsWith(u'.');
}

void noDefault(QPushButton *button)
{
    button->setAutoDefault(false); // Enter never closes the dialog
    button->setDefault(false);
}

} // namespace

QString MusicSettingsDialog::playWaitCaption()
{
    return QStringLiteral("曲の終了まで次の曲は演奏しない　　(Escキーで演奏を中止できます)");
}

QString MusicSettingsDialog::playRepeatCaption()
{
    return QStringLiteral("次のキー入力まで曲を繰り返す　　(Escキーで演奏を中止できます)");
}

MusicSettingsDialog::MusicSettingsDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , mIntro(new QLabel(QStringLiteral("ｷｰが押されたときの曲目や演奏方法を設定します"), this))
    , mSongsFrame(new QGroupBox(QStringLiteral("ｷｰごとの曲"), this))
    , mClickAKey(new QLabel(QStringLiteral("ｷｰをクリックしてください"), mSongsFrame))
    , mKeyboard(new OnScreenKeyboard(mSongsFrame))
    , mKeyName(new QLabel(mSongsFrame))
    , mSongFileLabel(new QLabel(QStringLiteral("音楽ﾌｧｲﾙ :"), mSongsFrame))
    , mSongFile(new QLineEdit(mSongsFrame))
    , mBrowse(new QPushButton(QStringLiteral("参照"), mSongsFrame))
    , mPlayWait(new QCheckBox(this))
    , mPlayRepeat(new QCheckBox(this))
    , mOk(new QPushButton(QStringLiteral("OK"), this))
    , mCancel(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this))
{
    setObjectName(QStringLiteral("musicSettingsDialog"));
    setWindowTitle(QStringLiteral("曲の設定"));
    setFont(JapaneseFont::proportional(9));
    setFixedSize(Twips::toPixels(6468), Twips::toPixels(5160));

    mIntro->setGeometry(Twips::rect(120, 0, 6252, 372));
    mIntro->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    mSongsFrame->setGeometry(Twips::rect(120, 480, 6252, 3612));
    mClickAKey->setGeometry(Twips::rect(240, 240, 2652, 252));
    mKeyName->setObjectName(QStringLiteral("keyName"));
    mKeyName->setGeometry(Twips::rect(240, 2520, 1212, 732));
    mKeyName->setFrameShape(QFrame::Box);
    mKeyName->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mKeyName->setWordWrap(true);
    mSongFileLabel->setGeometry(Twips::rect(1680, 2760, 1212, 252));
    mSongFile->setObjectName(QStringLiteral("songFile"));
    mSongFile->setGeometry(Twips::rect(1680, 3000, 3492, 264));
    mBrowse->setObjectName(QStringLiteral("browse"));
    mBrowse->setGeometry(Twips::rect(5280, 3000, 852, 372));
    // The captions wrap after their two ideographic spaces.
    mPlayWait->setObjectName(QStringLiteral("playWait"));
    mPlayWait->setText(
        QString(playWaitCaption()).replace(QStringLiteral("　　("), QStringLiteral("　　\n(")));
    mPlayWait->setGeometry(Twips::rect(120, 4080, 3132, 612));
    mPlayRepeat->setObjectName(QStringLiteral("playRepeat"));
    mPlayRepeat->setText(
        QString(playRepeatCaption()).replace(QStringLiteral("　　("), QStringLiteral("　　\n(")));
    mPlayRepeat->setGeometry(Twips::rect(3360, 4080, 3012, 612));
    mOk->setObjectName(QStringLiteral("ok"));
    mOk->setGeometry(Twips::rect(4200, 4680, 972, 372));
    mCancel->setObjectName(QStringLiteral("cancel"));
    mCancel->setGeometry(Twips::rect(5280, 4680, 972, 372));
    for (QPushButton *button : {mBrowse, mOk, mCancel}) {
        noDefault(button);
    }
    setTabOrder(mSongFile, mBrowse);
    setTabOrder(mBrowse, mOk);
    setTabOrder(mOk, mCancel);
    setTabOrder(mCancel, mPlayWait);
    setTabOrder(mPlayWait, mPlayRepeat);

    connect(mKeyboard, &OnScreenKeyboard::keyClicked, this, &MusicSettingsDialog::selectKey);
    connect(mBrowse, &QPushButton::clicked, this, &MusicSettingsDialog::browseForSong);
    // A box ticked by loadSettings runs its handler, as a click would.
    connect(mPlayWait, &QCheckBox::toggled, this, &MusicSettingsDialog::takePlayWait);
    connect(mPlayRepeat, &QCheckBox::toggled, this, &MusicSettingsDialog::takePlayRepeat);
    connect(mOk, &QPushButton::clicked, this, &MusicSettingsDialog::saveAndClose);
    connect(mCancel, &QPushButton::clicked, this, &MusicSettingsDialog::putBackAndClose);

    loadSettings();
    mSongFile->setFocus();
}

void MusicSettingsDialog::loadSettings()
{
    WindowGuard::makeTopmost(this);
    m_currentSlot = 0;
    const Options::Record &settings = Options::settings();
    m_savedSongFiles = settings.songFile;
    m_savedPlayWait = settings.playWait;
    m_savedPlayRepeat = settings.playRepeat;
    mSongFile->setText(settings.songFile[0]);
    selectKey(0);
    mPlayWait->setChecked(settings.playWait);
    mPlayRepeat->setChecked(settings.playRepeat);
}

void MusicSettingsDialog::selectKey(int slot)
{
    if (!commitSongFile(m_currentSlot)) {
        return; // the selection stays; the rejected name waits in the text box
    }
    mKeyName->setText(KeySlots::keyDisplayName(slot) + QStringLiteral("キー"));
    mSongFile->setText(Options::settings().songFile[size_t(slot)]);
    m_currentSlot = qint16(slot);
}

bool MusicSettingsDialog::commitSongFile(int slot)
{
    const QString name = mSongFile->text();
    if (!name.isEmpty() && !namesAnExistingFile(name)) {
        DialogMessages::warn(this, QStringLiteral("指定されたﾌｧｲﾙは存在しません。\n  ") + name
                                       + QStringLiteral("\n有効なﾌｧｲﾙを設定してください。"));
        mSongFile->setFocus();
        return false;
    }
    if (!Options::canStore(name)) {
        DialogMessages::warn(this, DialogMessages::cannotHoldText(name));
        mSongFile->setFocus();
        return false;
    }
    Options::settings().songFile[size_t(slot)] = name;
    return true;
}

void MusicSettingsDialog::browseForSong()
{
    Options::Record &settings = Options::settings();
    const QString stored = settings.songFile[size_t(m_currentSlot)];
    // Qt's own dialog: the same on every desktop. It never changes the current folder.
    QFileDialog browser(this);
    browser.setOption(QFileDialog::DontUseNativeDialog);
    browser.setAcceptMode(QFileDialog::AcceptOpen);
    browser.setFileMode(QFileDialog::ExistingFile);
    const QStringList filters{QStringLiteral("MIDIファイル (*.mid)"), QStringLiteral("WAVEファイル (*.wav)")};
    browser.setNameFilters(filters);
    browser.selectNameFilter(filters.first());
    const QString folder = Options::folderOfPath(stored);
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
    if (!Options::canStore(chosen)) {
        DialogMessages::warn(this, DialogMessages::cannotHoldText(chosen));
        return;
    }
    settings.songFile[size_t(m_currentSlot)] = chosen;
    mSongFile->setText(settings.songFile[size_t(m_currentSlot)]);
}

void MusicSettingsDialog::takePlayWait()
{
    Options::settings().playWait = mPlayWait->isChecked();
    commitSongFile(m_currentSlot);
}

void MusicSettingsDialog::takePlayRepeat()
{
    Options::settings().playRepeat = mPlayRepeat->isChecked();
    commitSongFile(m_currentSlot);
}

void MusicSettingsDialog::saveAndClose()
{
    if (!commitSongFile(m_currentSlot)) {
        return;
    }
    if (const Options::SaveResult saved = Options::saveOptions(); !saved) {
        // The settings stay in use for this run; the file on disk is still the old one.
        DialogMessages::saveFailed(this, saved);
    }
    accept();
}

void MusicSettingsDialog::putBackAndClose()
{
    Options::Record &settings = Options::settings();
    settings.songFile = m_savedSongFiles;
    settings.playWait = m_savedPlayWait;
    settings.playRepeat = m_savedPlayRepeat;
    QDialog::reject();
}

void MusicSettingsDialog::reject()
{
    if (m_closingByCloseBox) {
        QDialog::reject(); // changes made so far stay in the record, unsaved
    } else {
        putBackAndClose();
    }
}

void MusicSettingsDialog::closeEvent(QCloseEvent *event)
{
    m_closingByCloseBox = true;
    QDialog::closeEvent(event);
    m_closingByCloseBox = false;
}
