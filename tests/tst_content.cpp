// SPDX-License-Identifier: GPL-3.0-or-later
// The starter content the build puts in the program folder: every key's song in the first
// Option.dat sounds, from a path relative to the folder, so that the folder can move.
#include "audiotestutil.h"
#include "settings.h"
#include "widgettestutil.h"

#include <QScrollBar>
#include <QTextBlock>

class TestContent : public QObject
{
    Q_OBJECT

    const ProgramFolder m_folder{QStringLiteral(ZUBELO_PROGRAM_DIR)};
    Settings::Record m_first; // the first Option.dat

private slots:
    void initTestCase() { Settings::load(QStringLiteral(ZUBELO_FIRST_OPTIONS), m_first); }

    void everyKeysSongSounds()
    {
        PlayWindow form(m_folder, m_first, offlineDevices());
        form.audio().synth().waitForFont();
        for (const QString &song : m_first.songFile) {
            form.playSong(m_folder.resolve(song));
            std::vector<float> heard(12000 * 2); // a quarter second, stereo
            form.audio().render(heard.data(), 12000);
            QVERIFY2(AudioTest::peak(heard) > 0.02 && !QDir::isAbsolutePath(song), qPrintable(song));
        }
    }

    // Every verse is Shift-JIS with CR LF, and at the first Option.dat's size it fits the window maximised
    // on a 1280 x 800 screen without scrolling or a wrapped line.
    void versesFitTheWindow()
    {
        PlayWindow form(m_folder, m_first, offlineDevices());
        form.resize(1280, 770);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        int sung = 0;
        for (const QString &song : m_first.songFile) {
            QFile lyrics(m_folder.resolve(song.chopped(3) + QStringLiteral("txt")));
            if (!lyrics.open(QIODevice::ReadOnly)) {
                continue;
            }
            const QByteArray bytes = lyrics.readAll();
            QVERIFY2(bytes.count('\n') == bytes.count("\r\n") && !QUtf8StringView(bytes).isValidUtf8()
                         && form.loadLyrics(lyrics.fileName()),
                     qPrintable(song));
            form.setTypingFontSize(m_first.lyricsFontSize);
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
