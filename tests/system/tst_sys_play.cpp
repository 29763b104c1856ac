// SPDX-License-Identifier: GPL-3.0-or-later
// The built program with real keys, a real X server and a real sound server:
// what only they show (drawing, sound heard, the speaker volume, signals, and a
// window manager's view of the window and of the keyboard lock).
#include "../audiotestutil.h"
#include "../privateservices.h"
#include "settings.h"
#include "systemtest.h"

#include <QtTest>
#include <X11/XKBlib.h>
#include <csignal>
#include <sndfile.h>
#include <xcb/xcb.h>

using namespace Qt::StringLiterals;
using SystemTest::SoundRecorder;
using SystemTest::xdo;
using SystemTest::ZubeloCopy;
enum class Take { Kept, Cancelled, Killed, NoServer, ServerGone }; // how a parent's take ends

namespace {

const QString Sink = qEnvironmentVariable("ZUBELO_TEST_SINK", u"zubelo_sink"_s);

int sinkVolume()
{
    const QByteArray out = SystemTest::output(u"pactl"_s, {u"get-sink-volume"_s, Sink});
    const QRegularExpressionMatch m =
        QRegularExpression(u"front-left: (\\d+)"_s).match(QString::fromUtf8(out));
    return m.hasMatch() ? m.captured(1).toInt() : -1; // no sound server, no volume
}

// A sound stream of this process plays into the sound server at this address (or records from it).
bool playsSound(qint64 pid, const QString &server = qEnvironmentVariable("PULSE_SERVER"),
                const QString &streams = u"sink-inputs"_s)
{
    return SystemTest::output(u"pactl"_s, {u"--server="_s + server, u"list"_s, streams})
        .contains("application.process.id = \"" + QByteArray::number(pid) + '"');
}

// Sound from a loud start on holds this pitch: in two or more of five pieces of 0.1 s after the attack it is
// far stronger than the semitones either side (a piece that a busy machine dropped spoils only its own).
bool atPitch(SoundRecorder &recorder, qint64 from, double hz)
{
    const std::vector<float> all = recorder.samples();
    const qint64 piece = SoundRecorder::Rate / 10;
    if (from < 0 || all.size() < size_t(from + 6 * piece)) {
        return false;
    }
    int votes = 0;
    for (auto start = all.begin() + from + piece / 2; start < all.begin() + from + 5 * piece;
         start += piece) {
        const std::vector<float> sound(start, start + piece);
        const double level = AudioTest::toneLevel(sound, SoundRecorder::Rate, hz);
        votes += level > 2 * AudioTest::toneLevel(sound, SoundRecorder::Rate, hz * 1.0595)
                 && level > 2 * AudioTest::toneLevel(sound, SoundRecorder::Rate, hz / 1.0595);
    }
    return votes >= 2;
}

QByteArray xprop(const QStringList &arguments)
{
    return SystemTest::output(u"xprop"_s, arguments);
}

quint32 activeWindow()
{
    return SystemTest::output(u"xdotool"_s, {u"getactivewindow"_s}).trimmed().toUInt();
}

bool maximised(const ZubeloCopy &zubelo)
{
    return xprop({u"-id"_s, QString::number(zubelo.window()), u"_NET_WM_STATE"_s})
        .contains("_NET_WM_STATE_MAXIMIZED_VERT");
}

// Starts the copy and waits until the window manager shows it filling the screen, active.
bool startsMaximised(ZubeloCopy &zubelo, const QStringList &arguments = {})
{
    return zubelo.start(arguments)
           && QTest::qWaitFor([&] { return maximised(zubelo) && activeWindow() == zubelo.window(); });
}

xcb_connection_t *x11()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

// Takes the keyboard as another program (a screen locker) would; true when another client holds it
// already, and so refuses it (an X error counts as a keyboard nobody holds).
bool takeKeyboard()
{
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x11())).data->root;
    xcb_grab_keyboard_reply_t *reply = xcb_grab_keyboard_reply(
        x11(), xcb_grab_keyboard(x11(), 0, root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        nullptr);
    const bool held = reply && reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
    free(reply);
    return held;
}

// Caps Lock is LockMask, Num Lock Mod2Mask.
unsigned lockedModifiers()
{
    XkbStateRec state;
    Display *display = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
    return XkbGetState(display, XkbUseCoreKbd, &state) == Success ? state.locked_mods : 0xffff;
}

