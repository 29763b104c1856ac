// SPDX-License-Identifier: GPL-3.0-or-later
// The music and display settings dialogs: what they show, store, save and put back.
#include "audiotestutil.h"
#include "display/displaysettingsdialog.h"
#include "display/folderlistbox.h"
#include "keyslots.h"
#include "messagecatcher.h"
#include "modalwindow.h"
#include "music/musicsettingsdialog.h"
#include "settings.h"
#include "smalldisk.h"
#include "twips.h"

#include <QtTest>
#include <QtWidgets>
#include <sndfile.h>

using namespace Qt::StringLiterals;

static const QString Missing = u"指定されたﾌｧｲﾙは存在しません。\n  %1\n有効なﾌｧｲﾙを設定してください。"_s;
static const QString CannotHold =
    u"ﾌｧｲﾙ名に設定ﾌｧｲﾙに保存できない文字が含まれています。\n  %1\n別の名前のﾌｧｲﾙを設定してください。"_s;

// A control of a dialog, by its object name.
template <typename Control = QWidget> static Control *control(const QWidget *dialog, const char *name)
{
    return dialog->findChild<Control *>(QLatin1String(name));
}

enum class Ending { Ok, Cancel, Esc, CloseBox };
enum class Verdict { Taken, Missing, Unstorable };          // what the music dialog says of a song name
enum class AtFault { None, InputFontSize, LyricsFontSize }; // the size the display dialog refuses
// The columns of keyboard.tsv.
enum KeyColumn { Slot, KeyCode, Name, Caption, Left, Top, Width, Height, Border, Alignment, FileName };

