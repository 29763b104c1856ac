// SPDX-License-Identifier: GPL-3.0-or-later
// The starter content the build puts in the program folder: every key's song in the first
// Option.dat sounds, from a path relative to the folder, so that the folder can move.
#include "audiotestutil.h"
#include "options.h"
#include "widgettestutil.h"

#include <QScrollBar>
#include <QTextBlock>

class TestContent : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder; // the play window's own, with the first Option.dat

private slots:
    void initTestCase()
    {
        Options::setProgramFolder(m_folder.path());
        QVERIFY(QFile::copy(QStringLiteral(ZUBELO_FIRST_OPTIONS), Options::optionFilePath()));
    }

    void everyKeysSongSounds()
    {
        PlayWindow form(offlineDevices());
        form.audio().synth().waitForFont();
        for (const QString &song : Options::settings().songFile) {
            form.playSong(QStringLiteral(ZUBELO_PROGRAM_DIR "/") + song);
            std::vector<float> heard(12000 * 2); // a quarter second, stereo
            form.audio().render(heard.data(), 12000);
            QVERIFY2(AudioTest::peak(heard) > 0.02 && !QDir::isAbsolutePath(song), qPrintable(song));
        }
    }

    // Every verse is Shift-JIS with CR LF, and at the first Option.dat's size it fits the window maximised
    // on a 1280 x 800 screen without scrolling or a wrapped line.
    void versesFitTheWindow()
    {
        PlayWindow form(offlineDevices());
        form.resize(1280, 770);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        int sung = 0;
        for (const QString &song : Options::settings().songFile) {
            QFile lyrics(QStringLiteral(ZUBELO_PROGRAM_DIR "/") + song.chopped(3) + QStringLiteral("txt"));
            if (!lyrics.open(QIODevice::ReadOnly)) {
                continue;
            }
            const QByteArray bytes = lyrics.readAll();
            QVERIFY2(bytes.count('\n') == bytes.count("\r\n") && !QUtf8StringView(bytes).isValidUtf8()
                         && form.loadLyrics(lyrics.fileName()),
                     qPrintable(song));
            form.setTypingFontSize(Options::settings().lyricsFontSize);
            QCoreApplication::processEvents();
            QVERIFY2(form.typingBox()->verticalScrollBar()->maximum() == 0, qPrintable(song));
            for (QTextBlock line = form.typingBox()->document()->begin(); line.isValid();
                 line = line.next()) {
                QVERIFY2(line.layout()->lineCount() <= 1, qPrintable(song + u' ' + line.text()));
            }
            ++sung;
        }
        QVERIFY(sung >= 12);
    }
};

QTEST_MAIN(TestContent)
#include "tst_content.moc"
