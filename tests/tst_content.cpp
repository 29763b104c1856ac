// SPDX-License-Identifier: GPL-3.0-or-later
// The starter content the build puts in the program folder: every key's song in the first
// Option.dat sounds, from a path relative to the folder, so that the folder can move.
#include "audiotestutil.h"
#include "settings/options.h"
#include "widgettestutil.h"

#include <QtTest>

class TestContent : public QObject
{
    Q_OBJECT

private slots:
    void everyKeysSongSounds()
    {
        QTemporaryDir folder; // the play window's own, with the first Option.dat
        QVERIFY(
            QFile::copy(QStringLiteral(ZUBELO_FIRST_OPTIONS), folder.filePath(QStringLiteral("Option.dat"))));
        Options::SetProgramFolder(folder.path());
        Form1 form(OfflineDevices());
        form.audio().Synth().WaitForFont();
        for (const QString &song : Options::Settings().SongFile) {
            form.PlaySong(QStringLiteral(ZUBELO_PROGRAM_DIR "/") + song);
            std::vector<float> heard(12000 * 2); // a quarter second, stereo
            form.audio().Render(heard.data(), 12000);
            QVERIFY2(AudioTest::Peak(heard) > 0.02 && !QDir::isAbsolutePath(song), qPrintable(song));
        }
    }
};

QTEST_MAIN(TestContent)
#include "tst_content.moc"
