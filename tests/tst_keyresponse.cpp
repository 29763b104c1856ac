// SPDX-License-Identifier: GPL-3.0-or-later
// What a key or a click does in the play window, decided without a window: song, lyrics, colour, hot key.
#include "hotkeygate.h"
#include "hotkeys.h"
#include "keyresponse.h"
#include "keyslots.h"
#include "virtualkey.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using HotKeys::Action;
using KeyResponse::Button;

namespace {

constexpr int Shift = VirtualKey::ShiftMask, Ctrl = VirtualKey::CtrlMask, Alt = VirtualKey::AltMask;
constexpr int KeyA = 65, NotInTheTable = 255, SlotA = 60, SlotL = 68, SlotEnter = 51;
enum State { Free, SongPlays, WaitAsked, WaitWhilePlaying };
enum Colour { KeepsColour, Paints };
struct KeyRow
{
    int key, modifiers;
    State state;
    QString song; // none: held back
    Colour colour;
};

// Plays keys through the hot key gate as the window does, its timer run on the keys' own clock. Steps:
// "+X@250" down at 250 ms, "-X@400" up, "*X@900" an auto-repeat press, "forget" the keys going to another
// window. Gives the keys that went on as ordinary keys and the actions that fired, in order: "Shift [Quit]".
QString throughGate(const QString &steps)
{
    static const QStringList actions =
        u"None Quit MusicSettings DisplaySettings Minimise NormalSize Maximise Help"_s.split(u' ');
    const QMap<QString, std::pair<int, int>> modifierKeys{{u"Shift"_s, {KeyCodes::Shift, Shift}},
                                                          {u"Ctrl"_s, {KeyCodes::Ctrl, Ctrl}},
                                                          {u"Alt"_s, {KeyCodes::Alt, Alt}}};
    HotKeyGate gate;
    QStringList trace;
    QString waiting; // the letter the gate holds back, and since when
    qint64 waitingSince = 0;
    int held = 0; // the modifiers down
    for (const QString &step : (steps + u" +end@99999"_s).split(u' ')) {
        const QString name = step.mid(1).section(u'@', 0, 0);
        const qint64 at = step.section(u'@', 1).toLongLong();
        if (!waiting.isEmpty() && at - waitingSince >= HotKeyGate::Settle.count()) {
            trace << u"[%1]"_s.arg(actions.at(int(gate.settle())));
            waiting.clear();
        }
        const auto [code, mask] = modifierKeys.value(name, {name.at(0).unicode(), 0});
        held = step.startsWith(u'-') ? held & ~mask : held | mask;
        const HotKeyGate::Key key{quint32(code), code, held};
        if (step == u"forget" || name == u"end") {
            gate.forget();
        } else if (step.startsWith(u'-')) {
            gate.release(key);
        } else if (step.startsWith(u'*')) {
            trace << name; // a repeat goes on as it comes
        } else {
            const HotKeyGate::Outcome outcome = gate.press(key, std::chrono::milliseconds(at));
            if (outcome.releasesWaiting) {
                trace << std::exchange(waiting, QString()); // empty: there was none
            }
            if (outcome.waitsFor == Action::None) {
                trace << name;
            } else {
                waiting = name;
                waitingSince = at;
            }
        }
    }
    return trace.join(u' ');
}

} // namespace

class TestKeyResponse : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const ProgramFolder m_folder{m_dir.path()};

