// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/musicsettingsdialog.h"

#include "dialogbuttons.h"
#include "japanesefont.h"
#include "keyslots.h"
#include "messages.h"
#include "music/onscreenkeyboard.h"
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

// An ordinary file by the name as typed (relative names in the program
// folder), found as the play window finds it; wildcards count when at least
// one ordinary file matches them.
bool namesAnExistingFile(const QString &path)
{
    if (!path.startsWith(u'/')) {
        return false; // a Windows path ("C:\\...") names nothing here
    }
    if (path.contains(u'*') || path.contains(u'?')) {
        const QFileInfo info(path);
        return !info.dir().entryList({info.fileName()}, QDir::Files).isEmpty();
    }
    const QFileInfo info(Paths::locate(QFileInfo(path).absoluteFilePath()));
    return info.isFile() && !info.fileName().startsWith(u'.');
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

MusicSettingsDialog::MusicSettingsDialog(const Settings::Record &settings, const ProgramFolder &folder,
                                         QWidget *parent)
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
    , m_folder(folder)
    , m_opened(settings)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("musicSettingsDialog"));
    setWindowTitle(QStringLiteral("曲の設定"));
    setFont(JapaneseFont::proportional(9));
    setFixedSize(Twips::toPixels(6468), Twips::toPixels(5160));

    m_intro->setGeometry(Twips::rect(120, 0, 6252, 372));
    m_songsFrame->setObjectName(QStringLiteral("songsFrame"));
    m_intro->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_songsFrame->setGeometry(Twips::rect(120, 480, 6252, 3612));
    m_clickAKey->setGeometry(Twips::rect(240, 240, 2652, 252));
    m_keyName->setObjectName(QStringLiteral("keyName"));
    m_keyName->setGeometry(Twips::rect(240, 2520, 1212, 732));
    m_keyName->setFrameShape(QFrame::Box);
    m_keyName->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_keyName->setWordWrap(true);
    m_songFileLabel->setGeometry(Twips::rect(1680, 2760, 1212, 252));
    m_songFile->setObjectName(QStringLiteral("songFile"));
    m_songFile->setGeometry(Twips::rect(1680, 3000, 3492, 264));
    m_browse->setObjectName(QStringLiteral("browse"));
    m_browse->setGeometry(Twips::rect(5280, 3000, 852, 372));
    // The captions wrap after their two ideographic spaces.
    m_playWait->setObjectName(QStringLiteral("playWait"));
    m_playWait->setText(
        QString(playWaitCaption()).replace(QStringLiteral("　　("), QStringLiteral("　　\n(")));
    m_playWait->setGeometry(Twips::rect(120, 4080, 3132, 612));
    m_playRepeat->setObjectName(QStringLiteral("playRepeat"));
    m_playRepeat->setText(
        QString(playRepeatCaption()).replace(QStringLiteral("　　("), QStringLiteral("　　\n(")));
    m_playRepeat->setGeometry(Twips::rect(3360, 4080, 3012, 612));
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setGeometry(Twips::rect(4200, 4680, 972, 372));
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_cancel->setGeometry(Twips::rect(5280, 4680, 972, 372));
    DialogButtons::keepFromEnter({m_browse, m_ok, m_cancel});
    setTabOrder(m_songFile, m_browse);
    setTabOrder(m_browse, m_ok);
    setTabOrder(m_ok, m_cancel);
    setTabOrder(m_cancel, m_playWait);
    setTabOrder(m_playWait, m_playRepeat);

    connect(m_keyboard, &OnScreenKeyboard::keyClicked, this, &MusicSettingsDialog::selectKey);
    connect(m_browse, &QPushButton::clicked, this, &MusicSettingsDialog::browseForSong);
    // A box ticked by loadSettings runs its handler, as a click would.
    connect(m_playWait, &QCheckBox::toggled, this, &MusicSettingsDialog::takePlayWait);
    connect(m_playRepeat, &QCheckBox::toggled, this, &MusicSettingsDialog::takePlayRepeat);
    connect(m_ok, &QPushButton::clicked, this, &MusicSettingsDialog::saveAndClose);
    connect(m_cancel, &QPushButton::clicked, this, &MusicSettingsDialog::putBackAndClose);

    loadSettings();
    m_songFile->setFocus();
}