void releaseKeyboard()
{
    xcb_ungrab_keyboard(x11(), XCB_CURRENT_TIME);
    xcb_flush(x11());
}

bool keyboardHeldElsewhere()
{
    const bool held = takeKeyboard();
    releaseKeyboard();
    return held;
}

// As "x:0 y:0".
QByteArray mouseLocation()
{
    return SystemTest::output(u"xdotool"_s, {u"getmouselocation"_s}).split(' ').mid(0, 2).join(' ');
}

// Pixels unlike the first one: text on a plain background.
int inkIn(const QRect &area)
{
    const QImage image = SystemTest::grabScreen(area);
    int count = 0;
    for (int i = 0; i < image.width() * image.height(); ++i) {
        count += image.pixel(i % image.width(), i / image.width()) != image.pixel(0, 0);
    }
    return count;
}

bool startWindowManager(QProcess &manager)
{
    // A manager that was killed leaves its mark on the root window: the new one makes its own.
    xprop({u"-root"_s, u"-remove"_s, u"_NET_SUPPORTING_WM_CHECK"_s});
    manager.start(u"openbox"_s, {u"--sm-disable"_s});
    return QTest::qWaitFor([] {
        return xprop({u"-root"_s, u"_NET_SUPPORTING_WM_CHECK"_s}).contains("window id");
    });
}

// Stops or starts the test command's sound server, as its own start-up did.
bool soundServer(const QString &command)
{
    return SystemTest::run(qEnvironmentVariable("ZUBELO_TEST_SOUND_SERVER"), {command});
}

bool clickSlider(const QRect &window)
{
    return xdo(u"mousemove %1 %2"_s.arg(window.right() - 81).arg(window.bottom() - 11)) && xdo(u"click 1"_s);
}

} // namespace

