// SPDX-License-Identifier: GPL-3.0-or-later
// The play window's keys: songs, colours, lyrics, repeat and the wait flag.
#include "app/form1.h"
#include "audiotestutil.h"
#include "platform/random.h"
#include "settings/options.h"
#include "tests/midifile.h"
#include "widgettestutil.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <sndfile.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int SlotA = 60;
constexpr int SlotB = 80;
constexpr int SlotEsc = 0;
constexpr int SlotEnter = 51;

} // namespace

class TestKeyInput : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Form1> m_form;

    QString file(const QString &name) const { return m_dir->filePath(name); }

    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile f(file(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    void start(const Options::Record &record)
    {
        QVERIFY(bool(Options::WriteOptionsFile(file(u"Option.dat"_s), record)));
        m_form = std::make_unique<Form1>(OfflineDevices());
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(m_form->Text1, key, modifiers);
    }

    void renderSeconds(double seconds)
    {
        std::vector<float> buffer(256);
        for (int done = 0; done < int(48000 * seconds); done += 128) {
            m_form->audio().Render(buffer.data(), 128);
        }
        QCoreApplication::processEvents();
    }

    QColor text1Colour() const { return m_form->Text1->palette().color(QPalette::Base); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        Options::SetProgramFolder(m_dir->path());
        Options::Settings() = Options::Record{};
        Random::Restart();
        QVERIFY(AudioTest::WriteTone(file(u"a.wav"_s), 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 440, 0.2));
        QVERIFY(AudioTest::WriteTone(file(u"b.WAV"_s), 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 660, 2));
        MidiFile::Song song;
        song.notes = {{0, 480, 60, 100, 0}};
        writeFile(u"tune.MID"_s, MidiFile::Write(song));
        writeFile(u"ClickLeft.mid"_s, MidiFile::Write(song));
        writeFile(u"ClickRight.mid"_s, MidiFile::Write(song));
        writeFile(u"ClickMiddle.mid"_s, MidiFile::Write(song));
    }
    void cleanup() { m_form.reset(); }

    void songKinds_data()
    {
        QTest::addColumn<QString>("song");
        QTest::addColumn<bool>("plays");
        QTest::newRow("upper-case MID") << u"tune.MID"_s << true;
        QTest::newRow("mixed-case Wav") << u"b.WAV"_s << true;
        QTest::newRow("absolute path") << u"<dir>/a.wav"_s << true;
        QTest::newRow(".midi is not played") << u"tune.midi"_s << false;
        QTest::newRow(".rmi is not played") << u"tune.rmi"_s << false;
        QTest::newRow("no song") << QString() << false;
        QTest::newRow("missing file") << u"gone.wav"_s << false;
    }
    void songKinds()
    {
        QFETCH(QString, song);
        QFETCH(bool, plays);
        writeFile(u"tune.midi"_s, QByteArray("MThd"));
        writeFile(u"tune.rmi"_s, QByteArray("RIFF"));
        Options::Record record;
        record.SongFile[SlotB] = u"b.WAV"_s;
        record.SongFile[SlotA] = song.replace(u"<dir>"_s, m_dir->path());
        start(record);
        press(Qt::Key_B); // something is playing before the key
        QCOMPARE(m_form->MMControl1.Mode(), int(MediaControl::ModePlaying));
        press(Qt::Key_A);
        QCOMPARE(m_form->MMControl1.Mode() == MediaControl::ModePlaying, plays);
    }

    void repeatRestartsASongThatEnded_data()
    {
        QTest::addColumn<bool>("repeat");
        QTest::addColumn<bool>("escLast");
        QTest::addColumn<bool>("playsAgain");
        QTest::newRow("repeat on") << true << false << true;
        QTest::newRow("repeat off") << false << false << false;
        QTest::newRow("Esc was the last key") << true << true << false;
    }
    void repeatRestartsASongThatEnded()
    {
        QFETCH(bool, repeat);
        QFETCH(bool, escLast);
        QFETCH(bool, playsAgain);
        Options::Record record;
        record.PlayRepeat = repeat;
        record.SongFile[SlotA] = u"a.wav"_s;
        record.SongFile[SlotEsc] = escLast ? u"a.wav"_s : QString();
        start(record);
        QSignalSpy ended(&m_form->MMControl1, &MediaControl::Done); // heard after the window's handler
        press(escLast ? Qt::Key_Escape : Qt::Key_A);
        renderSeconds(0.3); // the 0.2 s song ends
        QTRY_COMPARE(ended.count(), 1);
        QCOMPARE(m_form->MMControl1.Mode() == MediaControl::ModePlaying, playsAgain);
        if (playsAgain) { // and again, without end
            renderSeconds(0.3);
            QTRY_COMPARE(ended.count(), 2);
            QCOMPARE(m_form->MMControl1.Mode(), int(MediaControl::ModePlaying));
        }
    }

    void waitFlagHoldsKeysBackButNotEsc()
    {
        Options::Record record;
        record.PlayWait = true;
        record.SongFile[SlotB] = u"b.WAV"_s;
        record.SongFile[SlotA] = u"a.wav"_s;
        start(record);
        press(Qt::Key_B);
        const QColor colour = text1Colour();
        m_form->Text1->setPlainText(u"xyz"_s);
        m_form->Text1->moveCursor(QTextCursor::End);
        press(Qt::Key_A);    // held back: the song, the colour stay; the character is typed
        press(Qt::Key_Left); // and an arrow acts on the caret as usual
        QCOMPARE(m_form->Text1->toPlainText(), u"xyza"_s);
        QCOMPARE(m_form->Text1->textCursor().position(), 3);
        QCOMPARE(text1Colour(), colour);
        QCOMPARE(m_form->MMControl1.Mode(), int(MediaControl::ModePlaying));
        QCOMPARE(int(m_form->lastPressedCode()), 37);
        press(Qt::Key_Escape); // Esc passes and, with no song of its own, stops the music
        QCOMPARE(m_form->MMControl1.Mode(), int(MediaControl::ModeNotOpen));
        press(Qt::Key_A);
        QCOMPARE(m_form->MMControl1.Mode(), int(MediaControl::ModePlaying));
    }

    void handledKeysTypeButDoNotMoveTheCaret()
    {
        start(Options::Record{});
        QTest::keyClicks(m_form->Text1, u"ab"_s);
        press(Qt::Key_Left);
        press(Qt::Key_Home);
        QTest::keyClicks(m_form->Text1, u"c"_s);
        press(Qt::Key_Return);
        QTest::keyClicks(m_form->Text1, u"d!"_s);
        press(Qt::Key_Backspace);
        QCOMPARE(m_form->Text1->toPlainText(), u"abc\nd"_s);
    }

    void coloursComeFromTheSharedGenerator()
    {
        start(Options::Record{});
        Random::Restart();
        QList<QColor> seen;
        for (int i = 0; i < 12; ++i) {
            press(Qt::Key_A);
            seen << text1Colour();
        }
        Random::Restart();
        for (int i = 0; i < 12; ++i) {
            const int index = int(Random::Next() * 8);
            QCOMPARE(seen[i], Form1::ColourOf(Form1::KeyColours[size_t(index)]));
        }
    }

    void altKeysPlayClickSongsAndKeepTheColour_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("song");
        QTest::newRow("Alt+L") << int(Qt::Key_L) << u"ClickLeft.mid"_s;
        QTest::newRow("Alt+R") << int(Qt::Key_R) << u"ClickRight.mid"_s;
        QTest::newRow("Alt+M") << int(Qt::Key_M) << u"ClickMiddle.mid"_s;
        QTest::newRow("Alt+A plays A's own song") << int(Qt::Key_A) << u"a.wav"_s;
    }
    void altKeysPlayClickSongsAndKeepTheColour()
    {
        QFETCH(int, key);
        QFETCH(QString, song);
        Options::Record record;
        record.SongFile[SlotA] = u"a.wav"_s;
        start(record);
        const QColor colour = text1Colour();
        press(Qt::Key(key), Qt::AltModifier);
        QCOMPARE(m_form->MMControl1.FileName(), file(song));
        QCOMPARE(m_form->MMControl1.Mode(), int(MediaControl::ModePlaying));
        QCOMPARE(text1Colour(), colour);
    }

    void unknownKeyPlaysTheEnterSong()
    {
        Options::Record record;
        record.SongFile[SlotEnter] = u"b.WAV"_s;
        start(record);
        press(Qt::Key_Launch0);
        QCOMPARE(m_form->MMControl1.FileName(), file(u"b.WAV"_s));
        QCOMPARE(m_form->MMControl1.Mode(), int(MediaControl::ModePlaying));
    }

    void lyricsModes()
    {
        Options::Record record;
        record.SongFile[SlotA] = u"a.wav"_s;
        record.SongFile[SlotB] = u"b.WAV"_s;
        record.InputFontSize = 40;
        record.LyricsFontSize = 20;
        writeFile(u"a.txt"_s, QByteArray("\x82\xa9\x82\xa6\x82\xe9\r\n\x95\x5c no uta\r\nlast"));
        start(record);
        QTest::keyClicks(m_form->Text1, u"zz"_s);
        press(Qt::Key_A); // typing → lyrics
        QVERIFY(m_form->lyricsShown());
        QCOMPARE(m_form->Text1->font().pointSize(), 20);
        // The key's own character lands at the start, where the caret was put.
        QCOMPARE(m_form->Text1->toPlainText(), u"aかえる\n表 no uta\nlast\n"_s);
        QCOMPARE(m_form->Text1->textCursor().position(), 1);
        m_form->Text1->moveCursor(QTextCursor::End);
        press(Qt::Key_A); // lyrics → lyrics afresh, caret back at the start
        QCOMPARE(m_form->Text1->textCursor().position(), 1);
        QCOMPARE(m_form->Text1->toPlainText(), u"aかえる\n表 no uta\nlast\n"_s);
        press(Qt::Key_B); // lyrics → typing: emptied, and B's character is the first
        QVERIFY(!m_form->lyricsShown());
        QCOMPARE(m_form->Text1->font().pointSize(), 40);
        QCOMPARE(m_form->Text1->toPlainText(), u"b"_s);
        press(Qt::Key_B); // typing → typing: the text grows
        QCOMPARE(m_form->Text1->toPlainText(), u"bb"_s);
    }

    void lyricsThatCannotBeShown_data()
    {
        QTest::addColumn<QString>("song");
        QTest::addColumn<bool>("lyrics");
        QTest::newRow("lyrics name is a folder") << u"dir.wav"_s << false;
        QTest::newRow("hidden lyrics file") << u".hidden.wav"_s << false;
        QTest::newRow("song name of two characters") << u"C:"_s << false;
    }
    void lyricsThatCannotBeShown()
    {
        QFETCH(QString, song);
        QFETCH(bool, lyrics);
        QVERIFY(QDir(m_dir->path()).mkpath(u"dir.txt"_s));
        writeFile(u".hidden.txt"_s, "hidden");
        Options::Record record;
        record.SongFile[SlotA] = song;
        start(record);
        press(Qt::Key_A);
        QCOMPARE(m_form->lyricsShown(), lyrics);
        QVERIFY(!m_form->Text1->toPlainText().contains(u"hidden"_s));
    }

    // Names from the old platform ignore case, and names typed with some
    // characters come back from Option.dat spelled otherwise ("〜" as "～").
    void songsAndLyricsSpelledOtherwiseOnDisk_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("song");
        QTest::addColumn<QString>("lyrics");
        QTest::newRow("song name in upper case") << u"A.WAV"_s << u"a.wav"_s << u"a.txt"_s;
        QTest::newRow("lyrics name in upper case") << u"a.wav"_s << u"a.wav"_s << u"A.TXT"_s;
        QTest::newRow("folder typed with 〜") << u"うた〜/a.wav"_s << u"うた〜/a.wav"_s << u"うた〜/a.txt"_s;
    }
    void songsAndLyricsSpelledOtherwiseOnDisk()
    {
        QFETCH(QString, stored);
        QFETCH(QString, song);
        QFETCH(QString, lyrics);
        QVERIFY(QDir(m_dir->path()).mkpath(u"うた〜"_s));
        QVERIFY(QFile::copy(file(u"a.wav"_s), file(song)) || song == u"a.wav"_s);
        writeFile(lyrics, "uta");
        Options::Record record;
        record.SongFile[SlotA] = stored;
        start(record); // through Option.dat and back
        press(Qt::Key_A);
        QCOMPARE(m_form->MMControl1.FileName(), file(song));
        QCOMPARE(m_form->MMControl1.Mode(), int(MediaControl::ModePlaying));
        QVERIFY(m_form->lyricsShown());
        QCOMPARE(m_form->Text1->toPlainText(), u"auta\n"_s);
    }

    void hugeLyricsAreCut()
    {
        Options::Record record;
        record.SongFile[SlotA] = u"a.wav"_s;
        writeFile(u"a.txt"_s, QByteArray("0123456789abcde\n").repeated(200000)); // 3.2 MB
        start(record);
        press(Qt::Key_A);
        QVERIFY(m_form->lyricsShown());
        QCOMPARE(m_form->Text1->toPlainText().size(),
                 int(Form1::MaxLyricsBytes) + 1); // and the key's character
    }
};

QTEST_MAIN(TestKeyInput)
#include "tst_keyinput.moc"
