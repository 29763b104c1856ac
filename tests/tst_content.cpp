// SPDX-License-Identifier: GPL-3.0-or-later
// The starter content the build puts in the program folder, as the first
// Option.dat ties it to the keys: every key's file plays, the lyrics are
// Shift-JIS verses a child can read, and the longest verse fills the window.
#include "audiotestutil.h"
#include "platform/media/audioengine.h"
#include "platform/media/mediacontrol.h"
#include "settings/ansicodec.h"
#include "settings/options.h"
#include "widgettestutil.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

Options::Record firstOptions()
{
    QFile file(QStringLiteral(ZUBELO_FIRST_OPTIONS));
    Options::Record record;
    if (file.open(QIODevice::ReadOnly)) {
        Options::ParseOptions(file.readAll(), record);
    }
    return record;
}

QString lyricsOf(const QString &song)
{
    return song.left(song.size() - 3) + u"txt"_s;
}

} // namespace

class TestContent : public QObject
{
    Q_OBJECT

private slots:
    void init() { Options::SetProgramFolder(QStringLiteral(ZUBELO_PROGRAM_DIR)); }

    void firstOptionsGiveEveryKeyASoundAndShowPictures()
    {
        const Options::Record record = firstOptions();
        QVERIFY(!record.PlayWait && !record.PlayRepeat);
        QCOMPARE(record.InputFontSize, 150);
        QCOMPARE(record.ImageFolder, u"pictures"_s);
        QDir pictures(Options::ResolvePath(record.ImageFolder));
        QVERIFY(pictures.entryList({u"*.jpg"_s, u"*.bmp"_s, u"*.gif"_s}, QDir::Files).size() >= 16);
        for (const QString &song : record.SongFile) {
            QVERIFY2(!song.isEmpty() && !QDir::isAbsolutePath(song), qPrintable(song)); // the folder can move
        }
    }

    void everyKeysSongPlays()
    {
        AudioEngine::Options options;
        options.output = AudioEngine::Output::Offline;
        AudioEngine engine(options);
        MediaControl media(engine);
        engine.Synth().WaitForFont();
        const Options::Record record = firstOptions();
        for (int slot = 0; slot < Options::SlotCount; ++slot) {
            const QString path = Options::ResolvePath(record.SongFile[size_t(slot)]);
            const QString message = QString::number(slot) + u' ' + path;
            QVERIFY2(QFileInfo(path).isFile(), qPrintable(message));
            media.setCommand(u"Close"_s);
            media.setFileName(path);
            media.setDeviceType(path.endsWith(u".mid"_s) ? u"Sequencer"_s : u"WaveAudio"_s);
            media.setCommand(u"Open"_s);
            media.setCommand(u"Play"_s);
            QVERIFY2(media.Mode() == MediaControl::ModePlaying, qPrintable(message));
            std::vector<float> heard(256 * 100); // a quarter second, stereo
            for (size_t done = 0; done < heard.size(); done += 256) {
                engine.Render(heard.data() + done, 128);
            }
            QVERIFY2(AudioTest::Peak(heard) > 0.02, qPrintable(message));
        }
    }

    void lyricsAreShiftJisVersesInHiragana()
    {
        int sung = 0;
        for (const QString &song : firstOptions().SongFile) {
            QFile file(lyricsOf(Options::ResolvePath(song)));
            if (!file.open(QIODevice::ReadOnly)) {
                continue;
            }
            ++sung;
            const QByteArray bytes = file.readAll();
            QVERIFY2(bytes.endsWith("\r\n") && bytes.count('\n') == bytes.count("\r\n"), qPrintable(song));
            const QStringList lines = AnsiCodec::Decode(bytes).split(u"\r\n"_s, Qt::SkipEmptyParts);
            QVERIFY2(lines.size() >= 4 && lines.size() <= 8, qPrintable(song));
            for (const QString &line : lines) {
                for (QChar c : line) { // a byte that is no Shift-JIS would decode outside hiragana
                    QVERIFY2((c >= u'\u3041' && c <= u'\u3096') || c == u' ', qPrintable(song + u' ' + line));
                }
            }
        }
        QVERIFY(sung >= 12);
    }

    void longestVerseFillsTheWindowWithoutScrolling()
    {
        // The play window maximised on a 1280 x 800 screen, below a title bar.
        QTemporaryDir folder;
        Options::SetProgramFolder(folder.path());
        Form1 form(OfflineDevices());
        form.resize(1280, 770);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const Options::Record record = firstOptions();
        const auto fits = [&](int points) {
            for (const QString &song : record.SongFile) {
                const QString lyrics = lyricsOf(QStringLiteral(ZUBELO_PROGRAM_DIR "/") + song);
                if (!QFile::exists(lyrics)) {
                    continue;
                }
                form.LoadLyrics(lyrics);
                form.SetText1FontSize(points);
                QCoreApplication::processEvents();
                if (form.Text1->verticalScrollBar()->maximum() > 0) {
                    return false;
                }
                for (QTextBlock line = form.Text1->document()->begin(); line.isValid(); line = line.next()) {
                    if (line.layout()->lineCount() > 1) {
                        return false; // a wrapped line
                    }
                }
            }
            return true;
        };
        QVERIFY(fits(record.LyricsFontSize));
        QVERIFY2(!fits(record.LyricsFontSize + 8),
                 "a much larger size still fits: the verses could be bigger");
    }
};

QTEST_MAIN(TestContent)
#include "tst_content.moc"