void MusicSettingsDialog::loadSettings()
{
    WindowGuard::makeTopmost(this);
    m_currentSlot = 0;
    m_songFile->setText(m_settings.songFile[0]);
    selectKey(0);
    m_playWait->setChecked(m_settings.playWait);
    m_playRepeat->setChecked(m_settings.playRepeat);
}

void MusicSettingsDialog::selectKey(int slot)
{
    if (!commitSongFile(m_currentSlot)) {
        return; // the selection stays; the rejected name waits in the text box
    }
    m_keyName->setText(KeySlots::keyDisplayName(slot) + QStringLiteral("キー"));
    m_songFile->setText(m_settings.songFile[size_t(slot)]);
    m_currentSlot = qint16(slot);
}

bool MusicSettingsDialog::commitSongFile(int slot)
{
    const QString name = m_songFile->text();
    if (!name.isEmpty() && !namesAnExistingFile(m_folder.resolve(name))) {
        DialogMessages::warn(this, QStringLiteral("指定されたﾌｧｲﾙは存在しません。\n  ") + name
                                       + QStringLiteral("\n有効なﾌｧｲﾙを設定してください。"));
        m_songFile->setFocus();
        return false;
    }
    if (!Settings::canStore(name)) {
        DialogMessages::warn(this, DialogMessages::cannotHoldText(name));
        m_songFile->setFocus();
        return false;
    }
    m_settings.songFile[size_t(slot)] = name;
    return true;
}

void MusicSettingsDialog::browseForSong()
{
    const QString stored = m_settings.songFile[size_t(m_currentSlot)];
    // Qt's own dialog: the same on every desktop. It never changes the current folder.
    QFileDialog browser(this);
    browser.setOption(QFileDialog::DontUseNativeDialog);
    browser.setAcceptMode(QFileDialog::AcceptOpen);
    browser.setFileMode(QFileDialog::ExistingFile);
    const QStringList filters{QStringLiteral("MIDIファイル (*.mid)"), QStringLiteral("WAVEファイル (*.wav)")};
    browser.setNameFilters(filters);
    browser.selectNameFilter(filters.first());
    // The stored song's folder, else the program folder.
    const QString folder = m_folder.resolve(Paths::folderOf(stored));
    browser.setDirectory(QFileInfo(folder).isDir() ? folder : m_folder.path());
    if (!stored.isEmpty()) {
        browser.selectFile(QFileInfo(stored).fileName());
    }
    if (browser.exec() != QDialog::Accepted || browser.selectedFiles().isEmpty()) {
        return; // cancelled: the stored name stays, and so does any typed text
    }
    const QString chosen = browser.selectedFiles().first();
    if (!Settings::canStore(chosen)) {
        DialogMessages::warn(this, DialogMessages::cannotHoldText(chosen));
        return;
    }
    m_settings.songFile[size_t(m_currentSlot)] = chosen;
    m_songFile->setText(chosen);
}

void MusicSettingsDialog::takePlayWait()
{
    m_settings.playWait = m_playWait->isChecked();
    commitSongFile(m_currentSlot);
}

void MusicSettingsDialog::takePlayRepeat()
{
    m_settings.playRepeat = m_playRepeat->isChecked();
    commitSongFile(m_currentSlot);
}

void MusicSettingsDialog::saveAndClose()
{
    if (!commitSongFile(m_currentSlot)) {
        return;
    }
    if (const Settings::SaveResult saved = Settings::save(m_folder.optionFile(), m_settings); !saved) {
        // The settings stay in use for this run; the file on disk is still the old one.
        DialogMessages::saveFailed(this, m_folder.optionFile(), saved);
    }
    accept();
}

void MusicSettingsDialog::putBackAndClose()
{
    m_settings = m_opened;
    QDialog::reject();
}

void MusicSettingsDialog::reject()
{
    if (m_closingByCloseBox) {
        QDialog::reject(); // the names taken so far stay, unsaved
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
