// SPDX-License-Identifier: GPL-3.0-or-later
// The play window under real input: a key press (XTEST) to the window's first
// damage, a key press to its song at the sound server, a burst of 500 keys,
// a long mashing run of keys and clicks, and a parent's hot key to its dialog. Prints figures; asserts
// nothing.
#include "../tests/audiotestutil.h"
#include "../tests/system/systemtest.h"
#include "bench/midifile.h"
#include "procstats.h"
#include "timedrecorder.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QThread>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sndfile.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

namespace {

constexpr xcb_keycode_t KeyX = 53;                               // no song
constexpr xcb_keycode_t KeyA = 38;                               // a beep
constexpr xcb_keycode_t KeyS = 39;                               // a beep at the end of a burst
constexpr xcb_keycode_t KeyV = 55, KeyShift = 50, KeyEscape = 9; // the display settings

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

class XServer
{
public:
    XServer() : m_connection(xcb_connect(nullptr, nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const xcb_query_extension_reply_t *damage = xcb_get_extension_data(m_connection, &xcb_damage_id);
        m_damageEvent = damage && damage->present ? damage->first_event + XCB_DAMAGE_NOTIFY : 0;
        free(xcb_damage_query_version_reply(m_connection, xcb_damage_query_version(m_connection, 1, 1),
                                            nullptr));
    }
    ~XServer() { xcb_disconnect(m_connection); }

    bool ok() const { return !xcb_connection_has_error(m_connection) && m_damageEvent != 0; }

    void watch(xcb_window_t window)
    {
        m_damage = xcb_generate_id(m_connection);
        xcb_damage_create(m_connection, m_damage, window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
        xcb_flush(m_connection);
    }

    // Forgets damage so far, so that the next change reports again.
    void rearm()
    {
        xcb_damage_subtract(m_connection, m_damage, XCB_NONE, XCB_NONE);
        free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
            free(event);
        }
    }

    void key(xcb_keycode_t key, bool flush = true)
    {
        xcb_test_fake_input(m_connection, XCB_KEY_PRESS, key, XCB_CURRENT_TIME, m_root, 0, 0, 0);
        xcb_test_fake_input(m_connection, XCB_KEY_RELEASE, key, XCB_CURRENT_TIME, m_root, 0, 0, 0);
        if (flush) {
            xcb_flush(m_connection);
        }
    }

    void click(int x, int y, int button)
    {
        xcb_test_fake_input(m_connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, m_root, int16_t(x),
                            int16_t(y), 0);
        xcb_test_fake_input(m_connection, XCB_BUTTON_PRESS, uint8_t(button), XCB_CURRENT_TIME, m_root, 0, 0,
                            0);
        xcb_test_fake_input(m_connection, XCB_BUTTON_RELEASE, uint8_t(button), XCB_CURRENT_TIME, m_root, 0, 0,
                            0);
        xcb_flush(m_connection);
    }

    void flush() { xcb_flush(m_connection); }

    void press(xcb_keycode_t key, bool down)
    {
        xcb_test_fake_input(m_connection, down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, key, XCB_CURRENT_TIME,
                            m_root, 0, 0, 0);
        xcb_flush(m_connection);
    }

    // Windows mapped from now on are reported to waitForMap.
    void watchMaps()
    {
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        rearm();
    }

    // Waits for a window to be mapped; the time it was, or -1.
    qint64 waitForMap(int timeoutMs) { return waitForEvent(XCB_MAP_NOTIFY, timeoutMs); }
    // Waits for damage; the time it arrived, or -1.
    qint64 waitForDamage(int timeoutMs) { return waitForEvent(m_damageEvent, timeoutMs); }

private:
    qint64 waitForEvent(uint8_t type, int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
                const bool wanted = (event->response_type & 0x7f) == type;
                free(event);
                if (wanted) {
                    return nowNs();
                }
            }
            QThread::usleep(100);
        }
        return -1;
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_root = 0;
    uint8_t m_damageEvent = 0;
    xcb_damage_damage_t m_damage = 0;
};

QByteArray optionFile()
{
    QByteArray bytes;
    for (int slot = 0; slot < 110; ++slot) {
        QByteArray song;
        if (slot == 60) {
            song = "beep.wav"; // A
        } else if (slot == 61) {
            song = "high.wav"; // S
        } else if (slot >= 39 && slot <= 48) {
            song = "tune.mid"; // the top letter row
        } else if (slot >= 76 && slot <= 82) {
            song = "tone.wav"; // the bottom letter row
        }
        bytes += song + "\r\n";
    }
    return bytes + "False\r\nFalse\r\n\r\n 150 \r\n 36 \r\n";
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv); // the harness takes screenshots
    const int mashSeconds = argc > 1 ? atoi(argv[1]) : 60;
    XServer x;
    if (!x.ok()) {
        fprintf(stderr, "needs an X server with the DAMAGE and XTEST extensions\n");
        return 1;
    }
    SystemTest::ZubeloCopy zubelo;
    AudioTest::writeTone(zubelo.filePath(QStringLiteral("beep.wav")), 48000, 1,
                         SF_FORMAT_WAV | SF_FORMAT_PCM_16, 880, 0.08);
    AudioTest::writeTone(zubelo.filePath(QStringLiteral("high.wav")), 48000, 1,
                         SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1760, 0.3);
    AudioTest::writeTone(zubelo.filePath(QStringLiteral("tone.wav")), 44100, 2,
                         SF_FORMAT_WAV | SF_FORMAT_PCM_16, 440, 1);
    MidiFile::Song tune;
    for (int i = 0; i < 8; ++i) {
        tune.notes.push_back({i * 240, 240, 60 + i * 2, 100, 0});
    }
    zubelo.writeFile(QStringLiteral("tune.mid"), MidiFile::write(tune));
    for (int i = 0; i < 4; ++i) {
        QImage picture(640, 480, QImage::Format_RGB32);
        picture.fill(QColor::fromHsv(i * 90, 200, 250));
        picture.save(zubelo.filePath(QStringLiteral("picture%1.jpg").arg(i)), "JPEG");
    }
    zubelo.writeFile(QStringLiteral("Option.dat"), optionFile());
    if (!zubelo.start() || !zubelo.focus()) {
        fprintf(stderr, "the program did not start\n");
        return 1;
    }
    x.watch(zubelo.window());
    const pid_t pid = pid_t(zubelo.process().processId());
    TimedRecorder recorder(96);
    recorder.start();

