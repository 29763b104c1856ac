// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file, key slots, virtual keys, layout, lyrics text and program folder.
#include "app/layout.h"
#include "platform/programfolder.h"
#include "platform/virtualkey.h"
#include "platform/wayland/waylandprobe.h"
#include "settings/ansicodec.h"
#include "settings/keyslots.h"
#include "settings/lyricstext.h"
#include "settings/options.h"
#include "settings/paths.h"
#include "smalldisk.h"

#include <QDirIterator>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QtTest>

using namespace Options;
using namespace KeySlots;
using Ints = QList<int>;
using Doubles = QList<double>;

namespace {

// What follows the first song line in a file saved from an empty record.
const QByteArray EmptyRest = QByteArray("\r\n").repeated(109) + "False\r\nFalse\r\n\r\n 0 \r\n 0 \r\n";

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes, QFile::Permissions permissions = {})
{
    QFile file(path);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QVERIFY(!permissions || file.setPermissions(permissions));
}

// 110 song lines with slot 3 set, then the given lines.
QByteArray optionFile(const QByteArrayList &tail, const QByteArray &eol = "\r\n")
{
    QByteArrayList lines(110);
    lines[3] = "3";
    return (lines + tail).join(eol) + eol;
}

} // namespace

class TestUnits : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QByteArray m_sample = readFile(QStringLiteral(ZUBELO_TEST_DATA "/Option-sample.dat"));

