// SPDX-License-Identifier: GPL-3.0-or-later
// The media control on an offline engine: what a song sounds like, when it ends, and which
// notices the play window gets.
#include "audiotestutil.h"
#include "platform/media/audioengine.h"
#include "platform/media/mediacontrol.h"

#include <QtTest>
#include <sndfile.h>

using namespace Qt::StringLiterals;
using MC = MediaControl;

class TestMediaControl : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir; // the WAVE files; the MIDI songs come from the build
    std::unique_ptr<AudioEngine> m_engine;
    std::unique_ptr<MediaControl> m_media;
    QList<int> m_codes; // every notice, in order

    void makeEngine(AudioEngine::Output output, const QStringList &fonts = Synthesizer::DefaultSoundFonts())
    {
        m_engine = std::make_unique<AudioEngine>(AudioEngine::Options{output, 128, 10000, fonts});
        m_media = std::make_unique<MediaControl>(*m_engine);
        m_media->setNotify(true);
        m_codes.clear();
        connect(m_media.get(), &MC::Done, this, [this](int code) { m_codes << code; });
        m_engine->Synth().WaitForFont();
    }
    // As the play window plays a song ("Open" closes the one before).
    void play(const QString &name)
    {
        const bool midi = name.endsWith(u".mid"_s);
        m_media->setFileName(midi ? QStringLiteral(ZUBELO_TEST_SONGS "/") + name : m_dir.filePath(name));
        m_media->setDeviceType(midi ? u"Sequencer"_s : u"WaveAudio"_s);
        m_media->setCommand(u"Open"_s);
        m_media->setCommand(u"Play"_s);
    }
    // Both channels interleaved, in whole buffers of 128 frames.
    std::vector<float> render(int frames)
    {
        std::vector<float> out(size_t((frames + 127) / 128 * 256));
        for (size_t done = 0; done < out.size(); done += 256) {
            m_engine->Render(out.data() + done, 128);
        }
        return out;
    }