class TestSystemPlay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { PRIVATE_SERVICES_OR_SKIP(true); }
    void init()
    {
        QVERIFY(soundServer(u"start"_s)); // after a test that stopped it and failed
        QVERIFY(SystemTest::run(u"pactl"_s, {u"set-sink-volume"_s, Sink, u"64999"_s}));
    }

    void keysPaintAndSing()
    {
        SoundRecorder recorder;
        QVERIFY(recorder.start());
        ZubeloCopy zubelo;
        // A short tone at 44.1 kHz where the sound server runs at 48 kHz.
        QVERIFY(AudioTest::writeTone(zubelo.filePath(u"tone.wav"_s), 44100, 1,
                                     SF_FORMAT_WAV | SF_FORMAT_PCM_16, 440, 0.3));
        QVERIFY(zubelo.writeFile(u"Option.dat"_s, SystemTest::optionFile({{60, "tone.wav"}})));
        QVERIFY(zubelo.start() && zubelo.focus());
        QTRY_COMPARE(sinkVolume(), 64990); // start-up reads 6499 tenths and writes them back

        // Typed letters appear.
        const QRect textBox = zubelo.windowGeometry().adjusted(0, 0, 0, -40);
        const int before = SystemTest::darkPixels(SystemTest::grabScreen(textBox));
        QVERIFY(xdo(u"type --delay 30 wo"_s)); // no Shift: Shift+M would open a dialog
        QTRY_VERIFY(SystemTest::darkPixels(SystemTest::grabScreen(textBox)) > before + 200);

        // The song is heard at its pitch.
        QVERIFY(xdo(u"key a"_s));
        QTRY_VERIFY(atPitch(recorder, recorder.firstLoud(0.2f), 440));

        // A second copy of the same folder ends by itself.
        QVERIFY(SystemTest::run(zubelo.filePath(u"zubelo"_s), {}, nullptr, 15000));
        QCOMPARE(zubelo.process().state(), QProcess::Running); // the first copy is untouched
    }

    void quitLeavesTheSettingsAlone_data()
    {
        QTest::addColumn<int>("signalNumber"); // 0: a close request
        QTest::addColumn<bool>("dialogOpen");
        QTest::newRow("close request") << 0 << false;
        QTest::newRow("kill with the music dialog open") << SIGTERM << true;
    }
    void quitLeavesTheSettingsAlone()
    {
        QFETCH(int, signalNumber);
        QFETCH(bool, dialogOpen);
        // Sizes written as no dialog writes them, so any save would show.
        const QByteArray settings = SystemTest::optionFile({{60, "ClickLeft.mid"}}).replace(" 36 ", "36.0");
        ZubeloCopy zubelo;
        QVERIFY(zubelo.writeFile(u"Option.dat"_s, settings));
        QVERIFY(zubelo.start() && zubelo.focus() && xdo(u"key a"_s));
        QTRY_VERIFY(playsSound(zubelo.process().processId())); // the sound library runs
        if (dialogOpen) {
            QVERIFY(xdo(u"key shift+m"_s));
            QVERIFY(SystemTest::waitForWindow(u"曲の設定"_s));
        }
        QVERIFY(signalNumber ? ::kill(pid_t(zubelo.process().processId()), signalNumber) == 0
                             : zubelo.requestClose());
        QVERIFY2(zubelo.waitForExit(5000), "the request was ignored");
        QVERIFY(zubelo.process().exitStatus() == QProcess::NormalExit && zubelo.process().exitCode() == 0);
        QCOMPARE(SystemTest::output(u"cat"_s, {zubelo.filePath(u"Option.dat"_s)}), settings);
    }

    // The sound server restarts (an update, a crash) while a song plays and keys keep coming, or it
    // starts only after the toy: the first key heard once it is back, and the slider sets its volume.
    void soundAndVolumeComeBack_data()
    {
        QTest::addColumn<bool>("serverAtStart");
        QTest::newRow("restarted while the toy runs") << true;
        QTest::newRow("started after the toy") << false;
    }
    void soundAndVolumeComeBack()
    {
        QFETCH(bool, serverAtStart);
        ZubeloCopy zubelo;
        QVERIFY(AudioTest::writeTone(zubelo.filePath(u"tone.wav"_s), 48000, 1,
                                     SF_FORMAT_WAV | SF_FORMAT_PCM_16, 440, 3));
        QVERIFY(zubelo.writeFile(u"Option.dat"_s, SystemTest::optionFile({{60, "tone.wav"}})));
        QVERIFY(serverAtStart || soundServer(u"stop"_s));
        QVERIFY(zubelo.start());
        if (!serverAtStart) { // no mixer either: said once, in a box before the window
            QVERIFY2(zubelo.windowGeometry().width() != 536, "no message came first");
            QVERIFY(xdo(u"key Return"_s));
            QTRY_VERIFY(zubelo.findWindow() && zubelo.windowGeometry().width() == 536);
        }
        QVERIFY(zubelo.focus() && xdo(u"key a"_s));
        if (serverAtStart) { // the song plays when the server goes
            QTRY_VERIFY(playsSound(zubelo.process().processId()));
            QVERIFY(soundServer(u"stop"_s));
            QVERIFY(xdo(u"key a"_s)); // and the slider, with no mixer behind it
            QVERIFY(clickSlider(zubelo.windowGeometry()) && xdo(u"key Home"_s));
        }
        QVERIFY(soundServer(u"start"_s));
        SoundRecorder recorder;
        QVERIFY(recorder.start());
        QProcess keys; // pressed while the recording goes on
        const size_t pressed = recorder.samples().size();
        keys.start(u"xdotool"_s, u"key --delay 100 a a a a a a a a a a a a"_s.split(u' '));
        QTRY_VERIFY(recorder.firstLoud(0.2f, pressed) >= 0);
        QVERIFY2(recorder.firstLoud(0.2f, pressed) - qint64(pressed) < SoundRecorder::Rate,
                 "heard a second or more after the first key");
        QVERIFY(keys.waitForFinished());
        // A new server starts at full volume, 65536; the slider's top is 6553 tenths.
        QVERIFY(clickSlider(zubelo.windowGeometry()) && xdo(u"key End"_s));
        QTRY_COMPARE(sinkVolume(), 65530);
        QCOMPARE(zubelo.process().state(), QProcess::Running);
    }

    // A parent records the A key's sound from the default microphone (the sink's monitor, with a tone played
    // into it), and after OK the key plays it, trimmed. The toy opens no microphone but for 録音. Cancel and
    // a kill leave no take behind; without a sound server, or when it goes while recording, the parent is
    // told and nothing changes.
    void parentRecordsAKey_data()
    {
        QTest::addColumn<Take>("take");
        QTest::newRow("kept") << Take::Kept;
        QTest::newRow("cancelled") << Take::Cancelled;
        QTest::newRow("killed") << Take::Killed;
        QTest::newRow("no sound server") << Take::NoServer;
        QTest::newRow("sound server gone while recording") << Take::ServerGone;
    }
    void parentRecordsAKey()
    {
        QFETCH(Take, take);
        QVERIFY(SystemTest::run(u"pactl"_s, {u"set-default-source"_s, Sink + u".monitor"_s}));
        ZubeloCopy zubelo;
        const QByteArray settings = SystemTest::optionFile({{60, "ClickLeft.mid"}});
        QVERIFY(zubelo.writeFile(u"Option.dat"_s, settings) && zubelo.start() && zubelo.focus()
                && xdo(u"key shift+m"_s));
        const qint64 pid = zubelo.process().processId();
        const auto records = [pid] {
            return playsSound(pid, qEnvironmentVariable("PULSE_SERVER"), u"source-outputs"_s);
        };
        // In the dialog's pixels: the A key (72, 144), 録音 and 停止 (152, 206), the level meter's left end
        // (196, 206), OK (312, 324).
        const quint32 dialog = SystemTest::waitForWindow(u"曲の設定"_s, 5000, pid);
        QVERIFY(dialog && xdo(u"mousemove --window %1 72 144 click 1"_s.arg(dialog)) && !records());
        QVERIFY((take != Take::NoServer || soundServer(u"stop"_s))
                && xdo(u"mousemove --window %1 152 206 click 1"_s.arg(dialog)));
        if (take != Take::NoServer) { // a second of a tone from when the level meter shows it
            const QByteArray sine = SystemTest::output(
                u"pactl"_s, {u"load-module"_s, u"module-sine"_s, u"sink="_s + Sink, u"frequency=660"_s});
            const QRect meter(SystemTest::windowGeometry(dialog).topLeft() + QPoint(196, 206), QSize(1, 1));
            QTRY_VERIFY(records() && QColor(SystemTest::grabScreen(meter).pixel(0, 0)).saturation() > 100);
            QTest::qWait(1000);
            QVERIFY(SystemTest::run(u"pactl"_s, {u"unload-module"_s, QString::fromUtf8(sine.trimmed())}));
            QVERIFY(take == Take::ServerGone ? soundServer(u"stop"_s) // 停止 otherwise
                                             : xdo(u"mousemove --window %1 152 206 click 1"_s.arg(dialog)));
        }
        if (take == Take::NoServer || take == Take::ServerGone) { // a message box, titled as every message
            QTRY_COMPARE(SystemTest::output(u"xdotool"_s, {u"getwindowfocus"_s, u"getwindowname"_s}),
                         "Zubelo\n");
            QVERIFY(xdo(u"key Return"_s));
        }
        if (take == Take::Killed) {
            QVERIFY(::kill(pid_t(pid), SIGTERM) == 0 && zubelo.waitForExit(5000));
        } else {
            QVERIFY(take == Take::Cancelled ? xdo(u"key Escape"_s)
                                            : xdo(u"mousemove --window %1 312 324 click 1"_s.arg(dialog)));
        }
        QTRY_COMPARE(zubelo.process().state() == QProcess::Running, take != Take::Killed);
        const QByteArray saved = SystemTest::output(u"cat"_s, {zubelo.filePath(u"Option.dat"_s)});
        QCOMPARE(saved.split('\n').value(60), take == Take::Kept ? "voices/A.wav\r" : "ClickLeft.mid\r");
        QCOMPARE(QDir(zubelo.filePath(u"voices"_s)).entryList(QDir::Files | QDir::Hidden),
                 take == Take::Kept ? QStringList(u"A.wav"_s) : QStringList());
        if (take == Take::Kept) { // a second of sound and little more: 16-bit mono at 48 kHz
            const qint64 bytes = QFileInfo(zubelo.filePath(u"voices/A.wav"_s)).size();
            QVERIFY(bytes > 2 * 48000 * 0.9 && bytes < 2 * 48000 * 1.5);
            SoundRecorder recorder;
            QVERIFY(recorder.start() && zubelo.focus() && xdo(u"key a"_s));
            QTRY_VERIFY(atPitch(recorder, recorder.firstLoud(0.2f), 660));
            QVERIFY(!records());
        }
    }

    // A child's toy starts filling the screen, active, with the keyboard held, which the window's states
    // and dialogs give back and take again. A palm with Shift and X among its keys leaves it running and
    // maximised, whatever their order; a parent's Shift, then X ends it, with the lock keys the child
    // toggled as they were at its start.
    void firstStartUnderAWindowManager()
    {
        QProcess manager; // ends with the test
        QVERIFY(startWindowManager(manager) && xdo(u"key Caps_Lock"_s));
        QTRY_COMPARE(lockedModifiers(), LockMask);
        SoundRecorder recorder;
        QVERIFY(recorder.start());
        ZubeloCopy zubelo;
        QVERIFY(
            zubelo.writeFile(u"Option.dat"_s, SystemTest::output(u"cat"_s, {u"" ZUBELO_FIRST_OPTIONS ""_s})));
        QVERIFY(startsMaximised(zubelo));
        const QStringList state{u"-id"_s, QString::number(zubelo.window()), u"WM_STATE"_s};
        QTRY_VERIFY(keyboardHeldElsewhere());
        // Z plays a MIDI song of the starter content: middle C, heard after the key.
        const size_t pressed = recorder.samples().size();
        QVERIFY(xdo(u"key z"_s));
        QTRY_VERIFY(atPitch(recorder, recorder.firstLoud(0.05f, pressed), 261.6));
        // Alt+Tab stays in the toy, whose next key opens a dialog: that has the keyboard while it is open,
        // and the toy takes it back after.
        QVERIFY(xdo(u"key alt+Tab"_s) && xdo(u"key shift+m"_s));
        QTRY_COMPARE(activeWindow(), SystemTest::waitForWindow(u"曲の設定"_s));
        QVERIFY(!keyboardHeldElsewhere() && xdo(u"key Escape"_s));
        QTRY_VERIFY(keyboardHeldElsewhere());
        // Minimised and normal size give the keyboard back.
        QVERIFY(xdo(u"key shift+s"_s));
        QTRY_VERIFY(xprop(state).contains("Iconic") && !keyboardHeldElsewhere());
        QVERIFY(xdo(u"windowactivate --sync %1"_s.arg(zubelo.window())) && xdo(u"key shift+n"_s));
        QTRY_VERIFY(!maximised(zubelo) && !keyboardHeldElsewhere());
        QVERIFY(xdo(u"key shift+l"_s));
        QTRY_VERIFY(maximised(zubelo) && keyboardHeldElsewhere());
        QVERIFY(xdo(u"key Caps_Lock Num_Lock"_s));
        QTRY_COMPARE(lockedModifiers(), Mod2Mask);
        for (const QString &palm : {u"z shift x c"_s, u"shift d c x"_s, u"a x shift"_s}) {
            QVERIFY(xdo(u"keydown --delay 10 "_s + palm));
            QTest::qWait(300); // the palm rests
            QVERIFY(xdo(u"keyup --delay 10 "_s + palm));
        }
        QTest::qWait(500); // what does not happen
        QVERIFY(zubelo.process().state() == QProcess::Running && maximised(zubelo));
        QVERIFY(xdo(u"keydown shift"_s));
        QTest::qWait(200); // the parent's moment between the two keys
        QVERIFY(xdo(u"key x"_s) && xdo(u"keyup shift"_s) && zubelo.waitForExit(5000));
        QCOMPARE(lockedModifiers(), LockMask);
        QVERIFY(xdo(u"key Caps_Lock"_s));
    }

    void pointerStaysInTheToyWhileLocked_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("held");
        QTest::newRow("maximised") << QStringList() << true;
        QTest::newRow("--no-lock") << QStringList{u"--no-lock"_s} << false;
    }
    void pointerStaysInTheToyWhileLocked()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, held);
        QProcess manager;
        QVERIFY(startWindowManager(manager));
        ZubeloCopy zubelo;
        QVERIFY(startsMaximised(zubelo, arguments));
        const QString id = QString::number(zubelo.window());
        QTRY_COMPARE(keyboardHeldElsewhere(), held);
        // The slider takes its clicks either way.
        const QRect window = zubelo.windowGeometry();
        QVERIFY(clickSlider(window) && xdo(u"key Home"_s));
        QTRY_COMPARE(sinkVolume(), 0);
        // The screen's corner lies outside the window: held, the pointer stops at the window's edge.
        QVERIFY(xdo(u"mousemove 0 0"_s));
        const QPoint stop = held ? window.topLeft() : QPoint(0, 0);
        QTRY_COMPARE(mouseLocation(),
                     "x:" + QByteArray::number(stop.x()) + " y:" + QByteArray::number(stop.y()));
        // The close button at the title bar's right end.
        const int titleBar =
            xprop({u"-id"_s, id, u"_NET_FRAME_EXTENTS"_s}).split(',').value(2).trimmed().toInt();
        QVERIFY(titleBar > 10);
        QVERIFY(xdo(u"mousemove %1 %2"_s.arg(window.right() - titleBar / 2).arg(window.top() - titleBar / 2))
                && xdo(u"click 1"_s));
        if (held) {
            QTest::qWait(1000); // what does not happen
            QCOMPARE(zubelo.process().state(), QProcess::Running);
        } else {
            QVERIFY(zubelo.waitForExit());
        }
    }

    void parentSeesWhenTheLockCannotHold()
    {
        QProcess manager;
        QVERIFY(startWindowManager(manager));
        QVERIFY(!takeKeyboard());
        ZubeloCopy zubelo;
        QVERIFY(zubelo.start());
        QTRY_COMPARE(activeWindow(), zubelo.window());
        // The bottom strip between the help lines and the volume frame.
        const QRect window = zubelo.windowGeometry();
        const QRect strip(window.left() + 400, window.bottom() - 30, window.width() - 400 - 180, 30);
        QTRY_VERIFY(inkIn(strip) > 100);
        releaseKeyboard();
        QTRY_COMPARE(inkIn(strip), 0);
        QVERIFY(keyboardHeldElsewhere());
        QCOMPARE(zubelo.process().readAllStandardError().count("cannot hold the keyboard"), 1);
    }

    // The Debian package as a family gets it: built from the build tree, checked by the desktop's own
    // validators, unpacked (not installed) and started from there with a fresh home, where its first
    // start makes the user's program folder. Slow: a test of its own runs it.
    void packageInstallsAndStarts()
    {
        if (!qEnvironmentVariableIsSet("ZUBELO_TEST_PACKAGE")) {
            QSKIP("the package test runs on its own");
        }
        SystemTest::ZubeloCopy zubelo; // only its folder: the package goes there
        const QString root = zubelo.filePath(u"root"_s);
        const QString package = zubelo.filePath(u"zubelo_" ZUBELO_VERSION "_amd64.deb"_s);
        QVERIFY(SystemTest::run(
            u"cpack"_s,
            {u"--config"_s, u"" ZUBELO_BUILD_DIR "/CPackConfig.cmake"_s, u"-B"_s, zubelo.filePath({})},
            nullptr, 240000));
        QVERIFY(SystemTest::run(u"dpkg"_s, {u"-x"_s, package, root}));
        QByteArray out;
        QVERIFY2(SystemTest::run(u"desktop-file-validate"_s,
                                 {root + u"/usr/share/applications/" ZUBELO_APP_ID ".desktop"_s}, &out),
                 out);

        qputenv("XDG_DATA_HOME", zubelo.filePath(u"data"_s).toLocal8Bit()); // the program's too
        QVERIFY(zubelo.start({}, root + u"/usr/games/zubelo"_s));
        // The user's folder holds the installed first settings, and every song they name.
        const QString folder = zubelo.filePath(u"data/Zubelo/"_s);
        const QByteArray bytes = SystemTest::output(u"cat"_s, {root + u"/usr/share/zubelo/Option.dat"_s});
        QCOMPARE(SystemTest::output(u"cat"_s, {folder + u"Option.dat"_s}), bytes);
        QVERIFY(QFileInfo(folder + u"Option.dat"_s).isWritable());
        Settings::Record record;
        Settings::parse(bytes, record);
        for (const QString &song : record.songFile) {
            QVERIFY2(song.isEmpty() || QFileInfo::exists(folder + song), qPrintable(song));
        }
        // A key plays its song from there.
        QVERIFY(zubelo.focus() && SystemTest::xdo(u"key 1"_s));
        QTRY_VERIFY(playsSound(zubelo.process().processId()));
        QVERIFY(SystemTest::xdo(u"key shift+x"_s));
        QVERIFY(zubelo.waitForExit());
    }
};

QTEST_MAIN(TestSystemPlay)
#include "tst_sys_play.moc"
