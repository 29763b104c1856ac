// SPDX-License-Identifier: GPL-3.0-or-later
// The song player on an offline engine: what a song sounds like, when it ends, and how the play
// window hears that it ended.
#include "audioengine.h"
#include "audiotestutil.h"
#include "privateservices.h"
#include "songplayer.h"

#include <QtTest>
#include <sndfile.h>

using namespace Qt::StringLiterals;
using Ending = SongPlayer::Ending;
using Kind = SongPlayer::Kind;
using Mode = SongPlayer::Mode;
enum class Then { Nothing, Close, Rewind, PlayAgain, NewSong }; // what happens 0.9 s into a song

class TestSongPlayer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir; // the WAVE files; the MIDI songs come from the build
    std::unique_ptr<AudioEngine> m_engine;
    std::unique_ptr<SongPlayer> m_player;
    QList<Ending> m_endings; // every Ended(), in order

    void makeEngine(AudioEngine::Output output, const QStringList &fonts = Synthesizer::defaultSoundFonts())
    {
        m_engine = std::make_unique<AudioEngine>(AudioEngine::Setup{output, 128, 10000, fonts});
        m_player = std::make_unique<SongPlayer>(*m_engine);
        m_endings.clear();
        connect(m_player.get(), &SongPlayer::ended, this, [this](Ending how) { m_endings << how; });
        m_engine->synth().waitForFont();
    }
    // As the play window plays a song, of the kind its name tells (Open() closes the one before).
    void play(const QString &name)
    {
        const Kind kind = SongPlayer::kindOfFile(name).value(); // the tests' songs are all of a kind
        m_player->open(
            kind == Kind::Midi ? QStringLiteral(ZUBELO_TEST_SONGS "/") + name : m_dir.filePath(name), kind);
        m_player->play();
    }
    // Both channels interleaved, in whole buffers of 128 frames.
    std::vector<float> render(int frames)
    {
        std::vector<float> out(size_t((frames + 127) / 128 * 256));
        for (size_t done = 0; done < out.size(); done += 256) {
            m_engine->render(out.data() + done, 128);
        }
        return out;
    }

