// SPDX-License-Identifier: GPL-3.0-or-later
// What a key or a click does in the play window, decided without a window: song, lyrics, colour, hot key.
#include "app/hotkeys.h"
#include "app/keyresponse.h"
#include "platform/virtualkey.h"
#include "settings/keyslots.h"

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
// Key, modifiers, state, song (none: held), colour.
using KeyRow = std::tuple<int, int, State, QString, Colour>;

} // namespace

class TestKeyResponse : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir; // the program folder

private slots:
    void initTestCase() { Options::SetProgramFolder(m_dir.path()); }

    void keyResponse_data()
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
    void keyResponse()
    {
        QFETCH(KeyRow, row);
        const auto [key, modifiers, state, song, colour] = row;
        Options::Record settings;
        settings.SongFile[SlotA] = u"a.wav"_s;
        settings.SongFile[SlotL] = u"l.wav"_s;
        settings.SongFile[SlotEnter] = u"enter.wav"_s;
        settings.SongFile[0] = u"esc.wav"_s;
        settings.PlayWait = state >= WaitAsked;
        const bool playing = state == SongPlays || state == WaitWhilePlaying;
        const auto response = KeyResponse::ForKey(key, modifiers, settings, playing);
        QCOMPARE(response ? response->song : QString(), song.isEmpty() ? QString() : m_dir.filePath(song));
        QCOMPARE(response && response->paints, colour == Paints);
        // A click is never Esc.
        QCOMPARE(bool(KeyResponse::ForClick(Button::Left, settings, playing)),
                 !settings.PlayWait || !playing);
    }

    void clickButton_data()
    {
        QTest::addColumn<Qt::MouseButtons>("buttons");
        QTest::addColumn<QString>("song"); // none: no song
        QTest::newRow("left and right: left") << (Qt::LeftButton | Qt::RightButton) << u"ClickLeft.mid"_s;
        QTest::newRow("right and middle: right")
            << (Qt::RightButton | Qt::MiddleButton) << u"ClickRight.mid"_s;
        QTest::newRow("middle") << Qt::MouseButtons(Qt::MiddleButton) << u"ClickMiddle.mid"_s;
        QTest::newRow("another button") << Qt::MouseButtons(Qt::BackButton) << QString();
    }
    void clickButton()
    {
        QFETCH(Qt::MouseButtons, buttons);
        QFETCH(QString, song);
        const std::optional<Button> button = KeyResponse::ClickButton(buttons);
        const auto response = button ? KeyResponse::ForClick(*button, {}, false) : std::nullopt;
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
        Options::Record settings;
        settings.SongFile[SlotA] = files[0].toLower();
        const auto response = KeyResponse::ForKey(KeyA, 0, settings, false);
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
        QCOMPARE(KeyResponse::ColourForDraw(draw), colour);
    }

    void hotKeys_data()
    {
        // Each action's key is the window's to show; here, which modifiers count.
        QTest::addColumn<QKeyCombination>("key"); // Qt's key for its letter; the modifiers as the mask
        QTest::addColumn<Action>("action");
        QTest::newRow("Alt+Shift+V") << (Qt::ALT | Qt::SHIFT | Qt::Key_V) << Action::DisplaySettings;
        QTest::newRow("Shift+B") << (Qt::SHIFT | Qt::Key_B) << Action::None;
        QTest::newRow("Ctrl+Alt+X") << (Qt::CTRL | Qt::ALT | Qt::Key_X) << Action::None;
    }
    void hotKeys()
    {
        QFETCH(QKeyCombination, key);
        QFETCH(Action, action);
        QCOMPARE(HotKeys::ActionFor(key.key(), VirtualKey::ModifierMask(key.keyboardModifiers())), action);
    }
};

QTEST_MAIN(TestKeyResponse)
#include "tst_keyresponse.moc"
