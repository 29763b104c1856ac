// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file, key slots, virtual keys, layout, lyrics text and program folder.
#include "audiotestutil.h"
#include "keyslots.h"
#include "lyricstext.h"
#include "paths.h"
#include "programfolder.h"
#include "programplaces.h"
#include "settings.h"
#include "shiftjis.h"
#include "smalldisk.h"
#include "virtualkey.h"
#include "voiceshaping.h"
#include "wayland/waylandprobe.h"
#include "windowlayout.h"

#include <QDirIterator>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QtTest>

using namespace Settings;
using namespace Qt::StringLiterals;
using namespace KeySlots;
using Doubles = QList<double>;
using Files = QMap<QString, QString>; // path: content
using LyricsText::Encoding;

namespace {

// What follows the first song line in a file saved from an empty record.
const QByteArray EmptyRest = QByteArray("\r\n").repeated(109) + "False\r\nFalse\r\n\r\n 0 \r\n 0 \r\n";

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes, QFile::Permissions permissions = {})
{
    QFile file(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly)
        || file.write(bytes) != bytes.size()) {
        return false;
    }
    file.close();
    return !permissions || file.setPermissions(permissions);
}

// 110 song lines with slot 3 set, then the given lines.
QByteArray optionFile(const QByteArrayList &tail, const QByteArray &eol = "\r\n",
                      const QByteArray &song3 = "3")
{
    QByteArrayList lines(110);
    lines[3] = song3;
    return (lines + tail).join(eol) + eol;
}

// The fields of a loaded record that a row checks.
struct Loaded
{
    QString song3;
    bool playWait;
    bool playRepeat;
    QString pictureFolder;
    int inputFontSize;
    int lyricsFontSize;
};

struct Take // seconds of silence, of a tone and of silence, and the tone's amplitude
{
    double before, tone, after, amplitude;
};
struct Placed // where the window's parts go, in twips
{
    double typingHeight, settingsHelpTop, windowHelpTop, frameLeft, frameTop;
};

enum class SavedBack { SameBytes, SameRecord };          // what a save right after a load gives
enum class Room { Plenty, SixPagesLeft, FileSizeLimit }; // for the program folder's copies

Files operator+(Files files, const Files &more)
{
    files.insert(more);
    return files;
}

} // namespace

class TestUnits : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_optionFile;
    Record m_record;
    const QByteArray m_sample = readFile(QStringLiteral(ZUBELO_TEST_DATA "/Option-sample.dat"));

