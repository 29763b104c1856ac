// SPDX-License-Identifier: GPL-3.0-or-later
#include "audiotestutil.h"
#include "platform/media/audioengine.h"
#include "platform/media/mediacontrol.h"
#include "platform/media/sources.h"
#include "tests/midifile.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <sndfile.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int Buffer = 128;

AudioEngine::Options offline(QStringList soundFonts = Synthesizer::DefaultSoundFonts())
{
    AudioEngine::Options options;
    options.output = AudioEngine::Output::Offline;
    options.soundFonts = soundFonts;
    return options;
}

MidiFile::Song scale(int notes, int step = 240)
{
    MidiFile::Song song;
    for (int i = 0; i < notes; ++i) {
        song.notes.push_back({i * step, step, 60 + i, 110, 0});
    }
    return song;
}

} // namespace

class TestMediaControl : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<AudioEngine> m_engine;
    std::unique_ptr<MediaControl> m_media;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    void makeEngine(const AudioEngine::Options &options = offline())
    {
        m_media.reset();
        m_engine = std::make_unique<AudioEngine>(options);
        m_media = std::make_unique<MediaControl>(*m_engine);
        m_media->setNotify(true);
    }

    // Plays a file the way the play window does.
    void play(const QString &file, const QString &deviceType)
    {
        m_media->setCommand(u"Close"_s);
        m_media->setFileName(file);
        m_media->setDeviceType(deviceType);
        m_media->setCommand(u"Open"_s);
        m_media->setCommand(u"Play"_s);
    }

    std::vector<float> render(int frames)
    {
        std::vector<float> out;
        std::vector<float> buffer(Buffer * 2);
        for (int done = 0; done < frames; done += Buffer) {
            m_engine->Render(buffer.data(), Buffer);
            out.insert(out.end(), buffer.begin(), buffer.end());
        }
        return out;
    }

    void writeMidi(const QString &name, const MidiFile::Song &song)
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(MidiFile::Write(song));
    }