private slots:
    void initTestCase()
    {
        struct Tone
        {
            QString name;
            int rate, channels, format;
            double seconds;
        };
        for (const auto &[name, rate, channels, format, length] :
             {Tone{u"short.wav"_s, 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0.8},
              {u"long.wav"_s, 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 3.0},
              {u"u8.wav"_s, 22050, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1.0},
              {u"24BIT.Wav"_s, 96000, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_24, 1.0}}) {
            QVERIFY(AudioTest::writeTone(m_dir.filePath(name), rate, channels, format, 440, length));
        }
    }
    void init() { makeEngine(AudioEngine::Output::Offline); }

    // A song of 440 Hz, 1 s unless it is short or long; 0.9 s into it a step, a new song or
    // nothing (its end or failure comes before that, but is delivered later); then its one
    // Ended() and the player's mode.
    void songsTellHowTheyEnded_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("playing"); // at 0.9 s
        QTest::addColumn<Then>("then");
        QTest::addColumn<Ending>("how");
        QTest::addColumn<Mode>("mode"); // at last
        const bool on = true, over = false;
        const auto row = [](const char *tag, const QString &file, bool playing, Then then, Ending how,
                            Mode mode) { QTest::newRow(tag) << file << playing << then << how << mode; };
        row("22050 Hz mono 8-bit", u"u8.wav"_s, on, Then::Nothing, Ending::ReachedItsEnd, Mode::Stopped);
        row("96 kHz stereo 24-bit, named in capitals", u"24BIT.Wav"_s, on, Then::Nothing,
            Ending::ReachedItsEnd, Mode::Stopped);
        row("midi", u"a4.mid"_s, on, Then::Nothing, Ending::ReachedItsEnd, Mode::Stopped);
        row("midi closed", u"long.mid"_s, on, Then::Close, Ending::Aborted, Mode::NotOpen);
        row("rewound", u"long.wav"_s, on, Then::Rewind, Ending::Aborted, Mode::Stopped);
        // Were an overtaken end taken for reaching it, the play window would repeat the wrong song.
        row("new song at its end", u"short.wav"_s, over, Then::NewSong, Ending::Aborted, Mode::Playing);
        row("played again", u"long.wav"_s, on, Then::PlayAgain, Ending::Superseded, Mode::Playing);
        row("missing file", u"none.wav"_s, over, Then::Nothing, Ending::Failed, Mode::NotOpen);
        row("damaged midi", u"damaged.mid"_s, over, Then::Nothing, Ending::Failed, Mode::Stopped);
    }
    void songsTellHowTheyEnded()
    {
        QFETCH(QString, file);
        QFETCH(bool, playing);
        QFETCH(Then, then);
        QFETCH(Ending, how);
        QFETCH(Mode, mode);
        QSignalSpy ended(m_engine.get(), &AudioEngine::ended);
        play(file);
        const std::vector<float> heard = render(48000 * 9 / 10);
        // Both channels side by side sound as the tone at twice the rate.
        QCOMPARE(AudioTest::pitchOfTone(heard, 96000, 400, 480), how == Ending::Failed ? 0.0 : 440.0);
        QCOMPARE(m_engine->isPlaying(), playing);
        if (!playing && then != Then::Nothing) {
            QVERIFY(ended.count() || ended.wait()); // the end is in; its Ended() is not yet delivered
        }
        switch (then) {
        case Then::Nothing: break;
        case Then::Close: m_player->close(); break;
        case Then::Rewind: m_player->rewind(); break;
        case Then::PlayAgain: m_player->play(); break;
        case Then::NewSong: play(u"long.wav"_s); break;
        }
        // Silent at once when closed or rewound; a failed song never sounded.
        const bool sounding = then != Then::Close && then != Then::Rewind && how != Ending::Failed;
        QCOMPARE(AudioTest::peak(render(128)) > 0.001, sounding);
        render(48000 / 6);
        QTRY_VERIFY(!m_endings.isEmpty());
        QTest::qWait(20); // no other Ended() comes
        QCOMPARE(m_endings, QList<Ending>{how});
        QCOMPARE(m_player->currentMode(), mode);
    }

    // A resampled song keeps its whole length: a second of tone sounds to its last 10 ms, then ends.
    // The song is 22050 Hz, played at the engine's 48 kHz.
    void resampledSongKeepsItsLength()
    {
        play(u"u8.wav"_s);
        const std::vector<float> second = render(48000);
        QVERIFY(AudioTest::peak(std::vector<float>(second.end() - 960, second.end())) > 0.3);
        QCOMPARE(AudioTest::peak(render(256)), 0.0);
    }

    // Every frame once, in order, whether the song fits in what is read ahead or not; then
    // silence and the end, with the buffer of the last frame; all again after Rewind().
    void waveEndsRightAfterItsLastFrame_data()
    {
        QTest::addColumn<int>("frames");
        QTest::newRow("shorter than what Open reads") << 200;
        QTest::newRow("longer than the read-ahead") << 100001;
    }
    void waveEndsRightAfterItsLastFrame()
    {
        QFETCH(int, frames);
        std::vector<float> samples(size_t(frames) * 2);
        for (size_t i = 0; i < samples.size(); ++i) { // never silent, exact in float, left unlike right
            samples[i] = float(i / 2 % 1000 + 1) / (i % 2 ? -1024.0f : 1024.0f);
        }
        QVERIFY(AudioTest::writeSamples(m_dir.filePath(u"song.wav"_s), 48000, 2,
                                        SF_FORMAT_WAV | SF_FORMAT_FLOAT, samples));
        samples.resize(size_t((frames + 127) / 128 * 256));           // silence after the last frame
        const auto last = samples.begin() + (frames - 1) / 128 * 256; // the last buffer
        play(u"song.wav"_s);
        for (int round = 1; round <= 2; ++round) {
            QVERIFY(render(int(last - samples.begin()) / 2) == std::vector<float>(samples.begin(), last));
            QVERIFY(render(1) == std::vector<float>(last, samples.end()));
            QTRY_COMPARE(m_endings, QList<Ending>(round, Ending::ReachedItsEnd));
            m_player->rewind(); // silent until played: the playback rows pin it
            m_player->play();
        }
    }

    // MIDI fails without a sound font; without a device a silent stand-in plays a WAVE
    // that still takes its own length to end.
    void songsEndWithoutASoundFontOrADevice()
    {
        qputenv("SDL_AUDIODRIVER", "none-such-driver");
        const auto unset = qScopeGuard([] { qunsetenv("SDL_AUDIODRIVER"); });
        makeEngine(AudioEngine::Output::Device, {m_dir.filePath(u"none.sf2"_s)});
        play(u"a4.mid"_s);
        QTRY_COMPARE(m_endings, QList<Ending>{Ending::Failed});
        play(u"u8.wav"_s);
        QTest::qWait(900); // not over before its time
        QVERIFY(!m_engine->hasOutputDevice() && m_endings.size() == 1);
        QTRY_COMPARE(m_endings, (QList<Ending>{Ending::Failed, Ending::ReachedItsEnd}));
    }

    // A song whose sound server goes away ends as a song that cannot play, and nothing stays playing.
    void songEndsWhenItsSoundServerGoes()
    {
        PRIVATE_SERVICES_OR_SKIP(true);
        const QString server = qEnvironmentVariable("ZUBELO_TEST_SOUND_SERVER");
        makeEngine(AudioEngine::Output::Device);
        play(u"long.wav"_s);
        QTRY_VERIFY(m_engine->hasOutputDevice());
        QCOMPARE(QProcess::execute(server, {u"stop"_s}), 0);
        const auto restart = qScopeGuard([&] { QProcess::execute(server, {u"start"_s}); });
        QTRY_COMPARE(m_endings, QList<Ending>{Ending::Failed});
        QVERIFY(m_player->currentMode() != Mode::Playing && !m_engine->hasOutputDevice());
    }
};

QTEST_GUILESS_MAIN(TestSongPlayer)
#include "tst_songplayer.moc"