    // 1. Key to the window's first damage.
    QList<double> damageMs;
    for (int i = 0; i < 40; ++i) {
        x.rearm();
        const qint64 start = nowNs();
        x.key(KeyX);
        const qint64 damaged = x.waitForDamage(1000);
        if (damaged > 0) {
            damageMs << (damaged - start) / 1e6;
        }
        QThread::msleep(60);
    }
    printf("Key press to the window's first damage: median %.2f ms (%lld keys)\n",
           ProcStats::median(damageMs), static_cast<long long>(damageMs.size()));

    // 2. Key to its song at the sound server (after one song has opened the output stream).
    x.key(KeyA);
    QThread::msleep(2500);
    QList<double> soundMs;
    for (int i = 0; i < 30; ++i) {
        const size_t mark = recorder.sampleCount();
        const qint64 start = nowNs();
        x.key(KeyA);
        QThread::msleep(250);
        const qint64 loud = recorder.firstLoudSample(mark, 0.05f);
        if (loud >= 0) {
            soundMs << (recorder.arrivalOf(size_t(loud)) - start) / 1e6;
        }
    }
    printf("Key press to its song at the sound server: median %.2f ms (%lld keys)\n",
           ProcStats::median(soundMs), static_cast<long long>(soundMs.size()));

    // 3. A burst of 500 keys sent at once; the last one's song tells when all were handled.
    x.key(KeyX); // an ordinary key first, so the burst starts from a quiet box
    QThread::msleep(300);
    const size_t mark = recorder.sampleCount();
    const qint64 start = nowNs();
    for (int i = 0; i < 499; ++i) {
        x.key(KeyX, false);
    }
    x.key(KeyS);
    QThread::msleep(3000);
    const std::vector<float> heard = recorder.stop();
    // The last key's own pitch, in 10 ms windows moved on by 2 ms.
    qint64 lastKeyHeard = -1;
    for (size_t at = mark; at + 480 <= heard.size() && lastKeyHeard < 0; at += 96) {
        const std::vector<float> window(heard.begin() + qint64(at), heard.begin() + qint64(at) + 480);
        if (AudioTest::toneLevel(window, TimedRecorder::Rate, 1760) > 0.1) {
            lastKeyHeard = recorder.arrivalOf(at);
        }
    }
    printf("A burst of 500 keys handled (the last key's song heard) in: %.0f ms\n",
           lastKeyHeard >= 0 ? (lastKeyHeard - start) / 1e6 : -1.0);
    QThread::msleep(1000); // the burst's text settles before the mashing starts

