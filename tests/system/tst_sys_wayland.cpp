// SPDX-License-Identifier: GPL-3.0-or-later
// The built program on a real Wayland compositor (a headless sway that
// scripts/with-sway.sh starts, whose bindings mark the window they fire on), with keys
// from wtype: the platform it picks, the screen it covers, and the compositor's
// shortcuts it holds. The test itself runs on Wayland too.
#include "../privateservices.h"
#include "systemtest.h"
#include "virtualkey.h"

#include "../audiotestutil.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QRasterWindow>
#include <QtTest>
#include <sndfile.h>

using namespace Qt::StringLiterals;
using SystemTest::SoundRecorder;
using SystemTest::ZubeloCopy;

namespace {

bool wtype(const QString &keys)
{
    return SystemTest::run(u"wtype"_s, keys.split(u' '));
}

// The compositor's view of the window of this process, in its tree from node on: full screen, size, marks.
QJsonObject viewOf(qint64 pid, QJsonObject node = {})
{
    if (node.isEmpty()) {
        QByteArray tree;
        SystemTest::run(u"swaymsg"_s, {u"-t"_s, u"get_tree"_s}, &tree);
        node = QJsonDocument::fromJson(tree).object();
    }
    for (const auto &key : {u"nodes"_s, u"floating_nodes"_s}) {
        for (const QJsonValue child : node[key].toArray()) {
            if (const QJsonObject view = viewOf(pid, child.toObject()); !view.isEmpty()) {
                return view;
            }
        }
    }
    return node[u"pid"_s].toInteger() == pid ? node : QJsonObject();
}

bool fullScreen(qint64 pid)
{
    const QJsonObject view = viewOf(pid);
    return view[u"fullscreen_mode"_s].toInt() == 1 && view[u"rect"_s][u"width"_s].toInt() == 1280
           && view[u"rect"_s][u"height"_s].toInt() == 800;
}

// The marks of the bindings that fired on the window.
QJsonArray marks(qint64 pid)
{
    return viewOf(pid)[u"marks"_s].toArray();
}

// Starts the copy as a parent would on a Wayland desktop that also has an X server.
bool start(ZubeloCopy &zubelo, const QStringList &arguments = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"QT_QPA_PLATFORM"_s); // this test's own choice
    environment.insert(u"QT_LOGGING_RULES"_s, u"zubelo.keyboard.debug=true"_s);
    zubelo.process().setProcessEnvironment(environment);
    zubelo.process().start(zubelo.filePath(u"zubelo"_s), arguments);
    return zubelo.process().waitForStarted();
}

// Waits for a line of the program's log.
bool logged(ZubeloCopy &zubelo, QByteArray *log, const QByteArray &text)
{
    const auto read = [&] { return log->append(zubelo.process().readAllStandardError()).contains(text); };
    return QTest::qWaitFor(read, 10000);
}

struct KeyWindow : QRasterWindow
{
    quint32 scanCode = 0;
    void keyPressEvent(QKeyEvent *event) override { scanCode = event->nativeScanCode(); }
};

} // namespace

class TestSystemWayland : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { PRIVATE_SERVICES_OR_SKIP(true); }
    // Symbol keys follow their position on the compositor's keymap as on the X server's: the keyboard
    // that with-sway.sh keeps has a US number row, "=" on the key right of "-".
    void symbolKeysFollowTheCompositorsKeymap()
    {
        QCOMPARE(VirtualKey::currentLayout(), VirtualKey::KeyboardLayout::Us);
    }

    void lockHoldsTheCompositorsShortcuts()
    {
        SoundRecorder recorder;
        QVERIFY(recorder.start());
        ZubeloCopy zubelo;
        QVERIFY(AudioTest::writeTone(zubelo.filePath(u"tone.wav"_s), 48000, 1,
                                     SF_FORMAT_WAV | SF_FORMAT_PCM_16, 440, 0.3));
        QVERIFY(zubelo.writeFile(u"Option.dat"_s, SystemTest::optionFile({{51, "tone.wav"}}))); // Enter
        QVERIFY(start(zubelo));
        const qint64 pid = zubelo.process().processId();
        // Native Wayland although an X server is there, covering the screen, holding the shortcuts.
        QTRY_VERIFY_WITH_TIMEOUT(fullScreen(pid), 15000);
        QCOMPARE(viewOf(pid).value(u"shell"_s).toString(), u"xdg_shell"_s);
        QByteArray log;
        QVERIFY(logged(zubelo, &log, "compositor leaves the window its shortcuts"));
        // Neither binding fires; the compositor handles keys in order, so once Enter's song
        // sounds, both have come and gone.
        QVERIFY(wtype(u"-M altgr -k Tab -m altgr"_s));
        QVERIFY(wtype(u"-M logo -k Return -m logo"_s));
        QTRY_VERIFY(recorder.firstLoud(0.2f) >= 0);
        QCOMPARE(marks(pid), QJsonArray());

        // At normal size the compositor has its shortcuts again.
        // A parent's Shift+N: the Shift key itself, then the letter (a hot key wants both).
        QVERIFY(wtype(u"-M shift -P Shift_L -k n -p Shift_L -m shift"_s));
        QTRY_VERIFY(!fullScreen(pid));
        QVERIFY(logged(zubelo, &log, "gives the Wayland compositor its shortcuts back"));
        QVERIFY(wtype(u"-M logo -k Return -m logo"_s));
        QTRY_COMPARE(marks(pid), QJsonArray{u"super"_s});
        // And full screen with Shift+L holds them once more.
        QVERIFY(wtype(u"-M shift -P Shift_L -k l -p Shift_L -m shift"_s));
        QTRY_VERIFY(fullScreen(pid));
        log.clear();
        QVERIFY(logged(zubelo, &log, "compositor leaves the window its shortcuts"));
    }

    // The keys that Qt cannot tell apart are told by their native code, which is the same as on X11:
    // the key's code on the wire plus 8 (the X key code of an evdev keyboard).
    void keysComeWithTheirX11Codes()
    {
        KeyWindow window;
        window.showFullScreen();
        QTRY_VERIFY(window.isActive());      // it has the keyboard
        QVERIFY(wtype(u"-k x -k y -k z"_s)); // wtype sends its third key as 3
        QTRY_COMPARE(window.scanCode, 3U + 8);
    }
};

QTEST_MAIN(TestSystemWayland)
#include "tst_sys_wayland.moc"
