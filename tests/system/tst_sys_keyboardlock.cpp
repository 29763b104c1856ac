// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard lock under a real window manager: the desktop's Alt+Tab stays
// inside the toy while it fills the screen, and goes to the desktop without it.
#include "../audiotestutil.h"
#include "settings/keyslots.h"
#include "systemtest.h"

#include <QWidget>
#include <QtTest>
#include <sndfile.h>
#include <xcb/xcb.h>

using namespace Qt::StringLiterals;
using SystemTest::SoundRecorder;
using SystemTest::ZubeloCopy;

namespace {

// True while another client holds the keyboard: then a grab of our own is refused.
bool keyboardHeldElsewhere()
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    bool held = false;
    if (!xcb_connection_has_error(connection)) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        xcb_grab_keyboard_reply_t *reply =
            xcb_grab_keyboard_reply(connection,
                                    xcb_grab_keyboard(connection, 0, root, XCB_CURRENT_TIME,
                                                      XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                    nullptr);
        held = reply && reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
        free(reply);
        xcb_ungrab_keyboard(connection, XCB_CURRENT_TIME);
    }
    xcb_disconnect(connection);
    return held;
}

quint32 activeWindow()
{
    QByteArray out;
    return SystemTest::XdoTool({u"getactivewindow"_s}, &out) ? out.trimmed().toUInt() : 0;
}

} // namespace

class TestSystemKeyboardLock : public QObject
{
    Q_OBJECT

private:
    QProcess m_manager;
    QWidget m_other; // the window Alt+Tab would switch to

private slots:
    void initTestCase()
    {
        QVERIFY(SystemTest::RequireServices());
        m_manager.start(u"openbox"_s, {u"--sm-disable"_s});
        QVERIFY(m_manager.waitForStarted());
        const auto managerReady = [] {
            QByteArray out;
            SystemTest::Run(u"xprop"_s, {u"-root"_s, u"_NET_SUPPORTING_WM_CHECK"_s}, &out);
            return out.contains("window id");
        };
        QTRY_VERIFY_WITH_TIMEOUT(managerReady(), 10000);
        m_other.setWindowTitle(u"Other"_s);
        m_other.resize(300, 200);
        // openbox may drop a window mapped while it is still starting: map it again until it shows.
        bool shown = false;
        for (int attempt = 0; attempt < 5 && !shown; ++attempt) {
            m_other.hide();
            m_other.show();
            shown = QTest::qWaitForWindowExposed(&m_other, 2000);
        }
        QVERIFY(shown);
    }
    void cleanupTestCase()
    {
        m_other.close();
        m_manager.terminate();
        m_manager.waitForFinished(3000);
    }

    void altTab_data()
    {
        QTest::addColumn<bool>("lock");
        QTest::newRow("the lock keeps Alt+Tab in the toy") << true;
        QTest::newRow("without the lock Alt+Tab goes to the other window") << false;
    }
    void altTab()
    {
        QFETCH(bool, lock);
        ZubeloCopy zubelo;
        QVERIFY(AudioTest::WriteTone(zubelo.FilePath(u"tab.wav"_s), 48000, 1,
                                     SF_FORMAT_WAV | SF_FORMAT_PCM_16, 440, 3));
        QVERIFY(zubelo.WriteFile(
            u"Option.dat"_s,
            SystemTest::OptionFile({{KeySlots::SlotForKeyCode(9), "tab.wav"}}, false, 48, 36)));
        QVERIFY(zubelo.Start(QString(), lock ? QStringList() : QStringList{u"--no-lock"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), zubelo.Window(), 5000);
        if (lock) {
            QTRY_VERIFY_WITH_TIMEOUT(keyboardHeldElsewhere(), 5000);
        }
        SoundRecorder recorder;
        QVERIFY(recorder.Start());
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"alt+Tab"_s}));
        if (lock) {
            // Tab reached the toy (its song plays), and the toy is still the active window.
            QTRY_VERIFY_WITH_TIMEOUT(recorder.FirstLoudSample(0, 0.2f) >= 0, 5000);
            QCOMPARE(activeWindow(), zubelo.Window());
            // A dialog has the keyboard while it is open, and the toy takes it back after.
            QVERIFY(SystemTest::XdoTool({u"key"_s, u"shift+m"_s}));
            const quint32 dialog = SystemTest::WaitForWindow(u"曲の設定"_s);
            QVERIFY(dialog);
            QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), dialog, 5000);
            QVERIFY(!keyboardHeldElsewhere());
            QVERIFY(SystemTest::XdoTool({u"key"_s, u"Escape"_s})); // Cancel
            QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), zubelo.Window(), 5000);
            QTRY_VERIFY_WITH_TIMEOUT(keyboardHeldElsewhere(), 5000);
            // Normal size gives the keyboard back to the desktop.
            QVERIFY(SystemTest::XdoTool({u"key"_s, u"shift+n"_s}));
            QTRY_VERIFY_WITH_TIMEOUT(!keyboardHeldElsewhere(), 5000);
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), quint32(m_other.winId()), 5000);
            QCOMPARE(AudioTest::Peak(recorder.Stop()), 0.0); // the toy never heard Tab
        }
        QVERIFY(zubelo.RequestClose());
        QVERIFY(zubelo.WaitForExit());
    }
};

QTEST_MAIN(TestSystemKeyboardLock)
#include "tst_sys_keyboardlock.moc"