    // 4. Mashing: 50 keys and 10 clicks a second; the slowest key to damage shows the longest stall.
    const long rssBefore = ProcStats::residentKiB(pid);
    const QRect window = zubelo.windowGeometry();
    QList<double> mashMs;
    const xcb_keycode_t letters[] = {24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 38,
                                     40, 41, 42, 52, 53, 54, 55, 56, 57, 58};
    QRandomGenerator random(42);
    QElapsedTimer run;
    run.start();
    for (int tick = 0; run.elapsed() < mashSeconds * 1000; ++tick) {
        const qint64 tickStart = nowNs();
        x.rearm();
        const qint64 keyAt = nowNs();
        x.key(letters[random.bounded(int(std::size(letters)))]);
        const qint64 damaged = x.waitForDamage(2000);
        if (damaged > 0) {
            mashMs << (damaged - keyAt) / 1e6;
            if (getenv("ZUBELO_BENCH_TRACE") && mashMs.last() > 30) {
                fprintf(stderr, "slow key at %.1f s (tick %d): %.1f ms\n", run.elapsed() / 1000.0, tick,
                        mashMs.last());
            }
        }
        if (tick % 5 == 4) {
            x.click(window.x() + random.bounded(window.width()),
                    window.y() + random.bounded(window.height() - 40), random.bounded(2) ? 1 : 3);
        }
        const qint64 spent = (nowNs() - tickStart) / 1000;
        if (spent < 20000) {
            QThread::usleep(unsigned(20000 - spent));
        }
    }
    std::sort(mashMs.begin(), mashMs.end());
    printf("Mashing %d s at 50 keys and 10 clicks a second: key to damage median %.2f ms, slowest %.2f ms\n",
           mashSeconds, ProcStats::median(mashMs), mashMs.isEmpty() ? -1.0 : mashMs.last());
    QThread::msleep(1500);
    printf("Resident memory: %.1f MiB before mashing, %.1f MiB after (%+.1f MiB)\n", rssBefore / 1024.0,
           ProcStats::residentKiB(pid) / 1024.0, (ProcStats::residentKiB(pid) - rssBefore) / 1024.0);
    printf("Still running after mashing: %s\n", zubelo.process().state() == QProcess::Running ? "yes" : "no");

    // 5. A parent's Shift+V, the letter 250 ms after Shift: from the letter to the dialog shown.
    x.watchMaps();
    QList<double> hotKeyMs;
    for (int i = 0; i < 10; ++i) {
        zubelo.focus(); // no window manager gives it back when the dialog closes
        x.press(KeyShift, true);
        QThread::msleep(250);
        x.rearm();
        const qint64 letterAt = nowNs();
        x.press(KeyV, true);
        const qint64 shown = x.waitForMap(2000);
        x.press(KeyV, false);
        x.press(KeyShift, false);
        if (shown > 0) {
            hotKeyMs << (shown - letterAt) / 1e6;
        }
        QThread::msleep(300);
        x.key(KeyEscape); // Cancel
        QThread::msleep(500);
    }
    printf("Shift, then V 250 ms later, to the display settings shown: median %.1f ms, slowest %.1f ms "
           "(%lld of 10)\n",
           ProcStats::median(hotKeyMs),
           hotKeyMs.isEmpty() ? -1.0 : *std::max_element(hotKeyMs.begin(), hotKeyMs.end()),
           static_cast<long long>(hotKeyMs.size()));
    zubelo.requestClose();
    zubelo.waitForExit();
    return 0;
}