private slots:
    void init() { makeEngine(); }
    void cleanup()
    {
        m_media.reset();
        m_engine.reset();
    }

    void waveAtTheOutputFormatComesOutSampleForSample()
    {
        std::vector<float> samples(48000 / 10 * 2);
        for (size_t i = 0; i < samples.size(); ++i) {
            samples[i] = float(int(i % 200) - 100) / 128.0f; // exact in float
        }
        QVERIFY(AudioTest::WriteSamples(path(u"exact.wav"_s), 48000, 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT,
                                        samples));
        play(path(u"exact.wav"_s), u"WaveAudio"_s);
        QCOMPARE(m_media->Mode(), MediaControl::ModePlaying);
        const std::vector<float> out = render(int(samples.size() / 2));
        QVERIFY(std::equal(samples.begin(), samples.end(), out.begin()));
    }

    void resampledToneKeepsItsPitchAndLength_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("format");
        QTest::newRow("22050 Hz mono 8-bit") << 22050 << 1 << int(SF_FORMAT_WAV | SF_FORMAT_PCM_U8);
        QTest::newRow("44100 Hz stereo 16-bit") << 44100 << 2 << int(SF_FORMAT_WAV | SF_FORMAT_PCM_16);
        QTest::newRow("11025 Hz mono IMA ADPCM") << 11025 << 1 << int(SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM);
        QTest::newRow("8000 Hz mono mu-law") << 8000 << 1 << int(SF_FORMAT_WAV | SF_FORMAT_ULAW);
        QTest::newRow("96000 Hz stereo 24-bit") << 96000 << 2 << int(SF_FORMAT_WAV | SF_FORMAT_PCM_24);
    }
    void resampledToneKeepsItsPitchAndLength()
    {
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(int, format);
        QVERIFY(AudioTest::WriteTone(path(u"tone.wav"_s), rate, channels, format, 440, 1.0));
        QSignalSpy done(m_media.get(), &MediaControl::Done);
        play(path(u"tone.wav"_s), u"WaveAudio"_s);
        const std::vector<float> left = AudioTest::LeftChannel(render(48000 * 9 / 10));
        QCOMPARE(AudioTest::DominantFrequency(left, 48000, 400, 480), 440.0);
        QVERIFY(AudioTest::ToneLevel(left, 48000, 440) > 0.4);
        QCOMPARE(m_media->Mode(), MediaControl::ModePlaying); // 0.9 s of a 1 s song
        render(48000 / 5);
        QTRY_COMPARE(done.count(), 1); // and done by 1.1 s
        QCOMPARE(done.at(0).at(0).toInt(), int(MediaControl::Successful));
        QCOMPARE(m_media->Mode(), MediaControl::ModeStopped);
    }

    void midiSongSoundsAndEnds()
    {
        m_engine->Synth().WaitForFont();
        QCOMPARE(m_engine->Synth().State(), Synthesizer::FontState::Ready);
        writeMidi(u"scale.mid"_s, scale(4, 240)); // four eighths at 120 bpm: one second
        QSignalSpy done(m_media.get(), &MediaControl::Done);
        play(path(u"scale.mid"_s), u"Sequencer"_s);
        const std::vector<float> first = render(48000 / 2);
        QVERIFY(AudioTest::Peak(first) > 0.05);
        render(48000);
        QTRY_COMPARE(done.count(), 1);
        QCOMPARE(done.at(0).at(0).toInt(), int(MediaControl::Successful));
    }

    void midiAskedForBeforeTheFontIsReadyPlaysWhenItIs()
    {
        writeMidi(u"early.mid"_s, scale(2));
        play(path(u"early.mid"_s), u"Sequencer"_s); // the font may still be loading
        m_engine->Synth().WaitForFont();
        const std::vector<float> out = render(48000 / 4);
        QVERIFY(AudioTest::Peak(out) > 0.05);
    }

    void closeSilencesWithinOneBuffer_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("wave") << u"WaveAudio"_s;
        QTest::newRow("midi") << u"Sequencer"_s;
    }
    void closeSilencesWithinOneBuffer()
    {
        QFETCH(QString, kind);
        m_engine->Synth().WaitForFont();
        QVERIFY(
            AudioTest::WriteTone(path(u"long.wav"_s), 48000, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 440, 3));
        MidiFile::Song chord;
        chord.notes = {{0, 4800, 60, 127, 0}, {0, 4800, 64, 127, 0}, {0, 4800, 67, 127, 0}};
        writeMidi(u"long.mid"_s, chord);
        play(path(kind == u"WaveAudio"_s ? u"long.wav"_s : u"long.mid"_s), kind);
        QVERIFY(AudioTest::Peak(render(4800)) > 0.05);
        QSignalSpy done(m_media.get(), &MediaControl::Done);
        m_media->setCommand(u"Close"_s);
        QCOMPARE(AudioTest::Peak(render(Buffer)), 0.0);
        QCOMPARE(m_media->Mode(), MediaControl::ModeNotOpen);
        QTRY_COMPARE(done.count(), 1);
        QCOMPARE(done.at(0).at(0).toInt(), int(MediaControl::Aborted));
    }

    void prevThenPlayStartsFromTheBeginning()
    {
        std::vector<float> ramp(48000);
        for (size_t i = 0; i < ramp.size(); ++i) {
            ramp[i] = float(i % 1000) / 1024.0f;
        }
        QVERIFY(
            AudioTest::WriteSamples(path(u"ramp.wav"_s), 48000, 1, SF_FORMAT_WAV | SF_FORMAT_FLOAT, ramp));
        play(path(u"ramp.wav"_s), u"WaveAudio"_s);
        render(48000 / 4);
        m_media->setCommand(u"Prev"_s);
        QCOMPARE(m_media->Mode(), MediaControl::ModeStopped);
        QCOMPARE(AudioTest::Peak(render(Buffer)), 0.0); // rewound, not playing
        m_media->setCommand(u"Play"_s);
        const std::vector<float> left = AudioTest::LeftChannel(render(Buffer));
        QVERIFY(std::equal(left.begin(), left.end(), ramp.begin()));
    }

    // Every frame once, in order, whether the song fits in what is read ahead or not;
    // the end notice once, after the last frame; and the same again after "Prev".
    void waveEndsOnceRightAfterItsLastFrame_data()
    {
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("playable"); // frames before a cut in the file
        QTest::newRow("shorter than what Open reads") << 200 << 200;
        QTest::newRow("shorter than the read-ahead") << 4801 << 4801;
        QTest::newRow("longer than the read-ahead") << 100001 << 100001;
        QTest::newRow("cut off mid-sample") << 100001 << 60000;
    }
    void waveEndsOnceRightAfterItsLastFrame()
    {
        QFETCH(int, frames);
        QFETCH(int, playable);
        std::vector<float> samples(static_cast<size_t>(frames));
        for (size_t i = 0; i < samples.size(); ++i) {
            samples[i] = float(i % 1000 + 1) / 1024.0f; // never silent, exact in float
        }
        const QString file = path(u"song.wav"_s);
        QVERIFY(AudioTest::WriteSamples(file, 48000, 1, SF_FORMAT_WAV | SF_FORMAT_FLOAT, samples));
        if (playable < frames) {
            QFile cut(file);
            QVERIFY(cut.resize(cut.size() - qint64(frames - playable) * 4 + 2));
        }
        samples.resize(size_t(playable));
        QSignalSpy done(m_media.get(), &MediaControl::Done);
        play(file, u"WaveAudio"_s);
        for (int round = 1; round <= 2; ++round) {
            const std::vector<float> heard = AudioTest::LeftChannel(render((playable - 1) / Buffer * Buffer));
            QVERIFY(m_engine->IsPlaying()); // no buffer yet without a frame of the song
            QVERIFY(std::equal(samples.begin(), samples.begin() + qsizetype(heard.size()), heard.begin()));
            const std::vector<float> last = AudioTest::LeftChannel(render(1));
            QVERIFY(std::equal(samples.begin() + qsizetype(heard.size()), samples.end(), last.begin()));
            QVERIFY(std::all_of(last.begin() + (playable - qsizetype(heard.size())), last.end(),
                                [](float s) { return s == 0.0f; }));
            QTRY_COMPARE(done.count(), round);
            QCOMPARE(done.last().at(0).toInt(), int(MediaControl::Successful));
            render(Buffer * 4);
            QCoreApplication::processEvents();
            QCOMPARE(done.count(), round);
            m_media->setCommand(u"Prev"_s);
            m_media->setCommand(u"Play"_s);
        }
    }

    void doneCodes_data()
    {
        QTest::addColumn<QString>("case_");
        QTest::addColumn<QList<int>>("codes");
        QTest::newRow("played to its end") << u"end"_s << QList<int>{1};
        QTest::newRow("closed while playing") << u"close"_s << QList<int>{4};
        QTest::newRow("played again while playing") << u"supersede"_s << QList<int>{2};
        QTest::newRow("missing file") << u"missing"_s << QList<int>{8};
        QTest::newRow("damaged wave") << u"damaged-wave"_s << QList<int>{8};
        QTest::newRow("damaged midi") << u"damaged-midi"_s << QList<int>{8};
        QTest::newRow("midi with no notes or events") << u"empty-midi"_s << QList<int>{8};
        QTest::newRow("unknown device type") << u"unknown-type"_s << QList<int>{8};
        QTest::newRow("close with nothing open") << u"close-idle"_s << QList<int>{};
    }
    void doneCodes()
    {
        QFETCH(QString, case_);
        QFETCH(QList<int>, codes);
        m_engine->Synth().WaitForFont();
        QVERIFY(
            AudioTest::WriteTone(path(u"short.wav"_s), 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 440, 0.1));
        QFile damaged(path(u"damaged.wav"_s));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("RIFF\x10\x00\x00\x00WAVEfmt garbage that is no wave");
        damaged.close();
        QFile damagedMidi(path(u"damaged.mid"_s));
        QVERIFY(damagedMidi.open(QIODevice::WriteOnly));
        damagedMidi.write(QByteArray("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xe0MTrk\xff\xff\xff\xff", 22)
                          + QByteArray(64, '\x90'));
        damagedMidi.close();
        QFile emptyMidi(path(u"empty.mid"_s));
        QVERIFY(emptyMidi.open(QIODevice::WriteOnly));
        emptyMidi.write(QByteArray(
            "MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xe0MTrk\x00\x00\x00\x04\x00\xff\x2f\x00", 26));
        emptyMidi.close();

        QSignalSpy done(m_media.get(), &MediaControl::Done);
        if (case_ == u"end") {
            play(path(u"short.wav"_s), u"WaveAudio"_s);
            render(48000 / 5);
        } else if (case_ == u"close") {
            play(path(u"short.wav"_s), u"WaveAudio"_s);
            m_media->setCommand(u"Close"_s);
        } else if (case_ == u"supersede") {
            play(path(u"short.wav"_s), u"WaveAudio"_s);
            m_media->setCommand(u"Play"_s);
        } else if (case_ == u"missing") {
            play(path(u"nothing-here.wav"_s), u"WaveAudio"_s);
        } else if (case_ == u"damaged-wave") {
            play(path(u"damaged.wav"_s), u"WaveAudio"_s);
        } else if (case_ == u"damaged-midi") {
            play(path(u"damaged.mid"_s), u"Sequencer"_s);
            render(48000);
        } else if (case_ == u"empty-midi") {
            play(path(u"empty.mid"_s), u"Sequencer"_s);
            render(48000);
        } else if (case_ == u"unknown-type") {
            play(path(u"short.wav"_s), u"CDAudio"_s);
        } else if (case_ == u"close-idle") {
            m_media->setCommand(u"Close"_s);
        }
        auto got = [&done] {
            QList<int> codes;
            for (const QList<QVariant> &args : done) {
                codes << args.at(0).toInt();
            }
            return codes;
        };
        if (codes.isEmpty()) {
            QTest::qWait(50); // no notice comes
        }
        QTRY_COMPARE(got(), codes);
        if (codes == QList<int>{8}) {
            QVERIFY(m_media->Mode() != MediaControl::ModePlaying); // a failure never sticks at "playing"
        }
    }

    void endNoticeOvertakenByANewSongNeverRestartsIt()
    {
        QVERIFY(AudioTest::WriteTone(path(u"first.wav"_s), 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 440,
                                     0.05));
        QVERIFY(
            AudioTest::WriteTone(path(u"second.wav"_s), 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 660, 2));
        QList<int> codes;
        int restarts = 0;
        connect(m_media.get(), &MediaControl::Done, this, [&](int code) {
            codes << code;
            if (code == MediaControl::Successful) { // what the play window does with a repeating song
                ++restarts;
                m_media->setCommand(u"Prev"_s);
                m_media->setCommand(u"Play"_s);
            }
        });
        play(path(u"first.wav"_s), u"WaveAudio"_s);
        render(48000 / 10); // the first song ends; its notice waits in the queue
        play(path(u"second.wav"_s), u"WaveAudio"_s);
        const std::vector<float> before = AudioTest::LeftChannel(render(4800));
        QTRY_COMPARE(codes, QList<int>{4}); // the old notice, delivered late
        QCOMPARE(restarts, 0);
        QCOMPARE(m_media->Mode(), MediaControl::ModePlaying);
        // The second song went on from where it was: its start is not heard again.
        const std::vector<float> after = AudioTest::LeftChannel(render(Buffer));
        QVERIFY(!std::equal(after.begin(), after.end(), before.begin()));
        QVERIFY(AudioTest::ToneLevel(before, 48000, 660) > 0.3);
    }

    void endNoticeDeliveredAfterACloseIsNotASuccess()
    {
        QVERIFY(AudioTest::WriteTone(path(u"first.wav"_s), 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 440,
                                     0.05));
        QSignalSpy done(m_media.get(), &MediaControl::Done);
        play(path(u"first.wav"_s), u"WaveAudio"_s);
        render(48000 / 10);
        QTRY_COMPARE(m_media->Mode(), MediaControl::ModeStopped); // the engine has told the control
        m_media->setCommand(u"Close"_s); // before the queued notice reached the window
        QTRY_COMPARE(done.count(), 1);
        QCOMPARE(done.at(0).at(0).toInt(), int(MediaControl::Aborted));
    }

    void noSoundFontMeansMidiFailsAndNeverSticks()
    {
        makeEngine(offline({path(u"no-such-font.sf2"_s)}));
        m_engine->Synth().WaitForFont();
        writeMidi(u"song.mid"_s, scale(2));
        QSignalSpy done(m_media.get(), &MediaControl::Done);
        play(path(u"song.mid"_s), u"Sequencer"_s);
        render(Buffer);
        QTRY_COMPARE(done.count(), 1);
        QCOMPARE(done.at(0).at(0).toInt(), int(MediaControl::Failure));
        QVERIFY(m_media->Mode() != MediaControl::ModePlaying);
    }

    void noSoundDevicePlaysSilentlyInRealTime()
    {
        // A real output: the device when there is one, else the silent stand-in. Either way
        // a song takes its own length to end.
        qputenv("SDL_AUDIODRIVER", "none-such-driver");
        AudioEngine::Options options;
        makeEngine(options);
        QVERIFY(
            AudioTest::WriteTone(path(u"half.wav"_s), 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 440, 0.5));
        QSignalSpy done(m_media.get(), &MediaControl::Done);
        QElapsedTimer clock;
        clock.start();
        play(path(u"half.wav"_s), u"WaveAudio"_s);
        QVERIFY(!m_engine->HasOutputDevice());
        QCOMPARE(m_media->Mode(), MediaControl::ModePlaying);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 5000);
        QVERIFY2(clock.elapsed() >= 450, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(done.at(0).at(0).toInt(), int(MediaControl::Successful));
        qunsetenv("SDL_AUDIODRIVER");
    }
};

QTEST_GUILESS_MAIN(TestMediaControl)
#include "tst_mediacontrol.moc"