private slots:
    void initTestCase()
    {
        for (auto [name, rate, channels, format, length] :
             {std::tuple{u"short.wav"_s, 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0.8},
              {u"long.wav"_s, 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 3.0},
              {u"u8.wav"_s, 22050, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1.0},
              {u"24bit.wav"_s, 96000, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_24, 1.0}}) {
            QVERIFY(AudioTest::WriteTone(m_dir.filePath(name), rate, channels, format, 440, length));
        }
    }
    void init() { makeEngine(AudioEngine::Output::Offline); }

    // A song of 440 Hz, 1 s unless it is short or long; 0.9 s into it a command, a new song or
    // nothing (its end or failure notices come before that, but are delivered later); then its
    // one notice.
    void playback_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("playing"); // at 0.9 s
        QTest::addColumn<QString>("then");
        QTest::addColumn<int>("code");
        QTest::newRow("22050 Hz mono 8-bit") << u"u8.wav"_s << true << QString() << 1;
        QTest::newRow("96 kHz stereo 24-bit") << u"24bit.wav"_s << true << QString() << 1;
        QTest::newRow("midi") << u"a4.mid"_s << true << QString() << 1;
        QTest::newRow("wave closed") << u"long.wav"_s << true << u"Close"_s << 4;
        QTest::newRow("midi closed") << u"long.mid"_s << true << u"Close"_s << 4;
        QTest::newRow("closed at its end") << u"short.wav"_s << false << u"Close"_s << 4;
        // Were the overtaken notice a success, the play window would repeat the new song.
        QTest::newRow("new song at its end") << u"short.wav"_s << false << u"long.wav"_s << 4;
        QTest::newRow("played again") << u"long.wav"_s << true << u"Play"_s << 2;
        QTest::newRow("missing file") << u"none.wav"_s << false << QString() << 8;
        QTest::newRow("damaged midi") << u"damaged.mid"_s << false << QString() << 8;
    }
    void playback()
    {
        QFETCH(QString, file);
        QFETCH(bool, playing);
        QFETCH(QString, then);
        QFETCH(int, code);
        QSignalSpy ended(m_engine.get(), &AudioEngine::Ended);
        play(file);
        const std::vector<float> heard = render(48000 * 9 / 10);
        // Both channels side by side sound as the tone at twice the rate.
        QCOMPARE(AudioTest::PitchOfTone(heard, 96000, 400, 480), code == MC::Failure ? 0.0 : 440.0);
        QCOMPARE(m_engine->IsPlaying(), playing);
        if (!playing && !then.isEmpty()) {
            QVERIFY(ended.count() || ended.wait()); // the end is in; its notice is not yet delivered
        }
        then.endsWith(u".wav"_s) ? play(then) : m_media->setCommand(then);
        // Silent at once when closed; a failed song never sounded.
        const bool sounding = then != u"Close"_s && code != MC::Failure;
        QCOMPARE(AudioTest::Peak(render(128)) > 0.001, sounding);
        render(48000 / 6);
        QTRY_VERIFY(!m_codes.isEmpty());
        QTest::qWait(20); // no other notice comes
        QCOMPARE(m_codes, QList<int>{code});
        QCOMPARE(m_media->Mode() == MC::ModePlaying, sounding && code != MC::Successful);
    }

    // A resampled song keeps its whole length: a second of tone sounds to its last 10 ms, then ends.
    void resampledSongKeepsItsLength_data()
    {
        QTest::addColumn<int>("rate");
        for (int rate : {8000, 11025, 44100}) {
            QTest::addRow("%d Hz", rate) << rate;
        }
    }
    void resampledSongKeepsItsLength()
    {
        QFETCH(int, rate);
        QVERIFY(AudioTest::WriteTone(m_dir.filePath(u"r.wav"_s), rate, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
                                     440, 1));
        play(u"r.wav"_s);
        const std::vector<float> second = render(48000);
        QVERIFY(AudioTest::Peak(std::vector<float>(second.end() - 960, second.end())) > 0.3);
        QCOMPARE(AudioTest::Peak(render(256)), 0.0);
    }

    // Every frame once, in order, whether the song fits in what is read ahead or not; then
    // silence and the end, with the buffer of the last frame; all again after "Prev".
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
        QVERIFY(AudioTest::WriteSamples(m_dir.filePath(u"song.wav"_s), 48000, 2,
                                        SF_FORMAT_WAV | SF_FORMAT_FLOAT, samples));
        samples.resize(size_t((frames + 127) / 128 * 256));           // silence after the last frame
        const auto last = samples.begin() + (frames - 1) / 128 * 256; // the last buffer
        play(u"song.wav"_s);
        for (int round = 1; round <= 2; ++round) {
            QVERIFY(render(int(last - samples.begin()) / 2) == std::vector<float>(samples.begin(), last));
            QVERIFY(render(1) == std::vector<float>(last, samples.end()));
            QTRY_COMPARE(m_codes, QList<int>(round, MC::Successful));
            m_media->setCommand(u"Prev"_s);
            QCOMPARE(AudioTest::Peak(render(128)), 0.0); // rewound, not playing
            m_media->setCommand(u"Play"_s);
        }
    }

    // MIDI fails without a sound font; without a device a silent stand-in plays a WAVE
    // that still takes its own length to end.
    void withoutASoundFontOrADevice()
    {
        qputenv("SDL_AUDIODRIVER", "none-such-driver");
        makeEngine(AudioEngine::Output::Device, {m_dir.filePath(u"none.sf2"_s)});
        play(u"a4.mid"_s);
        QTRY_COMPARE(m_codes, QList<int>{MC::Failure});
        play(u"u8.wav"_s);
        QTest::qWait(900); // not over before its time
        QVERIFY(!m_engine->HasOutputDevice() && m_codes.size() == 1);
        QTRY_COMPARE(m_codes, (QList<int>{MC::Failure, MC::Successful}));
        qunsetenv("SDL_AUDIODRIVER");
    }

    // A song whose sound server goes away ends as a song that cannot play, and nothing stays playing.
    void songEndsWhenItsSoundServerGoes()
    {
        const QString socket = m_dir.filePath(u"native"_s);
        QProcess server; // a server of this test's own, killed as a crash would
        server.start(u"pulseaudio"_s,
                     {u"-n"_s, u"--daemonize=no"_s, u"--use-pid-file=no"_s, u"-L"_s, u"module-null-sink"_s,
                      u"-L"_s, u"module-native-protocol-unix auth-anonymous=1 socket="_s + socket});
        QTRY_VERIFY(QFile::exists(socket));
        const QByteArray before = qgetenv("PULSE_SERVER");
        qputenv("PULSE_SERVER", "unix:" + socket.toLocal8Bit());
        makeEngine(AudioEngine::Output::Device);
        play(u"long.wav"_s);
        QTRY_VERIFY(m_engine->HasOutputDevice());
        server.kill();
        QTRY_COMPARE(m_codes, QList<int>{MC::Failure});
        QVERIFY(m_media->Mode() != MC::ModePlaying && !m_engine->HasOutputDevice());
        qputenv("PULSE_SERVER", before);
    }
};

QTEST_GUILESS_MAIN(TestMediaControl)
#include "tst_mediacontrol.moc"
