// SPDX-License-Identifier: GPL-3.0-or-later
// What a song costs: the time from Play() to its first sound leaving the
// engine and arriving at the sound server, the CPU share while a MIDI song
// plays and while idle, the time to open a ten-minute WAVE, and memory after
// a child holds keys down; then what the sound server going away and coming
// back costs. Prints figures; asserts nothing.
#include "../tests/audiotestutil.h"
#include "audioengine.h"
#include "bench/midifile.h"
#include "procstats.h"
#include "songplayer.h"
#include "sources.h"
#include "timedrecorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <sndfile.h>
#include <unistd.h>

namespace {

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::atomic<qint64> g_firstSoundNs{0};

void observe(void *, const float *out, int frames)
{
    if (g_firstSoundNs.load(std::memory_order_relaxed) != 0) {
        return;
    }
    for (int i = 0; i < frames * 2; ++i) {
        if (std::fabs(out[i]) > 0.01f) {
            g_firstSoundNs.store(nowNs(), std::memory_order_relaxed);
            return;
        }
    }
}

// Lets the engine's notices and timers run for a while, sleeping when there is nothing to do.
void runEvents(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void playSong(SongPlayer &player, const QString &path, SongPlayer::Kind kind)
{
    player.close();
    player.open(path, kind);
    player.play();
}

double cpuPercentOver(int ms)
{
    const double before = ProcStats::cpuSeconds(getpid());
    runEvents(ms);
    return 100.0 * (ProcStats::cpuSeconds(getpid()) - before) / (ms / 1000.0);
}

bool soundServer(const QString &command)
{
    return QProcess::execute(qEnvironmentVariable("ZUBELO_TEST_SOUND_SERVER"), {command}) == 0;
}

// The sound server stops while a song plays, keys come while it is away, it comes back.
void serverGoesAndComesBack(AudioEngine &engine, SongPlayer &player, const QString &beep, const QString &song)
{
    if (!qEnvironmentVariableIsSet("ZUBELO_TEST_SOUND_SERVER")) {
        fprintf(stderr, "no test sound server to restart (run under scripts/with-test-services.sh)\n");
        return;
    }
    playSong(player, song, SongPlayer::Kind::Wave);
    runEvents(500);
    soundServer(QStringLiteral("stop"));
    QElapsedTimer clock;
    clock.start();
    while (engine.isPlaying() && clock.elapsed() < 5000) {
        runEvents(1);
    }
    printf("Song ended after the sound server went away: %s, %.0f ms after it was gone\n",
           engine.isPlaying() ? "no" : "yes", double(clock.elapsed()));
    QList<double> playCallMs;
    for (int i = 0; i < 20; ++i) {
        clock.restart();
        playSong(player, beep, SongPlayer::Kind::Wave);
        playCallMs << clock.nsecsElapsed() / 1e6;
        runEvents(100);
    }
    std::sort(playCallMs.begin(), playCallMs.end());
    printf("Song start on the UI thread without a sound server: median %.3f ms, slowest %.3f ms (20 songs)\n",
           ProcStats::median(playCallMs), playCallMs.last());
    player.close();
    runEvents(10500);
    printf("CPU while idle without a sound server: %.2f %% of a core\n", cpuPercentOver(5000));

    soundServer(QStringLiteral("start"));
    g_firstSoundNs = 0;
    const qint64 start = nowNs();
    playSong(player, beep, SongPlayer::Kind::Wave);
    for (int i = 0; i < 200 && !g_firstSoundNs; ++i) {
        runEvents(10);
    }
    if (g_firstSoundNs) {
        printf("First song after the sound server came back: first sound leaves the engine after %.2f ms\n",
               (g_firstSoundNs - start) / 1e6);
    } else {
        printf("First song after the sound server came back: no sound within 2 s\n");
    }
    // Away while the output was closed (idle), SDL still started.
    player.close();
    runEvents(10500);
    soundServer(QStringLiteral("stop"));
    runEvents(500);
    printf("CPU while idle, the sound server gone after the output closed: %.2f %% of a core\n",
           cpuPercentOver(5000));
    soundServer(QStringLiteral("start"));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int plays = argc > 1 ? atoi(argv[1]) : 40;
    QTemporaryDir dir;
    const QString beep = dir.filePath(QStringLiteral("beep.wav"));
    AudioTest::writeTone(beep, 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 440, 0.05, 0.5);

    AudioEngine::Setup setup;
    setup.renderObserver = &observe;
    AudioEngine engine(setup);
    engine.synth().waitForFont();
    SongPlayer player(engine);

    // 1. Play to sound, with the output stream open (one song after another).
    TimedRecorder recorder(96); // 2 ms pieces
    const bool recording = recorder.start();
    if (!recording) {
        fprintf(stderr, "no sound server to record from: only the engine's side is measured\n");
    }
    QList<double> engineMs, serverMs;
    // One song first, so that the output stream is open and has met the sound server.
    playSong(player, beep, SongPlayer::Kind::Wave);
    runEvents(2500);
    for (int i = 0; i < plays; ++i) {
        g_firstSoundNs = 0;
        const size_t mark = recorder.sampleCount();
        const qint64 start = nowNs();
        playSong(player, beep, SongPlayer::Kind::Wave);
        runEvents(150);
        if (g_firstSoundNs) {
            engineMs << (g_firstSoundNs - start) / 1e6;
        }
        const qint64 loud = recording ? recorder.firstLoudSample(mark, 0.05f) : -1;
        if (loud >= 0) {
            serverMs << (recorder.arrivalOf(size_t(loud)) - start) / 1e6;
        }
    }
    printf("Play to first sound leaving the engine: median %.2f ms (%lld plays)\n",
           ProcStats::median(engineMs), static_cast<long long>(engineMs.size()));
    if (recording) {
        printf("Play to first sound at the sound server: median %.2f ms (%lld plays)\n",
               ProcStats::median(serverMs), static_cast<long long>(serverMs.size()));
    }

    // 2. The first song after an idle spell, when the output stream has closed and opens again.
    QList<double> coldEngine, coldServer;
    for (int i = 0; i < 3; ++i) {
        player.close();
        runEvents(10500);
        if (engine.isOutputOpen()) {
            printf("the output stream is still open after 10.5 idle seconds\n");
        }
        g_firstSoundNs = 0;
        const size_t mark = recorder.sampleCount();
        const qint64 start = nowNs();
        playSong(player, beep, SongPlayer::Kind::Wave);
        runEvents(300);
        coldEngine << (g_firstSoundNs ? (g_firstSoundNs - start) / 1e6 : -1);
        const qint64 loud = recording ? recorder.firstLoudSample(mark, 0.05f) : -1;
        coldServer << (loud >= 0 ? (recorder.arrivalOf(size_t(loud)) - start) / 1e6 : -1);
    }
    printf("First song after 10 idle seconds (output reopened): engine %.2f ms, sound server %.2f ms (median "
           "of 3)\n",
           ProcStats::median(coldEngine), ProcStats::median(coldServer));
    recorder.stop();
    player.close();
    runEvents(10500);
    printf("CPU while idle (output closed: %s): %.2f %% of a core\n", engine.isOutputOpen() ? "no" : "yes",
           cpuPercentOver(5000));

    // 3. CPU while a busy MIDI song plays.
    MidiFile::Song song;
    for (int bar = 0; bar < 40; ++bar) {
        for (int n = 0; n < 8; ++n) {
            song.notes.push_back({bar * 960 + n * 120, 240, 60 + (n * 5 + bar) % 24, 100, 0});
            song.notes.push_back({bar * 960 + n * 120, 240, 48 + (n * 3) % 12, 90, 0});
        }
    }
    const QString midi = dir.filePath(QStringLiteral("busy.mid"));
    {
        QFile file(midi);
        file.open(QIODevice::WriteOnly);
        file.write(MidiFile::write(song));
    }
    playSong(player, midi, SongPlayer::Kind::Midi);
    runEvents(500);
    printf("CPU while a MIDI song plays: %.2f %% of a core\n", cpuPercentOver(5000));
    player.close();

    // 4. Opening a ten-minute WAVE against a one-second one.
    const QString longWave = dir.filePath(QStringLiteral("ten-minutes.wav"));
    AudioTest::writeTone(longWave, 44100, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 330, 600, 0.3);
    QList<double> openLong, openShort;
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer clock;
        clock.start();
        auto source = openWaveSource(longWave);
        openLong << clock.nsecsElapsed() / 1e6;
        clock.restart();
        auto shortSource = openWaveSource(beep);
        openShort << clock.nsecsElapsed() / 1e6;
    }
    printf("Open a ten-minute WAVE: median %.3f ms (a short one: %.3f ms)\n", ProcStats::median(openLong),
           ProcStats::median(openShort));

    // 5. A child holding keys down: 30 songs a second for 30 seconds.
    const long rssBefore = ProcStats::residentKiB(getpid());
    for (int i = 0; i < 30 * 30; ++i) {
        if (i % 2) {
            playSong(player, beep, SongPlayer::Kind::Wave);
        } else {
            playSong(player, midi, SongPlayer::Kind::Midi);
        }
        runEvents(33);
    }
    player.close();
    runEvents(200);
    printf("30 songs a second for 30 s: resident memory grew by %.2f MiB\n",
           (ProcStats::residentKiB(getpid()) - rssBefore) / 1024.0);

    // 6. The sound server restarts.
    serverGoesAndComesBack(engine, player, beep, longWave);
    return 0;
}