class TestSettingsDialogs : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    const QString m_dir = m_root.filePath(u"program"_s);
    ProgramFolder m_folder{m_dir};
    Settings::Record m_settings;           // what a dialog opens with
    std::optional<MessageCatcher> m_boxes; // a box no test expects fails its test instead of waiting
    AudioEngine m_engine{{AudioEngine::Output::Offline}};

    QString path(const QString &name) const { return QDir::cleanPath(m_dir + u'/' + name); }
    // Option.dat's lines, each still ending in its CR; none while it was never written.
    QList<QByteArray> savedLines() const
    {
        QFile file(m_folder.optionFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QList<QByteArray>();
    }

private slots:
    void init()
    {
        qputenv("SDL_AUDIODRIVER", "disk"); // a file for a microphone
        qputenv("SDL_DISKAUDIODELAY", "0");
        QVERIFY(QDir(m_dir).removeRecursively());
        for (const QString &file :
             {u"folder.mid/"_s, u"pics/"_s, u"pics/one.mid"_s, u"pics/two.mid"_s, u"Pics/"_s, u"other/"_s,
              u"zoë/"_s, u"a.mid"_s, u"b.wav"_s, u"c.mid"_s, u".h.mid"_s, u"café.mid"_s}) {
            QVERIFY(file.endsWith(u'/') ? QDir(m_dir).mkpath(file)
                                        : QFile(path(file)).open(QFile::WriteOnly));
        }
        m_folder = ProgramFolder(m_dir);
        m_settings = Settings::Record{};
        m_settings.inputFontSize = 36;
        m_boxes.emplace();
    }

    // Each slot is a key of the keyboard: the code that selects it (none for the right-hand copies and the
    // lower half of Enter), and its key on the drawing, with its caption, border and alignment, where a
    // click selects the slot and shows its name and song.
    void eachSlotIsItsKey_data()
    {
        QTest::addColumn<QStringList>("key");
        QFile file(u"" ZUBELO_TEST_DATA "/keyboard.tsv"_s);
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        for (const QByteArray &line : file.readAll().trimmed().split('\n')) {
            const QStringList key = QString::fromUtf8(line).split(u'\t');
            if (!line.startsWith('#')) {
                QTest::newRow(qPrintable(key[Slot] + u' ' + key[Name])) << key;
            }
        }
    }
    void eachSlotIsItsKey()
    {
        QFETCH(QStringList, key);
        const int slot = key[Slot].toInt();
        const bool keyed = key[KeyCode] != u"-";
        QCOMPARE(KeySlots::keyCodeOfSlot(slot), keyed ? key[KeyCode].toInt() : KeySlots::NoKeyCode);
        QVERIFY(!keyed || KeySlots::slotForKeyCode(key[KeyCode].toInt()) == slot);
        QCOMPARE(KeySlots::keyFileName(slot), key[FileName]); // of its recordings
        const KeySlots::KeyDrawing drawing = KeySlots::keyDrawing(slot);
        const QRect drawn(key[Left].toInt(), key[Top].toInt(), key[Width].toInt(), key[Height].toInt());
        QCOMPARE(QRect(drawing.left, drawing.top, drawing.width, drawing.height), drawn);
        m_settings.songFile[slot] = u"c.mid"_s;
        MusicSettingsDialog dialog(m_settings, m_folder, m_engine);
        dialog.show();
        const QLabel *label = control<QLabel>(&dialog, qPrintable(u"key"_s + QString::number(slot)));
        QCOMPARE(label->text(), key[Caption]);
        QCOMPARE(label->frameShape(), key[Border] == u"box" ? QFrame::Box : QFrame::NoFrame);
        const QMap<QString, Qt::Alignment> alignments{
            {u"left"_s, Qt::AlignLeft}, {u"centre"_s, Qt::AlignHCenter}, {u"right"_s, Qt::AlignRight}};
        QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, alignments.value(key[Alignment]));
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect room = label->contentsRect(); // the whole caption shows in its key
        QVERIFY(room.contains(label->fontMetrics().boundingRect(room, flags, label->text())));
        const QPoint centre = Twips::rect(drawn.center().x(), drawn.center().y(), 0, 0).topLeft();
        QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {},
                          control<QGroupBox>(&dialog, "songsFrame")->mapTo(&dialog, centre));
        QCOMPARE(control<QLabel>(&dialog, "keyName")->text(), key[Name] + u"キー"_s);
        QCOMPARE(control<QLineEdit>(&dialog, "songFile")->text(), u"c.mid"_s);
    }

    // OK saves the typed name; Cancel and Esc put back every name and both flags; the close box keeps what
    // was committed (by selecting a key again) and saves nothing. Enter presses no button.
    void endingKeepsOrPutsBack_data()
    {
        QTest::addColumn<Ending>("ending");
        QTest::addColumn<QString>("song"); // of the A key afterwards
        QTest::newRow("OK") << Ending::Ok << u"a.mid"_s;
        QTest::newRow("Cancel") << Ending::Cancel << u"c.mid"_s;
        QTest::newRow("Esc") << Ending::Esc << u"c.mid"_s;
        QTest::newRow("close box") << Ending::CloseBox << u"b.wav"_s;
    }
    void endingKeepsOrPutsBack()
    {
        QFETCH(Ending, ending);
        QFETCH(QString, song);
        const bool flagsPutBack = ending == Ending::Cancel || ending == Ending::Esc;
        m_settings.songFile[60] = u"c.mid"_s;
        m_settings.playWait = true;
        MusicSettingsDialog dialog(m_settings, m_folder, m_engine);
        dialog.show();
        QVERIFY(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint)); // above the play window
        auto *songFile = control<QLineEdit>(&dialog, "songFile");
        dialog.selectKey(60);
        songFile->setText(u"b.wav"_s);
        dialog.selectKey(60); // commits what was typed
        QTest::mouseClick(control<QCheckBox>(&dialog, "playWait"), Qt::LeftButton);
        QTest::mouseClick(control<QCheckBox>(&dialog, "playRepeat"), Qt::LeftButton);
        songFile->setText(u"a.mid"_s);
        QTest::keyClick(songFile, Qt::Key_Return);
        switch (ending) {
        case Ending::Ok:
        case Ending::Cancel:
            control<QPushButton>(&dialog, ending == Ending::Ok ? "ok" : "cancel")->click();
            break;
        case Ending::Esc: QTest::keyClick(&dialog, Qt::Key_Escape); break;
        case Ending::CloseBox: dialog.close(); break;
        }
        QVERIFY(!dialog.isVisible() && m_boxes->texts.isEmpty());
        QCOMPARE(dialog.settings().songFile[60], song);
        QCOMPARE(dialog.settings().playWait, flagsPutBack);
        QCOMPARE(dialog.settings().playRepeat, !flagsPutBack);
        QCOMPARE(savedLines().value(60), ending == Ending::Ok ? "a.mid\r" : QByteArray()); // only OK writes
    }

    // A name is taken as typed (relative ones from the program folder) and must name an ordinary file that
    // the settings file can hold. A refused name is told at each commit, which then does not happen (only
    // a check box's flag changes all the same); once cleared, OK saves.
    void songNamesMustNameAStorableFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Verdict>("verdict");
        QTest::newRow("relative, in another case, as playing finds it") << u"B.WAV"_s << Verdict::Taken;
        QTest::newRow("wildcard * that matches") << u"*.wav"_s << Verdict::Taken;
        QTest::newRow("wildcard ? that matches") << u"?.wav"_s << Verdict::Taken;
        QTest::newRow("missing") << u"gone.mid"_s << Verdict::Missing;
        QTest::newRow("wildcard that matches nothing") << u"?.txt"_s << Verdict::Missing;
        QTest::newRow("a folder") << u"folder.mid"_s << Verdict::Missing;
        QTest::newRow("a hidden file") << u".h.mid"_s << Verdict::Missing;
        QTest::newRow("blanks are not trimmed") << u" b.wav"_s << Verdict::Missing;
        QTest::newRow("unstorable") << u"café.mid"_s << Verdict::Unstorable;
    }
    void songNamesMustNameAStorableFile()
    {
        QFETCH(QString, name);
        QFETCH(Verdict, verdict);
        m_settings.songFile[0] = name;
        m_settings.playWait = true;
        MusicSettingsDialog dialog(m_settings, m_folder, m_engine);
        dialog.show();
        dialog.selectKey(60);
        QTest::mouseClick(control<QCheckBox>(&dialog, "playRepeat"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>(&dialog, "ok"), Qt::LeftButton);
        // Told for the opening's selection of Esc and its ticking PlayWait, then A, PlayRepeat, OK.
        const QStringList told(verdict == Verdict::Taken ? 0 : 5,
                               (verdict == Verdict::Missing ? Missing : CannotHold).arg(name));
        QCOMPARE(m_boxes->texts, told);
        QCOMPARE(m_boxes->titles, QStringList(told.size(), u"Zubelo"_s));
        QCOMPARE(m_boxes->icons, QList<QMessageBox::Icon>(told.size(), QMessageBox::Warning));
        // Refused: still on Esc, not yet named, with the focus on the name; nothing saved.
        if (verdict != Verdict::Taken) {
            QCOMPARE(control<QLabel>(&dialog, "keyName")->text(), QString());
            QCOMPARE(control<QLineEdit>(&dialog, "songFile")->text(), name);
            QVERIFY(dialog.focusWidget() == control<QLineEdit>(&dialog, "songFile")
                    && savedLines().isEmpty());
            control<QLineEdit>(&dialog, "songFile")->clear(); // no song at all is fine
            QTest::mouseClick(control<QPushButton>(&dialog, "ok"), Qt::LeftButton);
        }
        QVERIFY(!dialog.isVisible());
        QCOMPARE(savedLines().value(0), (verdict == Verdict::Taken ? name.toUtf8() : QByteArray()) + '\r');
        QCOMPARE(savedLines().mid(110, 2), (QList<QByteArray>{"True\r", "True\r"}));
    }

    // The stored size is shown as the file writes it, in a box that takes no input method. Sizes from 0 to
    // 2160 are taken, rounded; Enter presses no button. Each row picks another folder first: it is in use
    // as soon as the folder check passes, and stays when a size is then refused and the dialog cancelled.
    void fontSizesFromZeroTo2160AreTaken_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("lyrics");
        QTest::addColumn<AtFault>("atFault");
        QTest::addColumn<QList<QByteArray>>("saved"); // the size lines
        const QList<QByteArray> none;
        QTest::newRow("0 and 2160") << u"0"_s << u"2160"_s << AtFault::None
                                    << QList<QByteArray>{" 0 \r", " 2160 \r"};
        QTest::newRow("2160 and empty, which reads 0")
            << u"2160"_s << QString() << AtFault::None << QList<QByteArray>{" 2160 \r", " 0 \r"};
        QTest::newRow("2160.5") << u"2160.5"_s << u"1"_s << AtFault::InputFontSize << none;
        QTest::newRow("lyrics 2160.5") << u"1"_s << u"2160.5"_s << AtFault::LyricsFontSize << none;
        QTest::newRow("lyrics -0.4, which rounds to 0")
            << u"1"_s << u"-0.4"_s << AtFault::LyricsFontSize << none;
        QTest::newRow("-1 and 3000: the typed-character size first")
            << u"-1"_s << u"3000"_s << AtFault::InputFontSize << none;
    }
    void fontSizesFromZeroTo2160AreTaken()
    {
        QFETCH(QString, input);
        QFETCH(QString, lyrics);
        QFETCH(AtFault, atFault);
        QFETCH(QList<QByteArray>, saved);
        DisplaySettingsDialog dialog(m_settings, m_folder);
        QSignalSpy applied(&dialog, &DisplaySettingsDialog::inputFontSizeChanged);
        dialog.show();
        QVERIFY(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint)); // above the play window
        auto *inputBox = control<QLineEdit>(&dialog, "inputFontSize");
        auto *lyricsBox = control<QLineEdit>(&dialog, "lyricsFontSize");
        QVERIFY(inputBox->text() == u" 36"_s && !inputBox->testAttribute(Qt::WA_InputMethodEnabled));
        QVERIFY(control<FolderListBox>(&dialog, "folders")->setPath(path(u"other"_s)));
        inputBox->setText(input);
        lyricsBox->setText(lyrics);
        QTest::keyClick(lyricsBox, Qt::Key_Return);
        QTest::mouseClick(control<QPushButton>(&dialog, "ok"), Qt::LeftButton);
        if (atFault != AtFault::None) {
            QCOMPARE(m_boxes->texts, QStringList{u"設定内容に誤りがあります"_s});
            QCOMPARE(dialog.focusWidget(), atFault == AtFault::InputFontSize ? inputBox : lyricsBox);
            QTest::mouseClick(control<QPushButton>(&dialog, "cancel"), Qt::LeftButton);
            QCOMPARE(dialog.settings().inputFontSize, 36);
        }
        QVERIFY(!dialog.isVisible());
        QCOMPARE(applied.size(), saved.isEmpty() ? 0 : 1);
        QCOMPARE(dialog.settings().pictureFolder, path(u"other"_s));
        QCOMPARE(savedLines().mid(113, 2), saved);
    }

    // The stored text stays while the list is left on the folder that stands for it (a relative one stays
    // relative); a folder chosen is stored by its full path, even when it differs only in spelling.
    void pictureFolderIsKeptAsStoredOrChosen_data()
    {
        QTest::addColumn<QString>("program"); // the program folder within the test's own
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("chosen"); // none: the list is left where it opened
        QTest::newRow("unchanged") << QString() << u"pics"_s << QString();
        QTest::newRow("vanished") << QString() << u"gone/away"_s << QString();
        QTest::newRow("empty, unstorable program folder") << u"zoë"_s << QString() << QString();
        QTest::newRow("another folder in another case") << QString() << u"pics"_s << u"Pics"_s;
        QTest::newRow("trailing separator") << QString() << u"pics/"_s << u"pics"_s;
    }
    void pictureFolderIsKeptAsStoredOrChosen()
    {
        QFETCH(QString, program);
        QFETCH(QString, stored);
        QFETCH(QString, chosen);
        m_folder = ProgramFolder(path(program));
        m_settings.pictureFolder = stored;
        DisplaySettingsDialog dialog(m_settings, m_folder);
        QSignalSpy listed(&dialog, &DisplaySettingsDialog::pictureFolderChanged);
        QVERIFY(chosen.isEmpty() || control<FolderListBox>(&dialog, "folders")->setPath(path(chosen)));
        control<QPushButton>(&dialog, "ok")->click();
        const QString kept = chosen.isEmpty() ? stored : path(chosen);
        QCOMPARE(dialog.settings().pictureFolder, kept);
        QCOMPARE(QList<QVariantList>(listed), QList<QVariantList>(chosen.isEmpty() ? 0 : 1, {kept}));
        QCOMPARE(savedLines().value(112), kept.toUtf8() + '\r'); // written all the same
    }

    // A parent's takes for the A key: 録音 holds the rest of the dialog while it records, and the level
    // shows. A take ends after ten seconds, keeps 0.1 s before its sound, and is stored and shown as
    // voices/A-2.wav beside a parent's A.wav (the next as A-3.wav); 試聴 plays it. OK keeps the take the key
    // names; Cancel and the close box, here in the middle of the second take, remove both and give the key
    // its song back. No microphone, silence and a disk that takes no file are told, twice, and change
    // nothing.
    void takes_data()
    {
        QTest::addColumn<double>("loudness"); // of 0.3 s of silence and 11.7 s of sound; -1: no microphone
        QTest::addColumn<int>("kibibytes");   // the program folder's own disk; negative: read-only
        QTest::addColumn<Ending>("ending");
        QTest::addColumn<QString>("told"); // the message's first line
        const QString cannotSave = u"録音をﾌｧｲﾙに保存できませんでした。"_s;
        QTest::newRow("OK") << 0.3 << 0 << Ending::Ok << QString();
        QTest::newRow("Cancel") << 0.3 << 0 << Ending::Cancel << QString();
        QTest::newRow("close box") << 0.3 << 0 << Ending::CloseBox << QString();
        QTest::newRow("no microphone")
            << -1.0 << 0 << Ending::Ok << u"録音できません。マイクが見つからないか、使えない状態です。"_s;
        QTest::newRow("muted") << 0.0 << 0 << Ending::Ok << u"マイクから音が届きませんでした。"_s;
        QTest::newRow("full disk") << 0.3 << 64 << Ending::Ok << cannotSave;
        QTest::newRow("read-only disk") << 0.3 << -64 << Ending::Ok << cannotSave;
    }
    void takes()
    {
        QFETCH(double, loudness);
        QFETCH(int, kibibytes);
        QFETCH(Ending, ending);
        QFETCH(QString, told);
        SMALL_DISK_OR_SKIP(disk, qAbs(kibibytes));
        QVERIFY(QDir().mkpath(disk.path(u"voices"_s))
                && QFile(disk.path(u"voices/A.wav"_s)).open(QFile::WriteOnly)
                && QFile(disk.path(u"c.mid"_s)).open(QFile::WriteOnly));
        QVERIFY(kibibytes >= 0 || disk.makeReadOnly());
        if (kibibytes > 0) {
            disk.fill(4096);
        }
        const QString microphone =
            m_root.filePath(u"microphone.raw"_s); // read as fast as it goes, then silence
        QVERIFY(AudioTest::writeSamples(microphone, 48000, 1, SF_FORMAT_RAW | SF_FORMAT_FLOAT,
                                        AudioTest::toneBetweenSilences(48000, 0.3, 11.7, 0, loudness)));
        qputenv("SDL_DISKAUDIOFILEIN", loudness < 0 ? "none" : QFile::encodeName(microphone));
        m_settings.songFile[60] = u"c.mid"_s;
        MusicSettingsDialog dialog(m_settings, ProgramFolder(disk.dir.path()), m_engine);
        const auto button = [&dialog](const char *name) { return control<QPushButton>(&dialog, name); };
        const auto songFile = [&dialog] { return control<QLineEdit>(&dialog, "songFile")->text(); };
        dialog.show();
        dialog.selectKey(60);
        QSignalSpy levels(control<QProgressBar>(&dialog, "level"), &QProgressBar::valueChanged);
        for (const QString &take : {u"voices/A-2.wav"_s, u"voices/A-3.wav"_s}) {
            button("record")->click(); // 試聴 stops first
            QVERIFY(button("record")->text() == u"停止(&R)"_s && !m_engine.isOpen()
                    && !button("ok")->isEnabled());
            QVERIFY(!control(&dialog, "key60")->isEnabled() && !button("audition")->isEnabled());
            if (ending != Ending::Ok && take.endsWith(u"3.wav"_s)) {
                break;
            }
            QTRY_COMPARE(button("record")->text(), u"録音(&R)"_s);
            QCOMPARE(songFile(), told.isEmpty() ? take : u"c.mid"_s);
            button("audition")->click();
            QCOMPARE(dialog.auditionPlayer().fileName(), disk.path(songFile()));
        }
        QCOMPARE(levels.count() > 0 && levels.first().first().toInt() > 80, loudness > 0);
        // Ten seconds of 16-bit mono from 0.1 s before the sound (whose first sample is silent).
        QCOMPARE(QFileInfo(disk.path(u"voices/A-2.wav"_s)).size(),
                 told.isEmpty() ? 44 + 2 * (480000 - 9601) : 0);
        // 試聴 stops when pressed again and for another key, and plays on until OK.
        if (ending == Ending::Ok) {
            button("audition")->click();
            QVERIFY(!m_engine.isOpen());
            button("audition")->click();
            dialog.selectKey(61);
            QVERIFY(!m_engine.isOpen());
            dialog.selectKey(60);
            button("audition")->click();
        }
        switch (ending) {
        case Ending::Ok: button("ok")->click(); break;
        case Ending::CloseBox: dialog.close(); break;
        default: button("cancel")->click(); break;
        }
        QVERIFY(!m_engine.isOpen());
        QCOMPARE(m_boxes->texts.filter(told).size(), told.isEmpty() ? 0 : 2);
        const bool kept = told.isEmpty() && ending == Ending::Ok;
        QCOMPARE(QDir(disk.path(u"voices"_s)).entryList(QDir::Files | QDir::Hidden),
                 (kept ? u"A-3.wav A.wav"_s : u"A.wav"_s).split(u' '));
        QCOMPARE(dialog.settings().songFile[60], kept ? u"voices/A-3.wav"_s : u"c.mid"_s);
    }

    // OK when the save fails: the parent is told why and the settings stay in use. (That the old file stays,
    // whatever the cause, is pinned with the settings file itself; both dialogs tell it with the same call.)
    void failedSaveIsTold()
    {
        SMALL_DISK_OR_SKIP(disk, 64);
        QFile file(disk.path(u"Option.dat"_s));
        QVERIFY(file.open(QFile::WriteOnly) && file.write("old\r\n") == 5);
        file.close();
        m_folder = ProgramFolder(disk.dir.path());
        m_settings.songFile.fill(QString(100, u'b')); // 11 KiB: more than the room left
        m_settings.songFile[0].clear();               // the key the music dialog opens at
        disk.fill(4096);
        MusicSettingsDialog music(m_settings, m_folder, m_engine);
        control<QLineEdit>(&music, "songFile")->setText(path(u"a.mid"_s));
        control<QPushButton>(&music, "ok")->click();
        DisplaySettingsDialog display(m_settings, m_folder);
        control<QLineEdit>(&display, "inputFontSize")->setText(u"50"_s);
        control<QPushButton>(&display, "ok")->click();
        const QString told = u"設定をﾌｧｲﾙに保存できませんでした。\n  "_s + file.fileName() + u"\n  "_s
                             + qt_error_string(ENOSPC)
                             + u"\n今の設定はこのまま使えますが、保存されたﾌｧｲﾙは以前のままです。"_s;
        QCOMPARE(m_boxes->texts, QStringList(2, told));
        QVERIFY(file.open(QFile::ReadOnly) && file.readAll() == "old\r\n");
        QVERIFY(music.result() == QDialog::Accepted && display.result() == QDialog::Accepted);
        QCOMPARE(music.settings().songFile[0], path(u"a.mid"_s));
        QCOMPARE(display.settings().inputFontSize, 50);
    }

    // The browser opens at the stored song (not the typed text) and offers MIDI, then WAVE files. A choice
    // is stored and shown; a cancelled browser changes nothing.
    void browserOpensAtTheStoredSong_data()
    {
        QTest::addColumn<QString>("chosen"); // none: cancelled
        QTest::newRow("chosen") << u"pics/two.mid"_s;
        QTest::newRow("cancelled") << QString();
    }
    void browserOpensAtTheStoredSong()
    {
        QFETCH(QString, chosen);
        m_settings.songFile[0] = path(u"pics/one.mid"_s);
        MusicSettingsDialog dialog(m_settings, m_folder, m_engine);
        control<QLineEdit>(&dialog, "songFile")->setText(u"typed"_s);
        QStringList seen;
        WhenModalOpens<QFileDialog> browser(
            [&](QFileDialog *files) {
                auto *name = files->findChild<QLineEdit *>(u"fileNameEdit"_s);
                if (seen.isEmpty()) {
                    seen << files->directory().absolutePath() << name->text() << files->nameFilters()
                         << files->selectedNameFilter();
                }
                if (chosen.isEmpty()) {
                    return files->reject();
                }
                // Typed as a parent would; the list may still select the stored name as it fills.
                if (files->selectedFiles() != QStringList{path(chosen)}) {
                    return name->setText(QFileInfo(chosen).fileName());
                }
                QTest::keyClick(name, Qt::Key_Return);
            },
            [](QFileDialog *files) { // once the list shows the folder, filled in the background
                auto *list = files->findChild<QListView *>(u"listView"_s);
                return list && list->model()->rowCount(list->rootIndex()) == 2;
            });
        dialog.browseForSong();
        QCOMPARE(seen, (QStringList{path(u"pics"_s), u"one.mid"_s, u"MIDIファイル (*.mid)"_s,
                                    u"WAVEファイル (*.wav)"_s, u"MIDIファイル (*.mid)"_s}));
        // A choice is stored by its full path.
        const QString stored = path(chosen.isEmpty() ? u"pics/one.mid"_s : chosen);
        QCOMPARE(control<QLineEdit>(&dialog, "songFile")->text(), chosen.isEmpty() ? u"typed"_s : stored);
        QCOMPARE(dialog.settings().songFile[0], stored);
    }
};

QTEST_MAIN(TestSettingsDialogs)
#include "tst_settingsdialogs.moc"
