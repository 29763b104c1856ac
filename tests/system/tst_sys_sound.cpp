// SPDX-License-Identifier: GPL-3.0-or-later
// Songs really heard: real keys in the X server, sound recorded from the sound server.
#include "../audiotestutil.h"
#include "systemtest.h"
#include "tests/midifile.h"

#include <QThread>
#include <QtTest>
#include <cmath>
#include <sndfile.h>

using namespace Qt::StringLiterals;
using SystemTest::SoundRecorder;
using SystemTest::ZubeloCopy;

namespace {

constexpr int SlotA = 60;
constexpr int SlotB = 80;
constexpr int SlotC = 78;

// Loudness over 10 ms windows.
std::vector<double> envelope(const std::vector<float> &samples)
{
    std::vector<double> levels;
    const size_t window = SoundRecorder::Rate / 100;
    for (size_t start = 0; start + window <= samples.size(); start += window) {
        double sum = 0;
        for (size_t i = start; i < start + window; ++i) {
            sum += double(samples[i]) * samples[i];
        }
        levels.push_back(std::sqrt(sum / double(window)));
    }
    return levels;
}

// Loud stretches; a gap shorter than 100 ms (a dropout of a busy machine) does not end one.
int countBursts(const std::vector<float> &samples, double threshold)
{
    constexpr int ShortGap = 10; // windows of 10 ms
    int bursts = 0;
    bool loud = false;
    int quiet = ShortGap;
    for (double level : envelope(samples)) {
        if (!loud && level > threshold && quiet >= ShortGap) {
            ++bursts;
        }
        loud = level > threshold / 2 ? (loud || level > threshold) : false;
        quiet = loud ? 0 : quiet + 1;
    }
    return bursts;
}

} // namespace

class TestSystemSound : public QObject
{
    Q_OBJECT

private:
    // Sound above the level has been heard, and the recording goes on seconds past its start.
    static bool heardFor(const SoundRecorder &recorder, float level, double seconds)
    {
        const qint64 start = recorder.FirstLoudSample(0, level);
        return start >= 0 && recorder.SampleCount() > size_t(start + qint64(seconds * SoundRecorder::Rate));
    }
    bool startWith(ZubeloCopy &zubelo, const QMap<int, QByteArray> &songs, bool repeat)
    {
        return zubelo.WriteFile(u"Option.dat"_s, SystemTest::OptionFile(songs, repeat, 36, 24))
               && zubelo.Start() && zubelo.Focus();
    }

private slots:
    void initTestCase() { QVERIFY(SystemTest::RequireServices()); }

    void keyWithAToneIsHeardAtItsPitch()
    {
        ZubeloCopy zubelo;
        QVERIFY(AudioTest::WriteTone(zubelo.FilePath(u"tone.wav"_s), 44100, 1,
                                     SF_FORMAT_WAV | SF_FORMAT_PCM_16, 440, 1.5));
        QVERIFY(startWith(zubelo, {{SlotA, "tone.wav"}}, false));
        SoundRecorder recorder;
        QVERIFY(recorder.Start());
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"a"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(heardFor(recorder, 0.2f, 0.8), 5000);
        const std::vector<float> heard = recorder.Stop();
        QVERIFY2(AudioTest::Peak(heard) > 0.2,
                 qPrintable(
                     QStringLiteral("peak %1 of %2 samples").arg(AudioTest::Peak(heard)).arg(heard.size())));
        const double pitch = AudioTest::PitchOfTone(heard, SoundRecorder::Rate, 300, 600);
        QVERIFY2(std::abs(pitch - 440) <= 6, qPrintable(QString::number(pitch)));
        QVERIFY(zubelo.RequestClose());
        QVERIFY(zubelo.WaitForExit());
    }

    void midiSongIsHeard()
    {
        ZubeloCopy zubelo;
        MidiFile::Song song;
        song.program = 0;
        song.notes = {{0, 960, 69, 127, 0}}; // A4, one second
        QVERIFY(zubelo.WriteFile(u"song.mid"_s, MidiFile::Write(song)));
        QVERIFY(startWith(zubelo, {{SlotB, "song.mid"}}, false));
        SoundRecorder recorder;
        QVERIFY(recorder.Start());
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"b"_s})); // a song waits for the sound font, if need be
        QTRY_VERIFY_WITH_TIMEOUT(heardFor(recorder, 0.05f, 0.6), 5000);
        const std::vector<float> heard = recorder.Stop();
        QVERIFY2(AudioTest::Peak(heard) > 0.05, qPrintable(QString::number(AudioTest::Peak(heard))));
        const double pitch = AudioTest::PitchOfTone(heard, SoundRecorder::Rate, 400, 480);
        QVERIFY2(std::abs(pitch - 440) <= 6, qPrintable(QString::number(pitch)));
        QVERIFY(zubelo.RequestClose());
        QVERIFY(zubelo.WaitForExit());
    }

    void repeatingSongIsHeardAgainAndTheNextKeyStopsIt()
    {
        ZubeloCopy zubelo;
        // A 0.2 s beep followed by 0.3 s of silence: each repeat is one more beep.
        std::vector<float> beep(24000, 0.0f);
        for (int i = 0; i < 9600; ++i) {
            beep[size_t(i)] = float(0.5 * std::sin(2 * M_PI * 880 * i / 48000.0));
        }
        QVERIFY(AudioTest::WriteSamples(zubelo.FilePath(u"beep.wav"_s), 48000, 1,
                                        SF_FORMAT_WAV | SF_FORMAT_PCM_16, beep));
        QVERIFY(startWith(zubelo, {{SlotC, "beep.wav"}}, true));
        SoundRecorder recorder;
        QVERIFY(recorder.Start());
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"c"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(countBursts(recorder.Samples(), 0.1) >= 2, 5000);
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"Escape"_s})); // Esc without a song: silence, no repeat
        QThread::msleep(700);                                  // and no beep comes after it
        const std::vector<float> heard = recorder.Stop();
        const int bursts = countBursts(heard, 0.1);
        QVERIFY2(bursts >= 2 && bursts <= 4, qPrintable(QString::number(bursts)));
        const std::vector<float> tail(heard.end() - SoundRecorder::Rate / 2, heard.end());
        QCOMPARE(countBursts(tail, 0.1), 0);
        QVERIFY(zubelo.RequestClose());
        QVERIFY(zubelo.WaitForExit());
    }
};

QTEST_MAIN(TestSystemSound)
#include "tst_sys_sound.moc"
