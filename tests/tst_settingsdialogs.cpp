// SPDX-License-Identifier: GPL-3.0-or-later
// The music and display settings dialogs: what they show, store, save and put back.
#include "dialogs/display/folderlistbox.h"
#include "dialogs/display/formviewoptions.h"
#include "dialogs/music/formmusicoptions.h"
#include "messagecatcher.h"
#include "modalwindow.h"
#include "platform/twips.h"
#include "settings/options.h"
#include "smalldisk.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;

static const QString Missing = u"指定されたﾌｧｲﾙは存在しません。\n  %1\n有効なﾌｧｲﾙを設定してください。"_s;

// Option.dat's lines, each still ending in its CR; none while it was never written.
static QList<QByteArray> savedLines()
{
    QFile file(Options::OptionFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QList<QByteArray>();
}

using KeyRow = std::tuple<QPoint, int, QString, int>; // twips within the frame, slot, name, how it ends
using SizeRow = std::tuple<QString, QString, int, QList<int>>; // the two texts, box at fault, sizes after
using FolderRow = std::tuple<QString, QString, QString>;       // program folder, stored text, folder chosen

class TestSettingsDialogs : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    const QString m_dir = m_root.filePath(u"program"_s);
    Options::Record &m_settings = Options::Settings();

    QString path(const QString &name) const { return QDir::cleanPath(m_dir + u'/' + name); }

private slots:
    void init()
    {
        QVERIFY(QDir(m_dir).removeRecursively());
        for (const QString &file : {u"folder.mid/"_s, u"pics/"_s, u"other/"_s, u"zoë/"_s, u"a.mid"_s,
                                    u"b.wav"_s, u"c.mid"_s, u".h.mid"_s, u"café.mid"_s}) {
            QVERIFY(file.endsWith(u'/') ? QDir(m_dir).mkpath(file)
                                        : QFile(path(file)).open(QFile::WriteOnly));
        }
        Options::SetProgramFolder(m_dir);
        QDir::setCurrent(m_dir); // the play window makes the program folder current
        m_settings = Options::Record{};
        m_settings.InputFontSize = 36;
    }

    // A click where the drawing shows a key selects its slot. OK saves the typed name; Cancel and Esc put
    // back every name and both flags; the close box keeps what was committed.
    void keyAndEnding_data()
    {
        QTest::addColumn<KeyRow>("row"); // ends by 0 OK, 1 Cancel, 2 Esc, 3 the close box
        QTest::newRow("A, OK") << KeyRow{{960, 1680}, 60, u"[A]"_s, 0};
        QTest::newRow("upper Enter, Esc") << KeyRow{{3780, 1440}, 51, u"[Enter]"_s, 2};
        QTest::newRow("lower Enter, close box") << KeyRow{{3840, 1680}, 109, u"Enter"_s, 3};
        QTest::newRow("right Shift, Cancel") << KeyRow{{3780, 1920}, 87, u"[Shift]"_s, 1};
        QTest::newRow("Space, Esc") << KeyRow{{1920, 2160}, 97, u"[Space]"_s, 2};
        QTest::newRow("keypad +, lower row, OK") << KeyRow{{5880, 1680}, 58, u"テンキー[+]"_s, 0};
    }
    void keyAndEnding()
    {
        QFETCH(KeyRow, row);
        auto [twips, slot, name, how] = row;
        m_settings.SongFile[size_t(slot)] = u"c.mid"_s;
        m_settings.PlayWait = true;
        MessageCatcher boxes;
        FormMusicOptions dialog;
        dialog.show();
        QCOMPARE(dialog.m_keyName->text(), u"[Esc]キー"_s);
        const QPoint at =
            dialog.m_songsFrame->mapTo(&dialog, Twips::Rect(twips.x(), twips.y(), 0, 0).topLeft());
        QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {}, at);
        QCOMPARE(dialog.m_keyName->text() + u'|' + dialog.m_songFile->text(), name + u"キー|c.mid"_s);
        dialog.m_songFile->setText(u"b.wav"_s);
        QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {}, at); // again: commits what was typed
        QTest::mouseClick(dialog.m_playWait, Qt::LeftButton);
        QTest::mouseClick(dialog.m_playRepeat, Qt::LeftButton);
        dialog.m_songFile->setText(u"a.mid"_s);
        QTest::keyClick(dialog.m_songFile, Qt::Key_Return);
        QVERIFY(dialog.isVisible()); // Enter is no OK
        how < 2    ? QTest::mouseClick(how ? dialog.m_cancel : dialog.m_ok, Qt::LeftButton)
        : how == 2 ? QTest::keyClick(&dialog, Qt::Key_Escape)
                   : void(dialog.close());
        // Kept: OK's typed name, the stored one after Cancel or Esc, the committed one after the close box.
        const bool putBack = how == 1 || how == 2;
        const QString song[] = {u"a.mid"_s, u"c.mid"_s, u"c.mid"_s, u"b.wav"_s};
        QVERIFY(!dialog.isVisible() && boxes.texts.isEmpty());
        QCOMPARE(m_settings.SongFile[size_t(slot)], song[how]);
        QCOMPARE((QList<bool>{m_settings.PlayWait, m_settings.PlayRepeat}), (QList<bool>{putBack, !putBack}));
        QCOMPARE(savedLines().value(slot), how ? QByteArray() : "a.mid\r"); // only OK writes
    }

    // The stand-in fonts are wider than the drawing's: no caption of a key (nor of the frame's other labels)
    // may lose letters or shrink unreadably.
    void everyCaptionShowsWholeInItsKey()
    {
        FormMusicOptions dialog;
        for (const QLabel *key : dialog.m_songsFrame->findChildren<QLabel *>()) {
            const QRect room = key->contentsRect();
            const int flags = int(key->alignment()) | (key->wordWrap() ? Qt::TextWordWrap : 0);
            const QRect needed = QFontMetrics(key->font()).boundingRect(room, flags, key->text());
            QVERIFY2(room.contains(needed) && key->font().pointSizeF() >= 4.8, qPrintable(key->text()));
        }
    }

    // A name is taken as typed (relative ones from the current folder) and must name an ordinary file that
    // the settings file can hold. A refused name is told at each commit, which then does not happen (only
    // a check box's flag changes all the same); once cleared, OK saves.
    void songName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("told"); // none when accepted
        QTest::newRow("relative to the current folder") << u"b.wav"_s << QString();
        QTest::newRow("absolute, in another case, as playing finds it") << u"<dir>/B.WAV"_s << QString();
        QTest::newRow("wildcard that matches") << u"*.wav"_s << QString();
        QTest::newRow("missing") << u"gone.mid"_s << Missing.arg(u"gone.mid"_s);
        QTest::newRow("wildcard that matches nothing") << u"?.txt"_s << Missing.arg(u"?.txt"_s);
        QTest::newRow("a folder") << u"folder.mid"_s << Missing.arg(u"folder.mid"_s);
        QTest::newRow("a hidden file") << u".h.mid"_s << Missing.arg(u".h.mid"_s);
        QTest::newRow("blanks are not trimmed") << u" b.wav"_s << Missing.arg(u" b.wav"_s);
        QTest::newRow("unstorable")
            << u"café.mid"_s
            << u"ﾌｧｲﾙ名に設定ﾌｧｲﾙに保存できない文字が含まれています。\n  café.mid\n別の名前のﾌｧｲﾙを設定してください。"_s;
    }
    void songName()
    {
        QFETCH(QString, name);
        QFETCH(QString, told);
        m_settings.SongFile[0] = name.replace(u"<dir>"_s, m_dir);
        m_settings.PlayWait = true;
        MessageCatcher boxes;
        FormMusicOptions dialog;
        dialog.show();
        dialog.selectKey(60);
        QTest::mouseClick(dialog.m_playRepeat, Qt::LeftButton);
        QTest::mouseClick(dialog.m_ok, Qt::LeftButton);
        // Told for the opening's selection of Esc and its ticking PlayWait, then for A, PlayRepeat and OK.
        QCOMPARE(boxes.texts, told.isEmpty() ? QStringList() : QStringList(5, told));
        // Each a warning under the program's title.
        QCOMPARE(boxes.titles.count(u"Zubelo"_s) + boxes.icons.count(QMessageBox::Warning),
                 2 * boxes.texts.size());
        if (!told.isEmpty()) { // still on Esc, not yet named, with the focus on the name; nothing saved
            QCOMPARE(dialog.m_keyName->text() + dialog.m_songFile->text(), name);
            QVERIFY(dialog.focusWidget() == dialog.m_songFile && savedLines().isEmpty());
            dialog.m_songFile->clear(); // no song at all is fine
            QTest::mouseClick(dialog.m_ok, Qt::LeftButton);
        }
        QVERIFY(!dialog.isVisible());
        QCOMPARE(savedLines().mid(0, 1) + savedLines().mid(110, 2),
                 (QList<QByteArray>{told.isEmpty() ? name.toUtf8() + '\r' : "\r", "True\r", "True\r"}));
    }

    // Each row picks another folder first: it is in use as soon as the folder check passes, and stays when a
    // font size is then refused and the dialog cancelled.
    void fontSizes_data()
    {
        QTest::addColumn<SizeRow>("row"); // at fault: 0 none, 1 the typed-character size, 2 the lyrics size
        QTest::newRow("0 and 2160") << SizeRow{u"0"_s, u"2160"_s, 0, {0, 2160}};
        QTest::newRow("2160 and empty, which reads 0") << SizeRow{u"2160"_s, QString(), 0, {2160, 0}};
        QTest::newRow("12.5 and 13.5 to even") << SizeRow{u"12.5"_s, u"13.5"_s, 0, {12, 14}};
        QTest::newRow("2160.5") << SizeRow{u"2160.5"_s, u"1"_s, 1, {36, -4}};
        QTest::newRow("lyrics 2160.5") << SizeRow{u"1"_s, u"2160.5"_s, 2, {36, -4}};
        QTest::newRow("lyrics -0.4, which rounds to 0") << SizeRow{u"1"_s, u"-0.4"_s, 2, {36, -4}};
        QTest::newRow("-1 and 3000: the typed-character size first")
            << SizeRow{u"-1"_s, u"3000"_s, 1, {36, -4}};
    }
    void fontSizes()
    {
        QFETCH(SizeRow, row);
        auto [input, lyrics, atFault, sizes] = row;
        m_settings.LyricsFontSize = -4; // shown with its sign where a blank stands before others
        MessageCatcher boxes;
        FormViewOptions dialog;
        QSignalSpy applied(&dialog, &FormViewOptions::inputFontSizeChanged);
        dialog.show();
        QCOMPARE(dialog.m_inputFontSize->text() + dialog.m_lyricsFontSize->text(), u" 36-4"_s);
        QVERIFY(dialog.m_folders->Path() == m_dir
                && !dialog.m_inputFontSize->testAttribute(Qt::WA_InputMethodEnabled));
        QVERIFY(dialog.m_folders->SetPath(path(u"other"_s)));
        dialog.m_inputFontSize->setText(input);
        dialog.m_lyricsFontSize->setText(lyrics);
        QTest::keyClick(dialog.m_lyricsFontSize, Qt::Key_Return);
        QVERIFY(dialog.isVisible()); // Enter does not press OK
        QTest::mouseClick(dialog.m_ok, Qt::LeftButton);
        QCOMPARE(boxes.texts, atFault ? QStringList{u"設定内容に誤りがあります"_s} : QStringList());
        if (atFault) {
            QCOMPARE(dialog.focusWidget(), atFault == 1 ? dialog.m_inputFontSize : dialog.m_lyricsFontSize);
            QTest::mouseClick(dialog.m_cancel, Qt::LeftButton);
        }
        QVERIFY(!dialog.isVisible());
        QCOMPARE(QList<QVariantList>(applied), QList<QVariantList>(atFault ? 0 : 1, {sizes[0]}));
        QCOMPARE((QList<int>{m_settings.InputFontSize, m_settings.LyricsFontSize}), sizes);
        QCOMPARE(m_settings.ImageFolder, path(u"other"_s));
        QCOMPARE(QString::fromUtf8(savedLines().mid(113, 2).join('|')),
                 atFault ? QString() : u" %1 \r| %2 \r"_s.arg(sizes[0]).arg(sizes[1]));
    }

    // The stored text stays while the list is left on the folder that stands for it (a relative one stays
    // relative); a folder chosen is stored by its full path, even when it differs only in spelling.
    void pictureFolder_data()
    {
        QTest::addColumn<FolderRow>("row");
        QTest::newRow("unchanged") << FolderRow{QString(), u"pics"_s, QString()};
        QTest::newRow("vanished") << FolderRow{QString(), u"gone/away"_s, QString()};
        QTest::newRow("another case on disk") << FolderRow{QString(), u"PICS"_s, QString()};
        QTest::newRow("vanished, unstorable program folder") << FolderRow{u"zoë"_s, u"gone"_s, QString()};
        QTest::newRow("empty, unstorable program folder") << FolderRow{u"zoë"_s, QString(), QString()};
        QTest::newRow("another folder") << FolderRow{QString(), u"pics"_s, u"other"_s};
        QTest::newRow("trailing separator") << FolderRow{QString(), u"pics/"_s, u"pics"_s};
    }
    void pictureFolder()
    {
        QFETCH(FolderRow, row);
        auto [program, stored, chosen] = row;
        const QString saved = chosen.isEmpty() ? stored : path(chosen);
        Options::SetProgramFolder(path(program));
        m_settings.ImageFolder = stored;
        MessageCatcher boxes;
        FormViewOptions dialog;
        QSignalSpy listed(&dialog, &FormViewOptions::pictureFolderChanged);
        QVERIFY(chosen.isEmpty() || dialog.m_folders->SetPath(path(chosen)));
        dialog.m_ok->click();
        QCOMPARE(m_settings.ImageFolder, saved);
        QCOMPARE(QList<QVariantList>(listed), QList<QVariantList>(chosen.isEmpty() ? 0 : 1, {saved}));
        QCOMPARE(savedLines().value(112), saved.toUtf8() + '\r'); // written all the same
    }

    // OK on a full disk: the parent is told why, the settings stay in use and Option.dat is the old one.
    void failedSaveIsTold()
    {
        SMALL_DISK_OR_SKIP(disk, 64);
        QFile file(disk.path(u"Option.dat"_s));
        QVERIFY(file.open(QFile::WriteOnly) && file.write("old\r\n") == 5);
        file.close();
        Options::SetProgramFolder(disk.dir.path());
        m_settings.SongFile.fill(QString(100, u'b')); // 11 KiB: more than the room left
        m_settings.SongFile[0].clear();               // the key the music dialog opens at
        disk.fill(4096);
        MessageCatcher boxes;
        FormMusicOptions music;
        music.m_songFile->setText(u"a.mid"_s);
        music.m_ok->click();
        FormViewOptions display;
        display.m_inputFontSize->setText(u"50"_s);
        display.m_ok->click();
        const QString told = u"設定をﾌｧｲﾙに保存できませんでした。\n  "_s + file.fileName() + u"\n  "_s
                             + qt_error_string(ENOSPC)
                             + u"\n今の設定はこのまま使えますが、保存されたﾌｧｲﾙは以前のままです。"_s;
        QCOMPARE(boxes.texts, QStringList(2, told));
        QVERIFY(file.open(QFile::ReadOnly) && file.readAll() == "old\r\n");
        QVERIFY(music.result() == QDialog::Accepted && display.result() == QDialog::Accepted);
        QCOMPARE(m_settings.SongFile[0] + QString::number(m_settings.InputFontSize), u"a.mid50"_s);
    }

    // The browser opens at the stored song (not the typed text) and offers MIDI, then WAVE files. A choice
    // is stored and shown; a cancelled browser changes nothing.
    void fileBrowser()
    {
        for (const QString &name : {u"pics/one.mid"_s, u"pics/two.mid"_s}) {
            QVERIFY(QFile(path(name)).open(QFile::WriteOnly));
        }
        m_settings.SongFile[0] = path(u"pics/one.mid"_s);
        FormMusicOptions dialog;
        for (const QString &chosen : {path(u"pics/two.mid"_s), QString()}) {
            const QString stored = m_settings.SongFile[0];
            dialog.m_songFile->setText(u"typed"_s);
            QStringList seen;
            WhenModalOpens<QFileDialog> browser(
                [&](QFileDialog *files) {
                    auto *name = files->findChild<QLineEdit *>(u"fileNameEdit"_s);
                    if (seen.isEmpty()) {
                        seen << files->directory().absolutePath() << name->text() << files->nameFilters();
                    }
                    if (chosen.isEmpty()) {
                        return files->reject();
                    }
                    // Typed as a parent would; the list may still select the stored name as it fills.
                    if (files->selectedFiles() != QStringList{chosen}) {
                        return name->setText(QFileInfo(chosen).fileName());
                    }
                    QTest::keyClick(name, Qt::Key_Return);
                },
                [](QFileDialog *files) { // once the list shows the folder, filled in the background
                    auto *list = files->findChild<QListView *>(u"listView"_s);
                    return list && list->model()->rowCount(list->rootIndex()) == 2;
                });
            dialog.browseForSong();
            QCOMPARE(seen, (QStringList{path(u"pics"_s), QFileInfo(stored).fileName(),
                                        u"MIDIファイル (*.mid)"_s, u"WAVEファイル (*.wav)"_s}));
            QCOMPARE(dialog.m_songFile->text(), chosen.isEmpty() ? u"typed"_s : chosen);
            QCOMPARE(m_settings.SongFile[0], chosen.isEmpty() ? stored : chosen);
        }
    }
};

QTEST_MAIN(TestSettingsDialogs)
#include "tst_settingsdialogs.moc"
