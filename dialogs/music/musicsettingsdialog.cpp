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
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <cmath>

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

// The meter spans 60 dB, from a quiet room's hum to full scale.
int meterValue(float peak)
{
    return peak > 0 ? std::clamp(int(100 + 100 * 20 * std::log10(peak) / 60), 0, 100) : 0;
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
                                         AudioEngine &engine, QWidget *parent)
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
    , m_record(new QPushButton(m_songsFrame))
    , m_level(new QProgressBar(m_songsFrame))
    , m_audition(new QPushButton(QStringLiteral("試聴(&P)"), m_songsFrame))
    , m_folder(folder)
    , m_opened(settings)
    , m_settings(settings)
    , m_takes(folder)
    , m_player(engine)
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
    // Between the keyboard and the song's name, in the frame's free space.
    m_record->setObjectName(QStringLiteral("record"));
    m_record->setGeometry(Twips::rect(1680, 2460, 972, 300));
    m_level->setObjectName(QStringLiteral("level"));
    m_level->setGeometry(Twips::rect(2760, 2535, 2412, 150));
    m_level->setTextVisible(false);
    m_audition->setObjectName(QStringLiteral("audition"));
    m_audition->setGeometry(Twips::rect(5280, 2460, 852, 300));
    m_audition->setCheckable(true); // in while the song plays
    showRecording(false);
    DialogButtons::keepFromEnter({m_browse, m_ok, m_cancel, m_record, m_audition});
    setTabOrder(m_songFile, m_browse);
    setTabOrder(m_browse, m_record);
    setTabOrder(m_record, m_audition);
    setTabOrder(m_audition, m_ok);
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
    connect(m_record, &QPushButton::clicked, this, &MusicSettingsDialog::toggleRecording);
    connect(&m_takes, &VoiceTakes::recordingChanged, this, &MusicSettingsDialog::showRecording);
    connect(&m_takes, &VoiceTakes::levelChanged, m_level,
            [this](float peak) { m_level->setValue(meterValue(peak)); });
    connect(&m_takes, &VoiceTakes::recorded, this, &MusicSettingsDialog::takeRecording);
    connect(&m_takes, &VoiceTakes::failed, this,
            [this](const QString &text) { DialogMessages::warn(this, text); });
    connect(m_audition, &QPushButton::toggled, this, &MusicSettingsDialog::audition);
    connect(m_songFile, &QLineEdit::textChanged, m_audition,
            [this] { m_audition->setEnabled(!m_songFile->text().isEmpty() && !m_takes.isRecording()); });
    connect(&m_player, &SongPlayer::ended, m_audition, [this] {
        if (m_player.currentMode() != SongPlayer::Mode::Playing) {
            const QSignalBlocker quiet(m_audition); // the song has ended already
            m_audition->setChecked(false);
        }
    });

    loadSettings();
    m_songFile->setFocus();
}

MusicSettingsDialog::~MusicSettingsDialog()
{
    stopAudition(); // the engine is the play window's
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
    stopAudition();
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
    // Qt's own dialog: the same on every desktop.
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
    stopAudition();
    if (const Settings::SaveResult saved = Settings::save(m_folder.optionFile(), m_settings); !saved) {
        // The settings stay in use for this run; the file on disk is still the old one.
        DialogMessages::saveFailed(this, m_folder.optionFile(), saved);
    }
    m_takes.keepNamed(m_settings.songFile); // a take no key names any more goes
    accept();
}

void MusicSettingsDialog::putBackAndClose()
{
    stopAudition();
    m_takes.keepNamed(); // none of this opening's takes stays
    m_settings = m_opened;
    QDialog::reject();
}

void MusicSettingsDialog::reject()
{
    if (m_closingByCloseBox) {
        // The names taken so far stay, unsaved; but the takes go, so their keys get back what they had.
        stopAudition();
        for (size_t slot = 0; slot < m_settings.songFile.size(); ++slot) {
            if (m_takes.isTake(m_settings.songFile[slot])) {
                m_settings.songFile[slot] = m_opened.songFile[slot];
            }
        }
        m_takes.keepNamed();
        QDialog::reject();
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

void MusicSettingsDialog::toggleRecording()
{
    if (m_takes.isRecording()) {
        m_takes.stop();
        return;
    }
    stopAudition(); // the toy's own sound stays out of the recording
    m_takes.record(m_currentSlot);
}

void MusicSettingsDialog::showRecording(bool recording)
{
    m_record->setText(recording ? QStringLiteral("停止(&R)") : QStringLiteral("録音(&R)"));
    // One key at a time, and OK once the take is in.
    for (QWidget *control : std::initializer_list<QWidget *>{m_keyboard, m_songFile, m_browse, m_ok}) {
        control->setEnabled(!recording);
    }
    m_audition->setEnabled(!recording && !m_songFile->text().isEmpty());
    m_level->setValue(0);
}

void MusicSettingsDialog::takeRecording(int slot, const QString &song)
{
    // As a name picked with the browser: taken at once, and shown.
    m_settings.songFile[size_t(slot)] = song;
    m_songFile->setText(song);
}

void MusicSettingsDialog::audition(bool play)
{
    m_player.close();
    if (!play) {
        return;
    }
    if (!commitSongFile(m_currentSlot)) {
        stopAudition();
        return;
    }
    // Found and played as the play window plays it; a song it cannot play ends at once.
    if (!m_player.playFile(Paths::locate(m_folder.resolve(m_settings.songFile[size_t(m_currentSlot)])))) {
        stopAudition();
    }
}

void MusicSettingsDialog::stopAudition()
{
    const QSignalBlocker quiet(m_audition);
    m_audition->setChecked(false);
    m_player.close();
}
