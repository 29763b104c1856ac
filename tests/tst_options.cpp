// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ansicodec.h"
#include "settings/options.h"
#include "settings/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

using namespace Qt::StringLiterals;

class TestOptions : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QByteArray fixture() const
    {
        QFile file(QStringLiteral(ZUBELO_TEST_DATA "/Option-sample.dat"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeOptionFile(const QByteArray &bytes) const
    {
        QFile file(Options::OptionFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QByteArray readOptionFile() const
    {
        QFile file(Options::OptionFilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QByteArray lines(const QList<QByteArray> &values)
    {
        QByteArray bytes;
        for (const QByteArray &value : values) {
            bytes += value + "\r\n";
        }
        return bytes;
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QFile::remove(m_dir.filePath(u"Option.dat"_s));
        Options::SetProgramFolder(m_dir.path());
        Options::Settings() = Options::Record{};
    }

    void fixtureLoadsAndSavesByteForByte()
    {
        const QByteArray original = fixture();
        QVERIFY(!original.isEmpty());
        writeOptionFile(original);
        Options::LoadOptions();
        const Options::Record &r = Options::Settings();
        QCOMPARE(r.SongFile[0], u"C:\\Songs\\esc.mid"_s);
        QCOMPARE(r.SongFile[17], u"曲/表/ぞう.mid"_s);
        QCOMPARE(r.SongFile[60], u"/home/parent/歌/ソング.wav"_s);
        QCOMPARE(r.SongFile[109], u"enter.WAV"_s);
        QVERIFY(r.PlayWait);
        QVERIFY(!r.PlayRepeat);
        QCOMPARE(r.ImageFolder, u"画像"_s);
        QCOMPARE(r.InputFontSize, qint16(36));
        QCOMPARE(r.LyricsFontSize, qint16(-2));

        QFile::remove(Options::OptionFilePath());
        QVERIFY(bool(Options::SaveOptions()));
        QCOMPARE(readOptionFile(), original);
    }

    void saveWritesTheFixedFormat()
    {
        Options::Record &r = Options::Settings();
        r.PlayRepeat = true;
        r.InputFontSize = 36;
        r.LyricsFontSize = -5;
        QVERIFY(bool(Options::SaveOptions()));
        const QByteArray bytes = readOptionFile();
        const QList<QByteArray> fileLines = bytes.split('\n');
        QCOMPARE(fileLines.size(), Options::LineCount + 1); // the last line ends in CR LF too
        QVERIFY(fileLines.last().isEmpty());
        QVERIFY(bytes.startsWith(QByteArray("\r\n").repeated(110) + "False\r\nTrue\r\n\r\n 36 \r\n-5 \r\n"));
        QCOMPARE(bytes.size(), 110 * 2 + 7 + 6 + 2 + 6 + 5);
    }

    void roundTripKeepsEveryCharacter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("readBack");
        const auto same = [](const char *tag, const QString &text) { QTest::newRow(tag) << text << text; };
        same("second byte 0x5C (表)", u"/曲/表/a.mid"_s);
        same("second byte 0x5C (ソ, 能)", u"ソ能予.wav"_s);
        same("half-width katakana", u"ｶﾅ.mid"_s);
        same("windows path", u"D:\\Songs\\a.mid"_s);
        same("blanks kept", u"  a b .mid  "_s);
        same("NEC special ①", u"①.mid"_s);
        // Shift-JIS reads these back as their twins; Paths::Locate finds the file by either spelling.
        QTest::newRow("read-back twins") << u"うた〜−‖¢£¬¥—‾.mid"_s << u"うた～－∥￠￡￢\\―~.mid"_s;
    }
    void roundTripKeepsEveryCharacter()
    {
        QFETCH(QString, text);
        QFETCH(QString, readBack);
        Options::Settings().SongFile[42] = text;
        Options::Settings().ImageFolder = text;
        QVERIFY(bool(Options::SaveOptions()));
        const QByteArray first = readOptionFile();
        Options::Settings() = Options::Record{};
        Options::LoadOptions();
        QCOMPARE(Options::Settings().SongFile[42], readBack);
        QCOMPARE(Options::Settings().ImageFolder, readBack);
        QVERIFY(Paths::SameName(readBack, text));
        QVERIFY(bool(Options::SaveOptions()));
        QCOMPARE(readOptionFile(), first);
    }

    void everyStorableCharacterReadsBackAsTheSameName()
    {
        for (char32_t u = 1; u < 0x30000; ++u) {
            if (u >= 0xD800 && u < 0xE000) {
                continue; // surrogates are no characters
            }
            const QString c = QString::fromUcs4(&u, 1);
            if (const std::optional<QByteArray> bytes = AnsiCodec::Encode(c)) {
                QVERIFY2(Paths::SameName(AnsiCodec::Decode(*bytes), c), qPrintable(QString::number(u, 16)));
            }
        }
    }

    void locateFindsTheNameAsTheDiskSpellsIt_data()
    {
        QTest::addColumn<QStringList>("onDisk");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("found");
        QTest::newRow("exact name first")
            << QStringList{u"song.mid"_s, u"SONG.MID"_s} << u"SONG.MID"_s << u"SONG.MID"_s;
        QTest::newRow("file name in another case")
            << QStringList{u"song.mid"_s} << u"SONG.MID"_s << u"song.mid"_s;
        QTest::newRow("every part in another case")
            << QStringList{u"Uta/Kaeru.mid"_s} << u"UTA/kaeru.MID"_s << u"Uta/Kaeru.mid"_s;
        QTest::newRow("several matches: code point order")
            << QStringList{u"sONG.mid"_s, u"Song.mid"_s} << u"song.mid"_s << u"Song.mid"_s;
        QTest::newRow("twin and case together")
            << QStringList{u"うた〜/a.mid"_s} << u"うた～/A.MID"_s << u"うた〜/a.mid"_s;
        QTest::newRow("full-width letters")
            << QStringList{u"ｓｏｎｇ.mid"_s} << u"ＳＯＮＧ.mid"_s << u"ｓｏｎｇ.mid"_s;
        QTest::newRow("no such name") << QStringList{u"song.mid"_s} << u"other.mid"_s << u"other.mid"_s;
        QTest::newRow("no such folder")
            << QStringList{u"song.mid"_s} << u"gone/song.mid"_s << u"gone/song.mid"_s;
        QTest::newRow("a name is not a prefix")
            << QStringList{u"songs.mid"_s} << u"SONG.mid"_s << u"SONG.mid"_s;
    }
    void locateFindsTheNameAsTheDiskSpellsIt()
    {
        QFETCH(QStringList, onDisk);
        QFETCH(QString, stored);
        QFETCH(QString, found);
        QTemporaryDir dir;
        for (const QString &name : onDisk) {
            QVERIFY(QDir(dir.path()).mkpath(QFileInfo(name).path()));
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(Paths::Locate(dir.filePath(stored)), dir.filePath(found));
    }

    void shortFileKeepsEarlierFontSizes()
    {
        QList<QByteArray> values(110);
        values[3] = "three.mid";
        values << "1"
               << "TRUE"
               << "pics"; // 113 lines: no font sizes
        writeOptionFile(lines(values));
        Options::Settings().InputFontSize = 7;
        Options::Settings().LyricsFontSize = 9;
        Options::LoadOptions();
        const Options::Record &r = Options::Settings();
        QCOMPARE(r.SongFile[3], u"three.mid"_s);
        QVERIFY(r.PlayWait);
        QVERIFY(r.PlayRepeat);
        QCOMPARE(r.ImageFolder, u"pics"_s);
        QCOMPARE(r.InputFontSize, qint16(7));
        QCOMPARE(r.LyricsFontSize, qint16(9));
    }

    void linesAfterTheLastFieldAreIgnored()
    {
        QList<QByteArray> values(110);
        values << "False"
               << "False"
               << ""
               << " 10 "
               << " 20 "
               << " 30 "
               << "extra";
        writeOptionFile(lines(values));
        Options::LoadOptions();
        QCOMPARE(Options::Settings().InputFontSize, qint16(10));
        QCOMPARE(Options::Settings().LyricsFontSize, qint16(20));
    }

    void missingFileGivesAnEmptyConsistentRecord()
    {
        Options::Record &r = Options::Settings();
        r.SongFile[5] = u"old.mid"_s;
        r.PlayWait = r.PlayRepeat = true;
        r.ImageFolder = u"pics"_s;
        r.InputFontSize = 12;
        Options::LoadOptions();
        QVERIFY(r.SongFile[5].isEmpty());
        QVERIFY(!r.PlayWait && !r.PlayRepeat);
        QCOMPARE(r.ImageFolder, u"pics"_s); // folder and sizes are not reset
        QCOMPARE(r.InputFontSize, qint16(12));
    }

    void unixLineEndingsStillReadAsLines()
    {
        QByteArray bytes =
            QByteArray("a.mid\n") + QByteArray("\n").repeated(109) + "True\nTrue\npics\n 40 \n 50 \n";
        writeOptionFile(bytes);
        Options::LoadOptions();
        QCOMPARE(Options::Settings().SongFile[0], u"a.mid"_s);
        QVERIFY(Options::Settings().PlayRepeat);
        QCOMPARE(Options::Settings().LyricsFontSize, qint16(50));
    }

    void invalidShiftJisLosesNoOtherLine()
    {
        QList<QByteArray> values(110);
        values[0] = "ok.mid";
        values[1] = "bad\x81\xff\xa0tail.mid"; // a lead byte without its trail byte, and bytes CP932 lacks
        values[2] = QByteArray("\x95");        // a lone lead byte at the end of a line
        values[3] = "also-ok.wav";
        values << "True"
               << "False"
               << "pics"
               << " 36 "
               << " 24 ";
        const QByteArray original = lines(values);
        writeOptionFile(original);
        Options::LoadOptions();
        const Options::Record &r = Options::Settings();
        QCOMPARE(r.SongFile[0], u"ok.mid"_s);
        QVERIFY(r.SongFile[1].startsWith(u"bad"_s));
        QVERIFY(r.SongFile[1].endsWith(u"tail.mid"_s));
        QCOMPARE(r.SongFile[3], u"also-ok.wav"_s);
        QVERIFY(r.PlayWait);
        QCOMPARE(r.LyricsFontSize, qint16(24));
        // What could not be read is written back as it was.
        QFile::remove(Options::OptionFilePath());
        QVERIFY(bool(Options::SaveOptions()));
        QCOMPARE(readOptionFile(), original);
    }

    void damagedBytesSurviveASave_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("escaped lead byte before a pair with two spellings")
            << QByteArray("\xee\xee\x64.mid\r\n");
        QFile found(QStringLiteral(ZUBELO_TEST_DATA "/Option-mixed-pairs.dat"));
        QVERIFY(found.open(QIODevice::ReadOnly));
        QTest::newRow("found by the fuzzer") << found.readAll();
    }
    void damagedBytesSurviveASave()
    {
        QFETCH(QByteArray, bytes);
        Options::Record first;
        Options::ParseOptions(bytes, first);
        QByteArray written;
        QVERIFY(bool(Options::FormatOptions(first, written)));
        Options::Record second;
        Options::ParseOptions(written, second);
        QVERIFY(second == first);
    }

    void fontSizeLines_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("size");
        QTest::newRow("number form") << QByteArray(" 36 ") << 36;
        QTest::newRow("negative") << QByteArray("-12 ") << -12;
        QTest::newRow("half to even down") << QByteArray("2.5") << 2;
        QTest::newRow("half to even up") << QByteArray("3.5") << 4;
        QTest::newRow("text after digits") << QByteArray("12abc") << 12;
        QTest::newRow("no number") << QByteArray("big") << 0;
        QTest::newRow("past 16 bits") << QByteArray("99999") << 32767;
        QTest::newRow("far below 16 bits") << QByteArray("-1e10") << -32768;
        QTest::newRow("overflowing double") << QByteArray("1e99999") << 32767;
        QTest::newRow("hundreds of digits") << QByteArray(400, '9') << 32767;
        QTest::newRow("exponent of eleven digits") << QByteArray("1e00000000002") << 100;
    }
    void fontSizeLines()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, size);
        QList<QByteArray> values(110);
        values << "False"
               << "False"
               << "" << line << line;
        writeOptionFile(lines(values));
        Options::LoadOptions();
        QCOMPARE(int(Options::Settings().InputFontSize), size);
        QCOMPARE(int(Options::Settings().LyricsFontSize), size);
    }

    void flagReading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("flag");
        QTest::newRow("True") << u"True"_s << true;
        QTest::newRow("mixed case") << u"tRuE"_s << true;
        QTest::newRow("False") << u"FALSE"_s << false;
        QTest::newRow("minus one") << u"-1"_s << true;
        QTest::newRow("padded number") << u" 1 "_s << true;
        QTest::newRow("zero") << u"0"_s << false;
        QTest::newRow("neither word nor number") << u"yes"_s << false;
        QTest::newRow("empty") << QString() << false;
    }
    void flagReading()
    {
        QFETCH(QString, text);
        QFETCH(bool, flag);
        QCOMPARE(Options::FlagFromText(text), flag);
    }

    void numberFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::newRow("number form") << u" 36 "_s << 36.0;
        QTest::newRow("trailing text") << u"12abc"_s << 12.0;
        QTest::newRow("no digits") << u"abc"_s << 0.0;
        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("blanks inside") << u"1 2\t3"_s << 123.0;
        QTest::newRow("line feed inside") << u"4\n5"_s << 45.0;
        QTest::newRow("sign and blanks") << u" - 7"_s << -7.0;
        QTest::newRow("plus sign") << u"+8"_s << 8.0;
        QTest::newRow("fraction") << u"12.5"_s << 12.5;
        QTest::newRow("second point stops") << u"1.2.3"_s << 1.2;
        QTest::newRow("leading point") << u".5"_s << 0.5;
        QTest::newRow("exponent E") << u"-1.5E1"_s << -15.0;
        QTest::newRow("exponent D") << u"1d2"_s << 100.0;
        QTest::newRow("exponent without digits") << u"3e"_s << 3.0;
        QTest::newRow("sign alone") << u"-"_s << 0.0;
        QTest::newRow("full-width digits are not digits") << u"１２"_s << 0.0;
        QTest::newRow("tiny") << u"1e-99999"_s << 0.0;
        QTest::newRow("huge") << u"1e400"_s << qInf();
        QTest::newRow("huge negative") << u"-1e400"_s << -qInf();
        QTest::newRow("exponent of twelve digits") << u"1e0000000005"_s << 1e5;
        QTest::newRow("hundreds of digits") << u"1"_s + QString(300, u'0') << 1e300;
        QTest::newRow("hundreds of digits, past every range") << QString(400, u'9') << qInf();
        QTest::newRow("hundreds of leading zeros") << QString(400, u'0') + u"36"_s << 36.0;
        QTest::newRow("long fraction below every range") << u"0."_s + QString(400, u'0') + u'1' << 0.0;
        QTest::newRow("long fraction, long exponent") << u"0."_s + QString(400, u'0') + u"1e405"_s << 1e4;
    }
    void numberFromText()
    {
        QFETCH(QString, text);
        QFETCH(double, number);
        QCOMPARE(Options::NumberFromText(text), number);
    }

    void resolvePath_data()
    {
        QTest::addColumn<QString>("programFolder");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("resolved");
        QTest::newRow("absolute") << u"/opt/Zubelo"_s << u"/home/p/a.mid"_s << u"/home/p/a.mid"_s;
        QTest::newRow("drive letter kept") << u"/opt/Zubelo"_s << u"D:\\Pictures"_s << u"D:\\Pictures"_s;
        QTest::newRow("relative") << u"/opt/Zubelo"_s << u"Pictures"_s << u"/opt/Zubelo/Pictures"_s;
        QTest::newRow("empty") << u"/opt/Zubelo"_s << QString() << u"/opt/Zubelo/"_s;
        QTest::newRow("backslash first is relative")
            << u"/opt/Zubelo"_s << u"\\a.mid"_s << u"/opt/Zubelo/\\a.mid"_s;
        QTest::newRow("root folder: one separator") << u"/"_s << u"a.mid"_s << u"/a.mid"_s;
    }
    void resolvePath()
    {
        QFETCH(QString, programFolder);
        QFETCH(QString, stored);
        QFETCH(QString, resolved);
        Options::SetProgramFolder(programFolder);
        QCOMPARE(Options::ResolvePath(stored), resolved);
    }

    void folderOfPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::newRow("bare name") << u"a.mid"_s << QString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("only separator first") << u"/a.mid"_s << QString();
        QTest::newRow("nested") << u"/Songs/a.mid"_s << u"/Songs"_s;
        QTest::newRow("0x5C second byte") << u"/曲/表/a.mid"_s << u"/曲/表"_s;
        QTest::newRow("trailing separator") << u"/Songs/"_s << u"/Songs"_s;
    }
    void folderOfPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QCOMPARE(Options::FolderOfPath(path), folder);
    }

    void saveRefusesWhatTheFileCannotHold_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("emoji") << u"🐘.mid"_s;
        QTest::newRow("accented latin") << u"café.mid"_s;
        QTest::newRow("line feed") << u"a\nb.mid"_s;
        QTest::newRow("carriage return") << u"a\rb.mid"_s;
    }
    void saveRefusesWhatTheFileCannotHold()
    {
        QFETCH(QString, text);
        const QByteArray original = fixture();
        writeOptionFile(original);
        Options::Settings().SongFile[7] = text;
        const Options::SaveResult result = Options::SaveOptions();
        QCOMPARE(result.status, Options::SaveResult::CannotHold);
        QCOMPARE(result.detail, text);
        QCOMPARE(readOptionFile(), original); // the old file is untouched
        QVERIFY(!Options::CanStore(text));
    }

    void failedWriteIsReportedAndLeavesNoTemporaryFile()
    {
        // A folder where the settings file should be: the rename cannot succeed.
        QVERIFY(QDir(m_dir.path()).mkpath(u"Option.dat"_s));
        const Options::SaveResult result = Options::SaveOptions();
        QCOMPARE(result.status, Options::SaveResult::WriteFailed);
        QVERIFY(!result.detail.isEmpty());
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
        QVERIFY(QDir(m_dir.path()).rmdir(u"Option.dat"_s));
    }

    void saveKeepsTheOldFileUntilTheNewOneIsWhole()
    {
        // Readers that opened the old file keep its full contents: it is replaced, not emptied.
        writeOptionFile(fixture());
        QFile reader(Options::OptionFilePath());
        QVERIFY(reader.open(QIODevice::ReadOnly));
        Options::Settings().SongFile[0] = u"new.mid"_s;
        QVERIFY(bool(Options::SaveOptions()));
        QCOMPARE(reader.readAll(), fixture());
    }

    void codecKeepsUndecodableBytes()
    {
        const QByteArray bytes("a\x80\xfd\xfe\xff"
                               "b\x81",
                               7);
        const QString text = AnsiCodec::Decode(bytes);
        QCOMPARE(text.size(), 7);
        QCOMPARE(AnsiCodec::Encode(text).value_or(QByteArray()), bytes);
        QVERIFY(!AnsiCodec::Encode(QString(QChar(0xD800))).has_value()); // a lone surrogate is no text
    }
};

QTEST_GUILESS_MAIN(TestOptions)
#include "tst_options.moc"