private slots:
    void init()
    {
        m_optionFile = m_dir.filePath("Option.dat");
        QFile::remove(m_optionFile);
        m_record = Record{};
    }

    // Each line lands in its field whatever ends the lines; lines after the 115th are ignored, and
    // missing ones leave the paths and sizes as they were, but never the songs and flags.
    void fieldsComeFromTheirLines_data()
    {
        QTest::addColumn<QByteArray>("file"); // null: there is none
        QTest::addColumn<Loaded>("loaded");
        QTest::newRow("no file") << QByteArray() << Loaded{"", false, false, "old", 7, 9};
        QTest::newRow("CR LF, 113 lines")
            << optionFile({"1", "1", "pics"}) << Loaded{"3", true, true, "pics", 7, 9};
        QTest::newRow("LF, 115 lines")
            << optionFile({"1", "", "\x95\x5c", "4", "5"}, "\n") << Loaded{"3", true, false, "表", 4, 5};
        QTest::newRow("CR, 116 lines")
            << optionFile({"0", "1", "p", "1", "-2", "3"}, "\r") << Loaded{"3", false, true, "p", 1, -2};
        QTest::newRow("past 8 KiB") << optionFile({"1", "1", "p", "4", "5"}, "\r\n", QByteArray(9000, 'a'))
                                    << Loaded{QString(9000, u'a'), true, true, "p", 4, 5};
    }
    void fieldsComeFromTheirLines()
    {
        QFETCH(QByteArray, file);
        QFETCH(Loaded, loaded);
        QVERIFY(file.isNull() || writeFile(m_optionFile, file));
        Record &r = m_record;
        r.songFile.fill("old.mid");
        r = {r.songFile, true, true, "old", 7, 9};
        load(m_optionFile, m_record);
        QCOMPARE(r.songFile[0], QString());
        QCOMPARE(r.songFile[3], loaded.song3);
        QCOMPARE(r.playWait, loaded.playWait);
        QCOMPARE(r.playRepeat, loaded.playRepeat);
        QCOMPARE(r.pictureFolder, loaded.pictureFolder);
        QCOMPARE(r.inputFontSize, loaded.inputFontSize);
        QCOMPARE(r.lyricsFontSize, loaded.lyricsFontSize);
    }

    // A flag is true in any letter case, with blanks around it, or as a number other than 0. A number is
    // read as far as it goes, blanks skipped anywhere, at any length of digits or exponent. A font size's
    // half goes to the even neighbour, and the 16-bit range holds the rest.
    void flagsAndNumbersReadAsTheFileHasThem()
    {
        QVERIFY(flagFromText(u" tRuE ") && flagFromText(u"-1") && !flagFromText(u"yes"));
        QCOMPARE(numberFromText(u" 1 2\t3\n4 "), 1234.0);
        QCOMPARE(numberFromText(u" - 7"), -7.0);
        QCOMPARE(numberFromText(u"+1.2.3"), 1.2);
        QCOMPARE(numberFromText(u"-1.5E1"), -15.0);
        QCOMPARE(numberFromText(u"1d2"), 100.0);
        QCOMPARE(numberFromText(u"-1e400"), -qInf());
        QCOMPARE(numberFromText("0." + QString(400, u'0') + "1e00000000405"), 1e4);
        QCOMPARE(QList<int>({roundToInt16(2.5), roundToInt16(3.5), roundToInt16(99999), roundToInt16(-1e10)}),
                 QList<int>({2, 4, 32767, -32768}));
    }

    // What was read is saved as it was read: bytes Shift-JIS lacks too. Flags are written True and False,
    // sizes with a blank before and after, and an empty record in full.
    void savedAsRead_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<SavedBack>("saved");
        QTest::newRow("sample") << m_sample << SavedBack::SameBytes;
        QTest::newRow("bytes Shift-JIS lacks, a lead byte at a line end")
            << "bad\x81\xff\xa0\x80\xfd\xfe tail\x95\r\nok.mid\r\n" + EmptyRest.mid(2)
            << SavedBack::SameBytes;
        QTest::newRow("fuzzed") << readFile(ZUBELO_TEST_DATA "/Option-mixed-pairs.dat")
                                << SavedBack::SameRecord;
    }
    void savedAsRead()
    {
        QFETCH(QByteArray, file);
        QFETCH(SavedBack, saved);
        QVERIFY(writeFile(m_optionFile, file));
        load(m_optionFile, m_record);
        const Record first = m_record;
        QVERIFY(bool(save(m_optionFile, m_record)));
        load(m_optionFile, m_record);
        QVERIFY(m_record == first);
        QVERIFY(saved != SavedBack::SameBytes || readFile(m_optionFile) == file);
    }

    // A song or folder the file cannot hold refuses the save, which leaves the file as it was.
    void unstorableTextRefusesTheSave()
    {
        QVERIFY(writeFile(m_optionFile, m_sample));
        for (const QString &text : QStringList{"café", "a\nb", "a\rb", QString(QChar(0xD800))}) {
            for (QString *field : {&m_record.songFile[7], &m_record.pictureFolder}) {
                *field = text;
                const SaveResult result = save(m_optionFile, m_record);
                QCOMPARE(result.status, SaveResult::CannotHold);
                QCOMPARE(result.detail, text);
                field->clear();
            }
        }
        QCOMPARE(readFile(m_optionFile), m_sample);
    }

    // A save replaces the file whole: a reader of the old one still reads it, and a link's target is
    // replaced with its mode.
    void saveReplacesTheFileWhole()
    {
        const QString real = m_dir.filePath("kept/Option.dat");
        QVERIFY(writeFile(real, m_sample, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QVERIFY(QFile::link(real, m_optionFile));
        QFile reader(m_optionFile);
        QVERIFY(reader.open(QIODevice::ReadOnly));
        QVERIFY(bool(save(m_optionFile, m_record)));
        QCOMPARE(reader.readAll(), m_sample);
        QCOMPARE(readFile(real).size(), EmptyRest.size() + 2);
        QVERIFY(QFileInfo(m_optionFile).isSymLink());
        QCOMPARE(QFile::permissions(real) & (QFile::ReadGroup | QFile::ReadOther), QFile::ReadGroup);
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
        QVERIFY(writeFile(folder + "/Option.dat", m_sample));
        m_optionFile = folder + "/Option.dat";
        m_record.songFile.fill(QString(100, u'a')); // 11 KiB, more than the room left: a write falls short
        if (error == ENOSPC) {
            disk.fill(4096);
        }
        QVERIFY(error != EROFS || disk.makeReadOnly());
        QVERIFY(error != ENOENT || QDir().rename(folder, moved));
        const SaveResult result =
            underFileSizeLimit(error == EFBIG ? 4096 : 0, [this] { return save(m_optionFile, m_record); });
        QVERIFY2(result.status == SaveResult::WriteFailed, qPrintable(result.detail));
        QCOMPARE(result.detail, qt_error_string(error));
        const QString kept = error == ENOENT ? moved : folder;
        QCOMPARE(readFile(kept + "/Option.dat"), m_sample);
        QCOMPARE(QDir(kept).entryList(QDir::Files | QDir::Hidden), QStringList("Option.dat"));
    }

    // A take keeps 0.1 s before its first sound and 0.2 s after its last, where it has them, and its loudest
    // sample comes to -1 dBFS however loud it was; silence (below -40 dBFS) alone leaves nothing.
    void voiceIsTrimmedAndLevelled_data()
    {
        QTest::addColumn<Take>("take");
        QTest::addColumn<double>("kept"); // seconds
        QTest::newRow("between silences") << Take{1, 0.5, 1, 0.3} << 0.8;
        QTest::newRow("from the first sample, clipped") << Take{0, 0.5, 1, 4} << 0.7;
        QTest::newRow("to the last sample, just louder than silence") << Take{1, 0.5, 0, 0.0102} << 0.6;
        QTest::newRow("just quieter: silence only") << Take{1, 0.5, 1, 0.0098} << 0.0;
    }
    void voiceIsTrimmedAndLevelled()
    {
        QFETCH(Take, take);
        QFETCH(double, kept);
        const std::vector<float> shaped = VoiceShaping::shaped(
            AudioTest::toneBetweenSilences(48000, take.before, take.tone, take.after, take.amplitude), 48000);
        QVERIFY(qAbs(double(shaped.size()) - kept * 48000) < 100);
        QCOMPARE(qRound(AudioTest::peak(shaped) * 1000), kept ? 891 : 0);
    }

    // Relative paths are taken from the program folder; absolute and drive paths stay as written. A path's
    // folder is everything before its last slash.
    void relativePathsResolveAgainstTheProgramFolder()
    {
        const ProgramFolder folder("/opt/z");
        QCOMPARE(folder.resolve("/home/p/a.mid"), "/home/p/a.mid");
        QCOMPARE(folder.resolve("D:\\Pics"), "D:\\Pics");
        QCOMPARE(folder.resolve("曲/表/a.mid"), "/opt/z/曲/表/a.mid");
        QCOMPARE(folder.resolve("\\a.mid"), "/opt/z/\\a.mid");
        QCOMPARE(ProgramFolder("/").resolve("s"), "/s");   // no doubled separator
        QCOMPARE(Paths::folderOf("曲/表/a.mid"), "曲/表"); // 表 ends in the byte of a backslash
        QCOMPARE(Paths::folderOf("D:\\Pics"), "");
    }

    // The characters that Shift-JIS writes with another's bytes come back as that one, and a name
    // with either spelling is one name.
    void shiftJisTwinsAreOneName()
    {
        const QString typed = u"¢£¥¬—‖‾−〜"_s, readBack = ShiftJis::decode(*ShiftJis::encode(typed));
        QCOMPARE(readBack, u"￠￡\\￢―∥~－～"_s);
        QVERIFY(Paths::sameName(typed, readBack));
    }

    // An exact name first; then every part in any case or twin, the first in code point order; no prefixes.
    void locateFindsTheNameAsTheDiskSpellsIt()
    {
        for (const char *name :
             {"1/s.mid", "1/S.MID", "2/Uta/Kaeru", "3/sONG", "3/Song", "4/うた〜/a", "5/songs"}) {
            QVERIFY(writeFile(m_dir.filePath(name), {}));
        }
        const auto found = [this](const char *stored) { return Paths::locate(m_dir.filePath(stored)); };
        QCOMPARE(found("1/S.MID"), m_dir.filePath("1/S.MID"));
        QCOMPARE(found("2/UTA/kaeru"), m_dir.filePath("2/Uta/Kaeru"));
        QCOMPARE(found("3/song"), m_dir.filePath("3/Song"));
        QCOMPARE(found("4/うた～/A"), m_dir.filePath("4/うた〜/a"));
        QCOMPARE(found("5/SONG"), m_dir.filePath("5/SONG"));
    }

    // Keypad 7 with Shift (and Alt) is keypad 7, and Shift and Alt are its modifiers.
    void keypadKeyWithShiftKeepsItsCode()
    {
        const auto modifiers = Qt::KeypadModifier | Qt::ShiftModifier | Qt::AltModifier;
        QCOMPARE(VirtualKey::virtualKeyCode(QKeyEvent(QEvent::KeyPress, Qt::Key_7, modifiers)), 103);
        QCOMPARE(VirtualKey::modifierMask(modifiers), VirtualKey::ShiftMask | VirtualKey::AltMask);
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
        row("us '", us | Qt::Key_Apostrophe, 48, "[^ ~]");
        row("半角/全角", Qt::Key_Zenkaku_Hankaku, 49, "[半角/全角]");
        row("カタカナ/ひらがな", Qt::Key_Hiragana_Katakana, 101, "[カタカナ・ひらがな]");
        row("英数", Qt::Key_Eisu_toggle, 66, "[CapsLock]");
        row("Print Screen", Qt::Key_Print, 107, "[PrintScreen]");
        row("right Alt as AltGr", us | Qt::Key_AltGr, 108, "[Alt]");
        row("right Windows: not in the table", Qt::Key_Super_R, 134, "[Enter]");
        row("no code: unknown", Qt::Key_Launch0, 0, "[Enter]");
        row("keypad Enter", keypad | Qt::Key_Enter, 104, "[Enter]");
        row("keypad 7, NumLock off", keypad | Qt::Key_Home, 79, "[Home]");
    }
    void keyPlaysTheSlot()
    {
        QFETCH(int, qtKey);
        QFETCH(uint, x11);
        QFETCH(QString, slot);
        const auto layout = qtKey & Qt::GroupSwitchModifier ? VirtualKey::KeyboardLayout::Us
                                                            : VirtualKey::KeyboardLayout::Japanese;
        const int key = qtKey & ~Qt::KeyboardModifierMask;
        QCOMPARE(keyDisplayName(slotForKeyCode(
                     VirtualKey::virtualKeyCode(key, qtKey & Qt::KeypadModifier, x11, layout))),
                 slot);
    }

    // Help lines 180 and 195 high, volume frame 2412 wide.
    void windowLayoutFollowsTheClientArea_data()
    {
        QTest::addColumn<double>("width"); // twips
        QTest::addColumn<double>("height");
        QTest::addColumn<Placed>("placed");
        QTest::newRow("design") << 8040. << 4272. << Placed{3792, 3897, 4077, 5618, 3797};
        QTest::newRow("one twip of text box") << 8040. << 481. << Placed{1, 106, 286, 5618, 6};
        QTest::newRow("lower than the strip") << 8040. << 300. << Placed{0, 0, 105, 5618, 5};
        QTest::newRow("narrow") << 2000. << 4272. << Placed{3792, 3897, 4077, -422, 3797};
        QTest::newRow("halves to even") << 8040.5 << 482.5 << Placed{2, 108, 288, 5618.5, 7};
        // Past 32767 twips (2185 pixels): a portrait 4K screen.
        QTest::newRow("3840 high") << 32400. << 57600. << Placed{57120, 57225, 57405, 29978, 57125};
    }
    void windowLayoutFollowsTheClientArea()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(Placed, placed);
        const WindowLayout::Placement p = WindowLayout::place({width, height, 180, 195, 2412});
        QCOMPARE(Doubles({p.typingWidth, 1.0 * p.typingHeight, 1.0 * p.settingsHelpTop, 1.0 * p.windowHelpTop,
                          p.volumeFrameLeft, p.volumeFrameTop}),
                 Doubles({width, placed.typingHeight, placed.settingsHelpTop, placed.windowHelpTop,
                          placed.frameLeft, placed.frameTop}));
    }

    void twipsRoundToWholePixels()
    {
        QCOMPARE(Twips::toPixels(3797), 253);
        QCOMPARE(Twips::toPixels(-422), -28);
        QCOMPARE(Twips::toPixels(-7.5), -1);
    }

    // In a 1000 x 500 window a picture covers at most 400 x 200, keeping its shape; an icon grows by whole
    // steps to 64 pixels.
    void picturesShrinkToFitOrGrowToBeSeen()
    {
        const auto shown = [](int width, int height) {
            const WindowLayout::Size size = WindowLayout::pictureSize({width, height}, {1000, 500});
            return QSize(size.width, size.height);
        };
        QCOMPARE(shown(300, 150), QSize(300, 150));
        QCOMPARE(shown(4000, 3000), QSize(266, 200));
        QCOMPARE(shown(2000, 100), QSize(400, 20));
        QCOMPARE(shown(16, 16), QSize(64, 64));
        QCOMPARE(shown(30, 10), QSize(90, 30));
        QCOMPARE(shown(64, 32), QSize(64, 32));
        QCOMPARE(shown(0, 0), QSize(0, 0));
    }

    // Lyrics are UTF-8 when the bytes are (a byte-order mark or not, the last character cut or not), else
    // Shift-JIS; their lines end at CR LF, CR or LF.
    void lyricsAreUtf8OrShiftJisLines()
    {
        const QByteArray kaeru("\xE3\x81\x8B\xE3\x81\x88\xE3\x82\x8B");
        QCOMPARE(LyricsText::encodingOf(kaeru), Encoding::Utf8);
        QCOMPARE(LyricsText::encodingOf(kaeru.left(8), true), Encoding::Utf8);
        QCOMPARE(LyricsText::encodingOf(kaeru.left(7)), Encoding::ShiftJis); // cut, but not told so
        QCOMPARE(LyricsText::encodingOf(kaeru + "\xFF"), Encoding::ShiftJis);
        QCOMPARE(LyricsText::encodingOf("\xC0\xAF"), Encoding::ShiftJis); // an overlong slash
        QCOMPARE(LyricsText::lines(kaeru + "\nno uta\n"), (QStringList{"かえる", "no uta"}));
        QCOMPARE(LyricsText::lines("\xEF\xBB\xBF" + kaeru + "\r\n\rz"), (QStringList{"かえる", "", "z"}));
        QCOMPARE(LyricsText::lines(kaeru + "\n" + kaeru.left(8), true), (QStringList{"かえる", "かえ"}));
        QCOMPARE(LyricsText::lines("\x82\xa9\x82\xa6\x82\xe9\r\n\x95\x5c"), (QStringList{"かえる", "表"}));
    }

    void programFolderIsTheExecutablesOrTheUsers_data()
    {
        QTest::addColumn<Files>("files"); // the installed data in share/ is read-only
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<Files>("userFiles"); // in user/ afterwards
        QTest::addColumn<Room>("room");
        const Files own{{"games/zubelo", "exe"}, {"games/Option.dat", "own"}};
        const Files installed =
            own + Files{{"share/Help.htm", "help"}, {"share/Option.dat", "first"}, {"share/a/k", "k"}};
        const Files filled{{"Help.htm", "help"}, {"Option.dat", "first"}, {"a/k", "k"}};
        QTest::newRow("a folder of its own") << own << "games" << Files() << Room::Plenty;
        QTest::newRow("installed: fills a new folder") << installed << "user" << filled << Room::Plenty;
        QTest::newRow("a parent's files are never replaced")
            << installed + Files{{"user/a/k", "mine"}, {"user/b", "own"}} << "user"
            << filled + Files{{"a/k", "mine"}, {"b", "own"}} << Room::Plenty;
        QTest::newRow("a folder with its settings is the parent's")
            << installed + Files{{"user/Option.dat", "mine"}} << "user" << Files{{"Option.dat", "mine"}}
            << Room::Plenty;
        QTest::newRow("no place for the user's folder")
            << installed + Files{{"user", "x"}} << "share" << Files() << Room::Plenty;
        // Each copy is whole or absent, never short; 9000 bytes take 3 pages, 40000 never fit.
        const Files medium{{"a/m", QString(9000, u'm')}};
        const Files large =
            installed + Files{{"share/a/m", medium.first()}, {"share/big", QString(40000, u'b')}};
        QTest::newRow("a disk too small for all") << large << "user" << filled + medium << Room::SixPagesLeft;
        QTest::newRow("a file-size limit") << large << "user" << filled << Room::FileSizeLimit;
    }
    void programFolderIsTheExecutablesOrTheUsers()
    {
        QFETCH(Files, files);
        QFETCH(QString, chosen);
        QFETCH(Files, userFiles);
        QFETCH(Room, room);
        const int diskKiB = room == Room::SixPagesLeft ? 256 : 0; // else a plain folder
        SMALL_DISK_OR_SKIP(disk, diskKiB);
        QTemporaryDir &root = disk.dir;
        for (auto file = files.cbegin(); file != files.cend(); ++file) {
            const QFile::Permissions writable =
                file.key().startsWith("share") ? QFile::Permissions() : QFile::WriteOwner;
            QVERIFY(writeFile(root.filePath(file.key()), file.value().toUtf8(), QFile::ReadOwner | writable));
        }
        if (room == Room::SixPagesLeft) {
            disk.fill(6 * 4096);
        }
        const QString user = root.filePath("user");
        const ProgramPlaces::Places places{root.filePath("games/zubelo"), root.filePath("share"), user};
        QCOMPARE(underFileSizeLimit(room == Room::FileSizeLimit ? 8192 : 0,
                                    [&] { return ProgramPlaces::choose(places); }),
                 root.filePath(chosen));
        Files after; // hidden ones too: no half copy under another name
        for (QDirIterator it(user, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
            const QFileInfo file(it.next());
            QVERIFY(file.permissions() & QFile::WriteOwner); // the user's copies are theirs to change
            after.insert(file.filePath().mid(user.size() + 1), readFile(file.filePath()));
        }
        QCOMPARE(after, userFiles);
    }

    // The platform the toy starts on: where the keyboard can be held, unless the user chose one.
    void platformIsOneTheLockHoldsOn()
    {
        using Wayland::choosePlatform; // the choice made, whether the compositor inhibits, an X server
        QCOMPARE(choosePlatform("xcb", true, true), QByteArray());
        QCOMPARE(choosePlatform({}, true, true), "wayland;xcb");
        QCOMPARE(choosePlatform({}, false, true), "xcb;wayland"); // XWayland holds then
        QCOMPARE(choosePlatform({}, false, false), "wayland");
    }
};

QTEST_GUILESS_MAIN(TestUnits)
#include "tst_units.moc"