private slots:
    void init()
    {
        QFile::remove(m_dir.filePath("Option.dat"));
        SetProgramFolder(m_dir.path());
        Settings() = Record{};
    }

    void load_data()
    {
        QTest::addColumn<QByteArray>("file");    // null: there is none
        QTest::addColumn<QString>("loaded");     // songs 0, 3, 109, flags, folder, sizes; null: unchecked
        QTest::addColumn<QByteArray>("written"); // by a save right after; null: unchecked
        const QByteArray no, bad = "bad\x81\xff\xa0\x80\xfd\xfe tail\x95\r\nok.mid\r\n" + EmptyRest.mid(2);
        QTest::newRow("no file: no songs, flags off") << no << "|||0|0|old|7|9" << no;
        QTest::newRow("sample") << m_sample << "C:\\Songs\\esc.mid||enter.WAV|1|0|画像|36|-2" << m_sample;
        QTest::newRow("113 lines") << optionFile({"1", "TRUE", "pics"}) << "|3||1|1|pics|7|9" << no;
        QTest::newRow("116 lines") << optionFile({"0", "tRuE", "", "1", "-2", "3"}) << "|3||0|1||1|-2" << no;
        QTest::newRow("LF") << optionFile({"True", "", "\x95\x5c", "4", "5"}, "\n") << "|3||1|0|表|4|5" << no;
        QTest::newRow("CR") << optionFile({"-1", "yes", "p", "1", "2"}, "\r") << "|3||1|0|p|1|2" << no;
        QTest::newRow("halves to even") << optionFile({" 1 ", "2", "", "2.5", "3.5"}) << "|3||1|1||2|4" << no;
        QTest::newRow("16 bits") << optionFile({"False", "", "", "99999", "-1e10"}) << "|3||0|0||32767|-32768"
                                 << no;
        QTest::newRow("no number") << optionFile({"", "", "", "big", "1e99999"}) << "|3||0|0||0|32767" << no;
        QTest::newRow("bytes Shift-JIS lacks, a lead byte at a line end") << bad << QString() << bad;
        QTest::newRow("lead byte, two-spelling pair")
            << QByteArray("\xee\xee\x64.mid\r\n") << QString() << no;
        QTest::newRow("fuzzed") << readFile(ZUBELO_TEST_DATA "/Option-mixed-pairs.dat") << QString() << no;
    }
    void load()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, loaded);
        QFETCH(QByteArray, written);
        if (!file.isNull()) {
            writeFile(OptionFilePath(), file);
        }
        Record &r = Settings();
        r.SongFile.fill("old.mid");
        r = {r.SongFile, true, true, "old", 7, 9};
        LoadOptions();
        const auto n = [](int value) { return QString::number(value); };
        const QString got =
            QStringList{r.SongFile[0],   r.SongFile[3], r.SongFile[109],    n(r.PlayWait),
                        n(r.PlayRepeat), r.ImageFolder, n(r.InputFontSize), n(r.LyricsFontSize)}
                .join(u'|');
        QVERIFY2(loaded.isNull() || got == loaded, qPrintable(got));
        // What was read is saved as it was read, damaged bytes too.
        const Record first = r;
        QVERIFY(bool(SaveOptions()));
        LoadOptions();
        QVERIFY(r == first);
        QVERIFY(written.isNull() || readFile(OptionFilePath()) == written);
    }

    void roundTripKeepsEveryCharacter()
    {
        const QStringList texts{"/曲/表/a.mid", "ソ能予.wav",        "ｶﾅ.mid", "D:\\S\\a.mid", "  a b .mid  ",
                                "①.mid",        "うた〜−‖¢£¬¥—‾.mid"};
        std::copy(texts.begin(), texts.end(), Settings().SongFile.begin());
        Settings().ImageFolder = texts.last();
        QVERIFY(bool(SaveOptions()));
        const QByteArray first = readFile(OptionFilePath());
        LoadOptions();
        const QStringList back(Settings().SongFile.begin(), Settings().SongFile.begin() + texts.size());
        // Shift-JIS reads the last one back as its twins; Paths::Locate finds the file by either spelling.
        QCOMPARE(back, texts.first(6) + QStringList{"うた～－∥￠￡￢\\―~.mid"});
        QCOMPARE(Settings().ImageFolder, back.last());
        QVERIFY(Paths::SameName(back.last(), texts.last()));
        QVERIFY(bool(SaveOptions()));
        QCOMPARE(readFile(OptionFilePath()), first);
    }

    void saveNeverLosesTheOldFile()
    {
        const QString real = m_dir.filePath("kept/Option.dat"); // a link's target is replaced, with its mode
        writeFile(real, m_sample, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        QVERIFY(QFile::link(real, OptionFilePath()));
        for (const QString &text : QStringList{"🐘.mid", "café", "a\nb", "a\rb", QString(QChar(0xD800))}) {
            QVERIFY(!CanStore(text));
            for (QString *field : {&Settings().SongFile[7], &Settings().ImageFolder}) {
                *field = text;
                const SaveResult result = SaveOptions();
                QVERIFY(result.status == SaveResult::CannotHold && result.detail == text);
                field->clear();
            }
        }
        QFile reader(OptionFilePath());
        QVERIFY(reader.open(QIODevice::ReadOnly));
        QVERIFY(bool(SaveOptions()));
        QCOMPARE(reader.readAll(), m_sample); // untouched by the refused saves, then replaced, not emptied
        QCOMPARE(readFile(real), "\r\n" + EmptyRest);
        QVERIFY(QFileInfo(OptionFilePath()).isSymLink());
        QCOMPARE(QFile::permissions(real) & (QFile::ReadGroup | QFile::ReadOther), QFile::ReadGroup);
        // A folder in its place: the failed write is reported and leaves no temporary file.
        QVERIFY(QFile::remove(OptionFilePath()) && QDir(m_dir.path()).mkdir("Option.dat"));
        const SaveResult result = SaveOptions();
        QVERIFY(result.status == SaveResult::WriteFailed && !result.detail.isEmpty());
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
        QVERIFY(QDir(m_dir.path()).rmdir("Option.dat"));
    }

    // Whatever stops a save, the old Option.dat stays to the byte, no temporary file is left, and the
    // system's reason is reported.
    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<int>("error");
        QTest::newRow("full disk") << ENOSPC;
        QTest::newRow("file-size limit") << EFBIG;
        QTest::newRow("read-only file system") << EROFS;
        QTest::newRow("vanished folder") << ENOENT;
    }
    void failedSaveKeepsTheOldFile()
    {
        QFETCH(int, error);
        SMALL_DISK_OR_SKIP(disk, 64);
        const QString folder = disk.path("program"), moved = disk.path("moved");
        writeFile(folder + "/Option.dat", m_sample);
        SetProgramFolder(folder);
        Settings().SongFile.fill(QString(100, u'a')); // 11 KiB, more than the room left: a write falls short
        if (error == ENOSPC) {
            disk.fill(4096);
        }
        QVERIFY(error != EROFS || disk.makeReadOnly());
        QVERIFY(error != ENOENT || QDir().rename(folder, moved));
        const SaveResult result = UnderFileSizeLimit(error == EFBIG ? 4096 : 0, SaveOptions);
        QVERIFY2(result.status == SaveResult::WriteFailed, qPrintable(result.detail));
        QCOMPARE(result.detail, qt_error_string(error));
        const QString kept = error == ENOENT ? moved : folder;
        QCOMPARE(readFile(kept + "/Option.dat"), m_sample);
        QCOMPARE(QDir(kept).entryList(QDir::Files | QDir::Hidden), QStringList("Option.dat"));
        QVERIFY(QFileInfo::exists(folder) != (error == ENOENT));
    }

    void numbersAndPaths()
    {
        Doubles numbers;
        for (const QString &text :
             QStringList{" 1 2\t3\n4 ", "12abc", "1e00000000002", "abc", " - 7", "+1.2.3", ".5", "-1.5E1",
                         "1d2", "3e", "１２", "1e-99999", "-1e400", "1" + QString(300, u'0'),
                         QString(400, u'0') + "36", "0." + QString(400, u'0') + "1e405"}) {
            numbers << NumberFromText(text);
        }
        QCOMPARE(numbers,
                 (Doubles{1234, 12, 100, 0, -7, 1.2, 0.5, -15, 100, 3, 0, 0, -qInf(), 1e300, 36, 1e4}));
        SetProgramFolder("/opt/z");
        QStringList paths;
        for (const char *stored : {"/home/p/a.mid", "D:\\Pics", "曲/表/a.mid", "", "\\a.mid"}) {
            paths << ResolvePath(stored) << FolderOfPath(stored);
        }
        QCOMPARE(paths, (QStringList{"/home/p/a.mid", "/home/p", "D:\\Pics", "", "/opt/z/曲/表/a.mid",
                                     "曲/表", "/opt/z/", "", "/opt/z/\\a.mid", ""}));
        SetProgramFolder("/");
        QCOMPARE(ResolvePath("s"), QString("/s")); // no doubled separator
        qputenv("XDG_DATA_HOME", "/tmp/data-home");
        const ProgramFolder::Places places = ProgramFolder::ForExecutable("/tmp/x/usr/games/zubelo");
        QCOMPARE(QStringList({places.installedData, places.perUser}),
                 QStringList({"/tmp/x/usr/share/zubelo", "/tmp/data-home/Zubelo"}));
    }

    void locateFindsTheNameAsTheDiskSpellsIt()
    {
        QTemporaryDir dir;
        for (const char *name :
             {"1/s.mid", "1/S.MID", "2/Uta/Kaeru", "3/sONG", "3/Song", "4/うた〜/a", "5/songs"}) {
            writeFile(dir.filePath(name), {});
        }
        // An exact name first; then every part in any case or twin, the first in code point order; no
        // prefixes.
        QStringList found;
        for (const char *stored : {"1/S.MID", "2/UTA/kaeru", "3/song", "4/うた～/A", "5/SONG"}) {
            found << Paths::Locate(dir.filePath(stored)).mid(dir.path().size() + 1);
        }
        QCOMPARE(found, (QStringList{"1/S.MID", "2/Uta/Kaeru", "3/Song", "4/うた〜/a", "5/SONG"}));
    }

    void keySlots()
    {
        // The key drawn as A, 7 or F5 is selected by that key's code, and no code selects two slots.
        int slotsWithCode = 0;
        for (int slot = 0; slot < SlotCount; ++slot) {
            const QString name = KeyDisplayName(slot), caption = KeyCaption(slot);
            const int code = KeyCodeOfSlot(slot);
            const char16_t c = caption.size() == 1 ? caption[0].unicode() : 0;
            QVERIFY(slot == 109 || (name.contains(u'[') && name.endsWith(u']')));
            QVERIFY(code == NoKeyCode || (++slotsWithCode && SlotForKeyCode(code) == slot));
            if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z')) {
                QCOMPARE(code, name.startsWith(u"テンキー") ? 96 + c - u'0' : int(c));
            }
            QVERIFY(!caption.startsWith(u'F') || caption.size() == 1 || code == 111 + caption.mid(1).toInt());
        }
        QCOMPARE(slotsWithCode, 105);
        // Print Screen is 42 and Caps Lock 240; 229 comes while an input method takes a key; the right
        // Windows key, keypad Enter (13), Clear and other unlisted codes play the Enter slot.
        Ints selected;
        for (int code :
             {27, 42, 44, 240, 20, 229, 13, 108, 16, 17, 18, 91, 92, 12, 243, 36, 110, 220, -1, 256}) {
            selected << SlotForKeyCode(code);
        }
        QCOMPARE(selected,
                 (Ints{0, 13, 51, 59, 51, 16, 51, 92, 75, 93, 95, 94, 51, 51, 51, 32, 108, 29, 51, 51}));
        QStringList shown; // name, caption and key code
        for (int slot : {0, 29, 97, 99, 87, 103, 109, 110}) {
            shown << QString("%1|%2|%3").arg(KeyDisplayName(slot), KeyCaption(slot)).arg(KeyCodeOfSlot(slot));
        }
        QCOMPARE(shown,
                 (QStringList{"[Esc]|Esc|27", "[\\]|\\|220", "[Space]||32", "[カタカナ・ひらがな]|ｶﾅ|242",
                              "[Shift]|Shift|-1", "[Ctrl]|Ctrl|-1", "Enter||-1", "||-1"}));
        QKeyEvent keypadSeven(QEvent::KeyPress, Qt::Key_7, Qt::KeypadModifier | Qt::ShiftModifier, QString());
        QCOMPARE(VirtualKey::VirtualKeyCode(keypadSeven), 103);
        QCOMPARE(VirtualKey::ModifierMask(Qt::ShiftModifier | Qt::AltModifier | Qt::KeypadModifier), 5);
    }

    // What a pressed key plays: the slot as the parent sees it named in the music dialog.
    void keyPlaysTheSlot_data()
    {
        QTest::addColumn<int>("qtKey"); // | keypad for the keypad, | us on a US keymap
        QTest::addColumn<uint>("x11");  // 0: a synthetic event without a native code
        QTest::addColumn<QString>("slot");
        const int keypad = Qt::KeypadModifier, us = Qt::GroupSwitchModifier;
        const auto row = [](const char *tag, int key, uint x11, const char *slot) {
            QTest::newRow(tag) << key << x11 << QString(slot);
        };
        row("us Shift+2 is @", us | Qt::Key_At, 11, "[2]");
        row("^", Qt::Key_AsciiCircum, 21, "[^ ~]");
        row("￥", Qt::Key_Backslash, 132, "[\\]");
        row("ろ", Qt::Key_Backslash, 97, "[_]");
        row("@", Qt::Key_At, 34, "[` @]");
        row(";", Qt::Key_Semicolon, 47, "[+ ;]");
        row(":", Qt::Key_Colon, 48, "[* :]");
        row("us '", us | Qt::Key_Apostrophe, 48, "[^ ~]");
        row("半角/全角", Qt::Key_Zenkaku_Hankaku, 49, "[半角/全角]");
        row("カタカナ/ひらがな", Qt::Key_Hiragana_Katakana, 101, "[カタカナ・ひらがな]");
        row("英数", Qt::Key_Eisu_toggle, 66, "[CapsLock]");
        row("Print Screen", Qt::Key_Print, 107, "[PrintScreen]");
        row("Scroll Lock", Qt::Key_ScrollLock, 78, "[ScrollLock]");
        row("right Alt as AltGr", us | Qt::Key_AltGr, 108, "[Alt]");
        row("right Windows", Qt::Key_Super_R, 134, "[Enter]");
        row("no code: unknown", Qt::Key_Launch0, 0, "[Enter]");
        row("keypad .", keypad | Qt::Key_Period, 91, "テンキー[.]");
        row("keypad -", keypad | Qt::Key_Minus, 82, "テンキー[-]");
        row("F12", Qt::Key_F12, 96, "[F12]");
        row("keypad Enter", keypad | Qt::Key_Enter, 104, "[Enter]");
        row("keypad 7, NumLock off", keypad | Qt::Key_Home, 79, "[Home]");
    }
    void keyPlaysTheSlot()
    {
        QFETCH(int, qtKey);
        QFETCH(uint, x11);
        QFETCH(QString, slot);
        const auto layout =
            qtKey & Qt::GroupSwitchModifier ? VirtualKey::Layout::Us : VirtualKey::Layout::Japanese;
        const int key = qtKey & ~Qt::KeyboardModifierMask;
        QCOMPARE(KeyDisplayName(SlotForKeyCode(
                     VirtualKey::VirtualKeyCode(key, qtKey & Qt::KeypadModifier, x11, layout))),
                 slot);
    }

    void playWindowLayout_data()
    {
        QTest::addColumn<Doubles>("area");
        QTest::addColumn<Doubles>("placed"); // text box height, help line tops, frame left and top
        // Help lines 180 and 195 high, volume frame 2412 wide.
        QTest::newRow("design") << Doubles{8040, 4272} << Doubles{3792, 3897, 4077, 5618, 3797};
        QTest::newRow("one twip of text box") << Doubles{8040, 481} << Doubles{1, 106, 286, 5618, 6};
        QTest::newRow("lower than the strip") << Doubles{8040, 300} << Doubles{0, 0, 105, 5618, 5};
        QTest::newRow("zero height") << Doubles{8040, 0} << Doubles{0, 0, 0, 5618, 5};
        QTest::newRow("narrow") << Doubles{2000, 4272} << Doubles{3792, 3897, 4077, -422, 3797};
        QTest::newRow("only wider") << Doubles{12000.5, 4272} << Doubles{3792, 3897, 4077, 9578.5, 3797};
        QTest::newRow("halves to even") << Doubles{8040, 482.5} << Doubles{2, 108, 288, 5618, 7};
        // Past 32767 twips (2185 pixels): a portrait 4K screen.
        QTest::newRow("3840 high") << Doubles{32400, 57600} << Doubles{57120, 57225, 57405, 29978, 57125};
    }
    void playWindowLayout()
    {
        QFETCH(Doubles, area);
        QFETCH(Doubles, placed);
        const Layout::Placement p = Layout::Place({area[0], area[1], 180, 195, 2412});
        QCOMPARE(p.typingWidth, area[0]);
        QCOMPARE(Doubles({1.0 * p.typingHeight, 1.0 * p.settingsHelpTop, 1.0 * p.windowHelpTop,
                          p.volumeFrameLeft, p.volumeFrameTop}),
                 placed);
    }

    void twipsAndPictureSizes()
    {
        Ints shown;
        for (double twips : {15.0, 8040.0, 3797.0, -422.0, -7.5}) {
            shown << Layout::TwipsToPixels(twips);
        }
        // In a 1000 x 500 window a picture covers at most 400 x 200, keeping its shape; an icon
        // grows by whole steps to 64 pixels.
        for (const Ints &p :
             {Ints{300, 150}, {4000, 3000}, {2000, 100}, {16, 16}, {30, 10}, {64, 32}, {0, 0}}) {
            const Layout::Size size = Layout::PictureSize({p[0], p[1]}, {1000, 500});
            shown << size.width << size.height;
        }
        QCOMPARE(shown,
                 (Ints{1, 536, 253, -28, -1, 300, 150, 266, 200, 400, 20, 64, 64, 90, 30, 64, 32, 0, 0}));
    }

    void lyricsLines()
    {
        // UTF-8 when the bytes are (a byte-order mark or not, the last character cut or not), else Shift-JIS.
        const QByteArray kaeru("\xE3\x81\x8B\xE3\x81\x88\xE3\x82\x8B"),
            sjis("\x82\xa9\x82\xa6\x82\xe9\r\n\x95\x5c");
        QCOMPARE(LyricsText::Lines(kaeru + "\nno uta\n"), (QStringList{"かえる", "no uta"}));
        QCOMPARE(LyricsText::Lines("\xEF\xBB\xBF" + kaeru + "\r\n\rz"), (QStringList{"かえる", "", "z"}));
        QCOMPARE(LyricsText::Lines(kaeru + "\n" + kaeru.left(8), true), (QStringList{"かえる", "かえ"}));
        QCOMPARE(LyricsText::Lines(sjis), (QStringList{"かえる", "表"}));
        for (const QByteArray &bytes : {kaeru + "\xFF", kaeru.left(7), QByteArray("\xC0\xAF")}) {
            QCOMPARE(LyricsText::Lines(bytes), AnsiCodec::ReadLines(bytes, 99));
        }
    }

    void programFolder_data()
    {
        QTest::addColumn<QStringList>("files"); // "path=content"; the installed data in share/ is read-only
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("userFiles"); // in user/ afterwards
        QTest::addColumn<int>("limit");             // bytes a file may have; -1: room for 6 pages left
        const QStringList own{"games/zubelo=exe", "games/Option.dat=own"};
        const QStringList installed =
            own + QStringList{"share/Help.htm=help", "share/Option.dat=first", "share/a/k=k"};
        const QStringList filled{"Help.htm=help", "Option.dat=first", "a/k=k"};
        QTest::newRow("a folder of its own") << own << "games" << QStringList() << 0;
        QTest::newRow("installed: fills a new folder") << installed << "user" << filled << 0;
        QTest::newRow("a parent's files are never replaced")
            << installed + QStringList{"user/a/k=mine", "user/b=own"} << "user"
            << QStringList{"Help.htm=help", "Option.dat=first", "a/k=mine", "b=own"} << 0;
        QTest::newRow("a folder with its settings is the parent's")
            << installed + QStringList{"user/Option.dat=mine"} << "user" << QStringList{"Option.dat=mine"}
            << 0;
        QTest::newRow("no place for the user's folder")
            << installed + QStringList{"user=x"} << "share" << QStringList() << 0;
        // Each copy is whole or absent, never short; 9000 bytes take 3 pages, 40000 never fit.
        const QString medium = "a/m=" + QString(9000, u'm');
        const QStringList large =
            installed + QStringList{"share/" + medium, "share/big=" + QString(40000, u'b')};
        QTest::newRow("a disk too small for all") << large << "user" << filled + QStringList(medium) << -1;
        QTest::newRow("a file-size limit") << large << "user" << filled << 8192;
    }
    void programFolder()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, chosen);
        QFETCH(QStringList, userFiles);
        QFETCH(int, limit);
        SMALL_DISK_OR_SKIP(disk, limit < 0 ? 256 : 0);
        QTemporaryDir &root = disk.dir;
        for (const QString &entry : files) {
            const QFile::Permissions writable =
                entry.startsWith("share") ? QFile::Permissions() : QFile::WriteOwner;
            writeFile(root.filePath(entry.section(u'=', 0, 0)), entry.section(u'=', 1).toUtf8(),
                      QFile::ReadOwner | writable);
        }
        if (limit < 0) {
            disk.fill(6 * 4096);
        }
        const QString user = root.filePath("user");
        const ProgramFolder::Places places{root.filePath("games/zubelo"), root.filePath("share"), user};
        QCOMPARE(UnderFileSizeLimit(std::max(limit, 0), [&] { return ProgramFolder::Choose(places); }),
                 root.filePath(chosen));
        QStringList after; // hidden ones too: no half copy under another name
        for (QDirIterator it(user, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
            const QFileInfo file(it.next());
            QVERIFY(file.permissions() & QFile::WriteOwner); // the user's copies are theirs to change
            after << file.filePath().mid(user.size() + 1) + u'=' + readFile(file.filePath());
        }
        after.sort();
        QCOMPARE(after, userFiles);
    }

    // The platform the toy starts on: where the keyboard can be held, unless the user chose one.
    void platform_data()
    {
        QTest::addColumn<QByteArray>("chosen");
        QTest::addColumn<bool>("inhibits"); // the Wayland compositor lets a window hold its shortcuts
        QTest::addColumn<bool>("x11");
        QTest::addColumn<QByteArray>("platform");
        QTest::newRow("the user's choice wins") << QByteArray("xcb") << true << true << QByteArray();
        QTest::newRow("Wayland that holds") << QByteArray() << true << true << QByteArray("wayland;xcb");
        QTest::newRow("XWayland otherwise") << QByteArray() << false << true << QByteArray("xcb;wayland");
        QTest::newRow("no X server") << QByteArray() << false << false << QByteArray("wayland");
    }
    void platform()
    {
        QFETCH(QByteArray, chosen);
        QFETCH(bool, inhibits);
        QFETCH(bool, x11);
        QFETCH(QByteArray, platform);
        QCOMPARE(Wayland::ChoosePlatform(chosen, inhibits, x11), platform);
    }
};

QTEST_GUILESS_MAIN(TestUnits)
#include "tst_units.moc"