private slots:

    void keysPlayPaintOrWait_data()
    {
        QTest::addColumn<KeyRow>("row");
        const QString a = u"a.wav"_s;
        QTest::newRow("Ctrl+Shift+L: L's own, painted")
            << KeyRow{KeyCodes::L, Ctrl + Shift, Free, u"l.wav"_s, Paints};
        QTest::newRow("Alt+L: left click") << KeyRow{KeyCodes::L, Alt, Free, u"ClickLeft.mid"_s, KeepsColour};
        QTest::newRow("Shift+Alt+R") << KeyRow{KeyCodes::R, Shift + Alt, Free, u"ClickRight.mid"_s,
                                               KeepsColour};
        QTest::newRow("Alt+M") << KeyRow{KeyCodes::M, Alt, Free, u"ClickMiddle.mid"_s, KeepsColour};
        QTest::newRow("Alt+A: A's own") << KeyRow{KeyA, Alt, Free, a, KeepsColour};
        QTest::newRow("not in the table: Enter's") << KeyRow{NotInTheTable, 0, Free, u"enter.wav"_s, Paints};
        QTest::newRow("held while a song plays") << KeyRow{KeyA, 0, WaitWhilePlaying, QString(), KeepsColour};
        QTest::newRow("Esc passes") << KeyRow{KeyCodes::Esc, 0, WaitWhilePlaying, u"esc.wav"_s, Paints};
        QTest::newRow("wait, nothing plays") << KeyRow{KeyA, 0, WaitAsked, a, Paints};
        QTest::newRow("no wait asked") << KeyRow{KeyA, 0, SongPlays, a, Paints};
    }
    void keysPlayPaintOrWait()
    {
        QFETCH(KeyRow, row);
        const auto [key, modifiers, state, song, colour] = row;
        Settings::Record settings;
        settings.songFile[SlotA] = u"a.wav"_s;
        settings.songFile[SlotL] = u"l.wav"_s;
        settings.songFile[SlotEnter] = u"enter.wav"_s;
        settings.songFile[0] = u"esc.wav"_s;
        settings.playWait = state >= WaitAsked;
        const bool playing = state == SongPlays || state == WaitWhilePlaying;
        const auto response = KeyResponse::forKey(key, modifiers, settings, m_folder, playing);
        QCOMPARE(response ? response->song : QString(), song.isEmpty() ? QString() : m_dir.filePath(song));
        QCOMPARE(response && response->paints, colour == Paints);
        // A click is never Esc.
        QCOMPARE(bool(KeyResponse::forClick(Button::Left, settings, m_folder, playing)),
                 !settings.playWait || !playing);
    }

    void buttonsPlayTheirClickSongs_data()
    {
        QTest::addColumn<Qt::MouseButtons>("buttons");
        QTest::addColumn<QString>("song"); // none: no song
        QTest::newRow("left and right: left") << (Qt::LeftButton | Qt::RightButton) << u"ClickLeft.mid"_s;
        QTest::newRow("right and middle: right")
            << (Qt::RightButton | Qt::MiddleButton) << u"ClickRight.mid"_s;
        QTest::newRow("middle") << Qt::MouseButtons(Qt::MiddleButton) << u"ClickMiddle.mid"_s;
        QTest::newRow("another button") << Qt::MouseButtons(Qt::BackButton) << QString();
    }
    void buttonsPlayTheirClickSongs()
    {
        QFETCH(Qt::MouseButtons, buttons);
        QFETCH(QString, song);
        const std::optional<Button> button = KeyResponse::clickButton(buttons);
        const auto response = button ? KeyResponse::forClick(*button, {}, m_folder, false) : std::nullopt;
        QCOMPARE(response ? response->song : QString(), song.isEmpty() ? QString() : m_dir.filePath(song));
        QVERIFY(!response || !response->paints);
    }

    void lyricsLieBesideTheSong_data()
    {
        // The song on the disk (stored in small letters), its neighbour.
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("shown");
        QTest::newRow("same name, txt") << QStringList{u"a.wav"_s, u"a.txt"_s} << true;
        QTest::newRow("song and lyrics in capitals") << QStringList{u"B.WAV"_s, u"B.TXT"_s} << true;
        QTest::newRow("a folder") << QStringList{u"c.mid"_s, u"c.txt/x"_s} << false;
        QTest::newRow("a hidden file") << QStringList{u".d.wav"_s, u".d.txt"_s} << false;
        QTest::newRow("another name") << QStringList{u"e.mid"_s, u"e.mid.txt"_s} << false;
    }
    void lyricsLieBesideTheSong()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, shown);
        for (const QString &name : files) {
            QFile file(m_dir.filePath(name));
            QVERIFY(QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly));
        }
        Settings::Record settings;
        settings.songFile[SlotA] = files[0].toLower();
        const auto response = KeyResponse::forKey(KeyA, 0, settings, m_folder, false);
        QCOMPARE(response->song, m_dir.filePath(files[0]));
        QCOMPARE(response->lyrics, shown ? m_dir.filePath(files[1]) : QString());
    }

    // The key colours by name, each at the first draw that takes it.
    void drawPicksTheColour_data()
    {
        QTest::addColumn<float>("draw");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("blue") << 0.0f << QColor(0, 0, 192);
        QTest::newRow("teal, just before green") << std::nextafter(0.25f, 0.0f) << QColor(0, 128, 128);
        QTest::newRow("green") << 0.25f << QColor(0, 128, 0);
        QTest::newRow("purple") << 0.375f << QColor(192, 0, 192);
        QTest::newRow("red") << 0.5f << QColor(192, 0, 0);
        QTest::newRow("white") << 0.625f << QColor(255, 255, 255);
        QTest::newRow("olive") << 0.75f << QColor(128, 128, 0);
        QTest::newRow("brown, to the last draw") << std::nextafter(1.0f, 0.0f) << QColor(128, 64, 0);
    }
    void drawPicksTheColour()
    {
        QFETCH(float, draw);
        QFETCH(QColor, colour);
        QCOMPARE(KeyResponse::colourForDraw(draw), colour);
    }

    // A parent's Shift, then the letter alone, fires; a palm's keys never do, and each goes on in order.
    void onlyADeliberatePressFires_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("parent's Shift+X") << u"+Shift@0 +X@250 -X@350 -Shift@400"_s << u"Shift [Quit]"_s;
        QTest::newRow("Shift+B is none") << u"+Shift@0 +B@200"_s << u"Shift B"_s;
        QTest::newRow("a second after Shift") << u"+Shift@0 +S@1000"_s << u"Shift [Minimise]"_s;
        QTest::newRow("Shift held longer") << u"+Shift@0 +S@1001"_s << u"Shift S"_s;
        QTest::newRow("Ctrl on a resting Shift") << u"+Shift@0 +Ctrl@1500 +X@1700"_s << u"Shift Ctrl X"_s;
        QTest::newRow("Ctrl+Shift+M") << u"+Ctrl@0 +Shift@40 +M@300"_s << u"Ctrl Shift [MusicSettings]"_s;
        QTest::newRow("Shift, Alt, V") << u"+Shift@0 +Alt@100 +V@300"_s << u"Shift Alt [DisplaySettings]"_s;
        QTest::newRow("a hand's last key let go") << u"+A@0 +Shift@50 -A@100 +H@300"_s << u"A Shift [Help]"_s;
        QTest::newRow("Shift again") << u"+Shift@0 -Shift@100 +Shift@1500 +L@1700"_s
                                     << u"Shift Shift [Maximise]"_s;
        QTest::newRow("a key let go in another window")
            << u"+A@0 forget +Shift@100 +N@300"_s << u"A Shift [NormalSize]"_s;
        QTest::newRow("Shift before another window") << u"+Shift@0 forget +X@300"_s << u"Shift X"_s;
        QTest::newRow("palm, Shift first") << u"+Shift@0 +X@12 +Z@25 +C@38"_s << u"Shift X Z C"_s;
        QTest::newRow("palm, Shift amid") << u"+Z@0 +Shift@10 +X@20 -Z@300 -X@310"_s << u"Z Shift X"_s;
        QTest::newRow("palm, Shift last") << u"+Z@0 +X@10 +C@20 +Shift@30"_s << u"Z X C Shift"_s;
        QTest::newRow("a key just after") << u"+Shift@0 +S@200 +A@299"_s << u"Shift S A"_s;
        QTest::newRow("a key after the wait") << u"+Shift@0 +S@200 +A@301"_s << u"Shift [Minimise] A"_s;
        QTest::newRow("Ctrl just after") << u"+Shift@0 +S@200 +Ctrl@250"_s << u"Shift S Ctrl"_s;
        QTest::newRow("a key in between") << u"+Shift@0 +A@100 -A@150 +X@300"_s << u"Shift A X"_s;
        QTest::newRow("resting palm, repeating")
            << u"+Shift@0 +Z@10 +X@30 *X@690 *X@730 -X@2000 +X@2100"_s << u"Shift Z X X X X"_s;
        QTest::newRow("held Shift+S: once")
            << u"+Shift@0 +S@200 *S@860 *S@900"_s << u"Shift [Minimise] S S"_s;
        QTest::newRow("two letters, one Shift")
            << u"+Shift@0 +S@200 -S@300 +L@500"_s << u"Shift [Minimise] L"_s;
    }
    void onlyADeliberatePressFires()
    {
        QFETCH(QString, steps);
        QFETCH(QString, outcome);
        QCOMPARE(throughGate(steps), outcome);
    }
};

QTEST_MAIN(TestKeyResponse)
#include "tst_keyresponse.moc"
