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
    , m_intro(new QLabel(QStringLiteral("ｷｰが押されたときの曲目や演奏方法を設定します"), this))
    , m_songsFrame(new QGroupBox(QStringLiteral("ｷｰごとの曲"), this))
    , m_clickAKey(new QLabel(QStringLiteral("ｷｰをクリックしてください"), m_songsFrame))
    , m_keyboard(new OnScreenKeyboard(m_songsFrame))
    , m_keyName(new QLabel(m_songsFrame))
    , m_songFileLabel(new QLabel(QStringLiteral("音楽ﾌｧｲﾙ :"), m_songsFrame))
    , m_songFile(new QLineEdit(m_songsFrame))
    , m_browse(new QPushButton(QStringLiteral("参照"), m_songsFrame))
    , m_playWait(new QCheckBox(this))
    , m_playRepeat(new QCheckBox(this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
    , m_cancel(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this))
{
    setObjectName(QStringLiteral("FormMusicOptions"));
    setWindowTitle(QStringLiteral("曲の設定"));
    setFont(JapaneseFont::Proportional(9));
    setFixedSize(Twips::ToPixels(6468), Twips::ToPixels(5160));

    m_intro->setGeometry(Twips::Rect(120, 0, 6252, 372));
    m_intro->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_songsFrame->setGeometry(Twips::Rect(120, 480, 6252, 3612));
    m_clickAKey->setGeometry(Twips::Rect(240, 240, 2652, 252));
    m_keyName->setObjectName(QStringLiteral("keyName"));
    m_keyName->setGeometry(Twips::Rect(240, 2520, 1212, 732));
    m_keyName->setFrameShape(QFrame::Box);
    m_keyName->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_keyName->setWordWrap(true);
    m_songFileLabel->setGeometry(Twips::Rect(1680, 2760, 1212, 252));
    m_songFile->setObjectName(QStringLiteral("songFile"));
    m_songFile->setGeometry(Twips::Rect(1680, 3000, 3492, 264));
    m_browse->setObjectName(QStringLiteral("browse"));
    m_browse->setGeometry(Twips::Rect(5280, 3000, 852, 372));
    // The captions wrap after their two ideographic spaces.
    m_playWait->setObjectName(QStringLiteral("playWait"));
    m_playWait->setText(
        QString(PlayWaitCaption()).replace(QStringLiteral("　　("), QStringLiteral("　　\n(")));
    m_playWait->setGeometry(Twips::Rect(120, 4080, 3132, 612));
    m_playRepeat->setObjectName(QStringLiteral("playRepeat"));
    m_playRepeat->setText(
        QString(PlayRepeatCaption()).replace(QStringLiteral("　　("), QStringLiteral("　　\n(")));
    m_playRepeat->setGeometry(Twips::Rect(3360, 4080, 3012, 612));
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setGeometry(Twips::Rect(4200, 4680, 972, 372));
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_cancel->setGeometry(Twips::Rect(5280, 4680, 972, 372));
    for (QPushButton *button : {m_browse, m_ok, m_cancel}) {
        noDefault(button);
    }
    setTabOrder(m_songFile, m_browse);
    setTabOrder(m_browse, m_ok);
    setTabOrder(m_ok, m_cancel);
    setTabOrder(m_cancel, m_playWait);
    setTabOrder(m_playWait, m_playRepeat);

    connect(m_keyboard, &OnScreenKeyboard::keyClicked, this, &FormMusicOptions::selectKey);
    connect(m_browse, &QPushButton::clicked, this, &FormMusicOptions::browseForSong);
    // A box ticked by loadSettings runs its handler, as a click would.
    connect(m_playWait, &QCheckBox::toggled, this, &FormMusicOptions::takePlayWait);
    connect(m_playRepeat, &QCheckBox::toggled, this, &FormMusicOptions::takePlayRepeat);
    connect(m_ok, &QPushButton::clicked, this, &FormMusicOptions::saveAndClose);
    connect(m_cancel, &QPushButton::clicked, this, &FormMusicOptions::putBackAndClose);

    loadSettings();
    m_songFile->setFocus();
}

void FormMusicOptions::loadSettings()
{
    WindowGuard::MakeTopmost(this);
    m_currentSlot = 0;
    const Options::Record &settings = Options::Settings();
    m_savedSongFiles = settings.SongFile;
    m_savedPlayWait = settings.PlayWait;
    m_savedPlayRepeat = settings.PlayRepeat;
    m_songFile->setText(settings.SongFile[0]);
    selectKey(0);
    m_playWait->setChecked(settings.PlayWait);
    m_playRepeat->setChecked(settings.PlayRepeat);
}

void FormMusicOptions::selectKey(int slot)
{
    if (!commitSongFile(m_currentSlot)) {
        return; // the selection stays; the rejected name waits in the text box
    }
    m_keyName->setText(KeySlots::KeyDisplayName(slot) + QStringLiteral("キー"));
    m_songFile->setText(Options::Settings().SongFile[size_t(slot)]);
    m_currentSlot = qint16(slot);
}

bool FormMusicOptions::commitSongFile(int slot)
{
    const QString name = m_songFile->text();
    if (!name.isEmpty() && !namesAnExistingFile(name)) {
        DialogMessages::Warn(this, QStringLiteral("指定されたﾌｧｲﾙは存在しません。\n  ") + name
                                       + QStringLiteral("\n有効なﾌｧｲﾙを設定してください。"));
        m_songFile->setFocus();
        return false;
    }
    if (!Options::CanStore(name)) {
        DialogMessages::Warn(this, DialogMessages::CannotHoldText(name));
        m_songFile->setFocus();
        return false;
    }
    Options::Settings().SongFile[size_t(slot)] = name;
    return true;
}

void FormMusicOptions::browseForSong()
{
    Options::Record &settings = Options::Settings();
    const QString stored = settings.SongFile[size_t(m_currentSlot)];
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
    settings.SongFile[size_t(m_currentSlot)] = chosen;
    m_songFile->setText(settings.SongFile[size_t(m_currentSlot)]);
}

void FormMusicOptions::takePlayWait()
{
    Options::Settings().PlayWait = m_playWait->isChecked();
    commitSongFile(m_currentSlot);
}

void FormMusicOptions::takePlayRepeat()
{
    Options::Settings().PlayRepeat = m_playRepeat->isChecked();
    commitSongFile(m_currentSlot);
}

void FormMusicOptions::saveAndClose()
{
    if (!commitSongFile(m_currentSlot)) {
        return;
    }
    if (const Options::SaveResult saved = Options::SaveOptions(); !saved) {
        // The settings stay in use for this run; the file on disk is still the old one.
        DialogMessages::SaveFailed(this, saved);
    }
    accept();
}

void FormMusicOptions::putBackAndClose()
{
    Options::Record &settings = Options::Settings();
    settings.SongFile = m_savedSongFiles;
    settings.PlayWait = m_savedPlayWait;
    settings.PlayRepeat = m_savedPlayRepeat;
    QDialog::reject();
}

void FormMusicOptions::reject()
{
    if (m_closingByCloseBox) {
        QDialog::reject(); // changes made so far stay in the record, unsaved
    } else {
        putBackAndClose();
    }
}

void FormMusicOptions::closeEvent(QCloseEvent *event)
{
    m_closingByCloseBox = true;
    QDialog::closeEvent(event);
    m_closingByCloseBox = false;
}
