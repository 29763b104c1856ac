// SPDX-License-Identifier: GPL-3.0-or-later
// The play window: start and exit, keys and their songs, lyrics, mouse presses and pictures, hot keys.
#include "dialogs/display/folderlistbox.h"
#include "dialogs/display/formviewoptions.h"
#include "modalwindow.h"
#include "platform/api.h"
#include "widgettestutil.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;
using Key = QKeyCombination;

namespace {

// Keeps activation from the window it filters, as a window manager that prevents focus stealing does.
class NoActivation : public QObject
{
    bool eventFilter(QObject *, QEvent *event) override { return event->type() == QEvent::WindowActivate; }
};

constexpr int SlotEsc = 0, SlotEnter = 51, SlotA = 60, SlotL = 68, SlotShift = 75, SlotV = 79, SlotM = 82;

using FolderRow = std::tuple<QString, QString, int, int>;       // stored, listed, font size stored, shown
using KeyRow = std::tuple<int, QString, Key, QString, QString>; // slot, song stored, key, plays, dialog
using LyricsRow = std::tuple<QString, QString, QByteArray, QString>; // song, lyrics file, its bytes, shown
using RepeatRow = std::tuple<bool, Key, bool>;                       // repeat flag, key, plays again
using ClickRow = std::tuple<int, QByteArray, QString>; // buttons (1 left, 2 right, 4 middle), picture, plays

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

public slots:
    void openUrl(const QUrl &url) { m_opened << url; }

private:
    std::unique_ptr<PlayWindow> w;
    QList<QUrl> m_opened;

private slots:
    void initTestCase() { QDesktopServices::setUrlHandler(u"file"_s, this, "openUrl"); }
    void init() { w.reset(), w.reset(new PlayWindow); } // the last window goes before a new folder comes

    void aRunFromStartToExit()
    {
        const QString before = QDir::currentPath();
        w->record.SongFile.fill(u"b.wav"_s); // every key plays, Shift too
        w->devices.keyboardLock = true;
        Form1 &form = w->start();
        QCOMPARE(form.windowTitle(), u"Zubelo"_s);
        QCOMPARE(form.Label1->text() + form.Label2->text(),
                 u"   終了: Shift+X   曲の設定: Shift+M   表示の設定: Shift+V"
                 u"   最小化: Shift+S   普通ｻｲｽﾞ: Shift+N   最大化: Shift+L   ﾍﾙﾌﾟ: Shift+H"_s);
        QVERIFY(form.Picture1->isHidden() && !form.Text1->testAttribute(Qt::WA_InputMethodEnabled)
                && API::IsTextBoxHooked(form.Text1));
        QCOMPARE(w->colour(), QColor(0, 0, 192));
        const auto sizeButtons = Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
        QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint) && !(form.windowFlags() & sizeButtons));
        QCOMPARE(QDir::currentPath(), QDir(w->path()).canonicalPath());
        form.resize(536, 285);
        QTRY_COMPARE(form.Text1->geometry(), QRect(0, 0, 536, 253));        // 480 twips above the bottom
        QCOMPARE(form.Volume->geometry().topRight(), QPoint(536 - 2, 253)); // 10 twips from the edge
        QTest::keyClicks(w->form->Text1, u"ab"_s);
        w->press(Qt::Key_Left); // handled keys leave the caret alone
        QTest::keyClicks(w->form->Text1, u"c\rd!\b\t"_s);
        QCOMPARE(w->text(), u"abc\nd\t"_s);

        QTest::ignoreMessage(QtWarningMsg, "Zubelo cannot hold the keyboard and the pointer: the offscreen "
                                           "platform offers no way to hold them; it keeps trying");
        w->press(Qt::CTRL | Qt::SHIFT | Qt::Key_L);
        QTRY_VERIFY(form.isMaximized());
        // Nothing here can hold the keyboard: the parent reads so beside the help lines, clear of the slider.
        QTRY_VERIFY(form.LockNotice->isVisible());
        QCOMPARE(form.LockNotice->text(), u"キーボードとマウスを固定できません"_s);
        QVERIFY(form.rect().contains(form.LockNotice->geometry()));
        for (QWidget *other : QList<QWidget *>{form.Label1, form.Label2, form.Volume}) {
            QVERIFY(!form.LockNotice->geometry().intersects(other->geometry()));
        }
        w->press(Qt::SHIFT | Qt::Key_N);
        QTRY_COMPARE(form.minimumSize(), form.maximumSize()); // at normal size the border is fixed
        QVERIFY(form.LockNotice->isHidden());                 // and the lock is not wanted
        w->press(Qt::Key_H);                                  // without Shift only a key
        QVERIFY(!form.isMinimized() && !form.isMaximized() && m_opened.isEmpty());
        w->press(Qt::SHIFT | Qt::Key_H);
        QTRY_VERIFY(form.isMinimized());
        QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(w->path(u"Help.htm"_s))});

        int popups = 0;
        QTimer closer; // a menu would open inside the request and stay until closed
        connect(&closer, &QTimer::timeout,
                [&] { popups += qApp->activePopupWidget() && qApp->activePopupWidget()->close(); });
        closer.start(5);
        QList<QWidget *> parts = form.findChildren<QWidget *>();
        for (QWidget *part : parts << &form) { // the scroll bar's menu once stalled the toy
            QContextMenuEvent request(QContextMenuEvent::Mouse, {}, part->mapToGlobal(QPoint()));
            if (part->isVisible()) {
                QApplication::sendEvent(part, &request);
            }
        }
        QCOMPARE(popups, 0);

        // A second copy leaves at its first show, even if a window manager that prevents focus
        // stealing never activates it.
        Form1 second(OfflineDevices());
        NoActivation neverActive;
        second.installEventFilter(&neverActive);
        second.show();
        QTRY_VERIFY(!second.isVisible());
        QVERIFY(form.isVisible());

        w->press(Qt::SHIFT | Qt::Key_X); // the song stops, and X's own song never starts
        QVERIFY(!form.isVisible() && !API::IsTextBoxHooked(form.Text1));
        QCOMPARE(w->playing(), QString());
        QCOMPARE(QDir::currentPath(), before);
    }

    void settingsAtStart_data()
    {
        QTest::addColumn<FolderRow>("row");
        QTest::newRow("relative folder") << FolderRow{u"pics"_s, u"pics"_s, 32767, 2160};
        QTest::newRow("folder in another case") << FolderRow{u"PICS"_s, u"pics"_s, 0, 1};
        QTest::newRow("folder that vanished") << FolderRow{u"gone"_s, {}, 2160, 2160};
        QTest::newRow("a file, not a folder") << FolderRow{u"Option.dat"_s, {}, 48, 48};
    }
    void settingsAtStart()
    {
        QFETCH(FolderRow, row);
        const auto [folder, listed, fontSize, shown] = row;
        for (const QString &name : u"a.BMP b.jpg cjpg d.Gif e.png f.jpeg .g.bmp h.bmp/i"_s.split(u' ')) {
            w->write(u"pics/"_s + name, {});
        }
        w->record.ImageFolder = folder;
        w->record.InputFontSize = qint16(fontSize);
        w->start();
        QCOMPARE(w->fontSize(), shown);
        QCOMPARE(QDir::cleanPath(w->form->File1.Path()), QDir::cleanPath(w->path(listed)));
        QCOMPARE(w->form->File1.ListCount(), listed.isEmpty() ? 0 : 4); // a.BMP b.jpg cjpg d.Gif
        // The record keeps what the parent set: a stand-in folder is for this run only, so a program
        // folder the settings file cannot name never blocks a save.
        QCOMPARE(Options::Settings().ImageFolder, folder);
    }

    void keySongs_data()
    {
        QTest::addColumn<KeyRow>("row");
        const QString a = u"a.wav"_s, music = u"FormMusicOptions"_s;
        QTest::newRow("unknown key: Enter's") << KeyRow{SlotEnter, a, Qt::Key_Launch0, a, {}};
        QTest::newRow("Shift alone") << KeyRow{SlotShift, a, Qt::SHIFT | Qt::Key_Shift, a, {}};
        QTest::newRow("Shift+M") << KeyRow{SlotM, a, Qt::SHIFT | Qt::Key_M, a, music};
        QTest::newRow("Ctrl+Shift+M") << KeyRow{SlotM, a, Qt::CTRL | Qt::SHIFT | Qt::Key_M, a, music};
        QTest::newRow("Shift+V") << KeyRow{SlotV, a, Qt::SHIFT | Qt::Key_V, a, u"FormViewOptions"_s};
        QTest::newRow("Alt+L") << KeyRow{SlotL, a, Qt::ALT | Qt::Key_L, u"ClickLeft.mid"_s, {}};
        QTest::newRow("Alt+A: A's own") << KeyRow{SlotA, a, Qt::ALT | Qt::Key_A, a, {}};
        QTest::newRow("spelled otherwise") << KeyRow{SlotA, u"A.WAV"_s, Qt::Key_A, a, {}};
        QTest::newRow("no song") << KeyRow{SlotA, {}, Qt::Key_A, {}, {}};
    }
    void keySongs()
    {
        QFETCH(KeyRow, row);
        const auto [slot, stored, key, plays, dialog] = row;
        w->record.SongFile.fill(u"b.wav"_s); // so Shift, Ctrl and Alt play before the key
        w->record.SongFile[size_t(slot)] = stored;
        w->start();
        const QColor before = w->colour();
        QString opened; // with what plays while it is open
        WhenModalOpens<QDialog> cancel([&](QDialog *window) {
            window->reject();
            opened += QString::fromLatin1(window->metaObject()->className()) + w->playing();
        });
        w->press(key);
        QCOMPARE(opened, dialog);
        QCOMPARE(w->playing(), plays);
        QVERIFY(key.keyboardModifiers() != Qt::AltModifier || w->colour() == before); // Alt paints not
    }

    void displaySettingsApplyAtOnce()
    {
        QVERIFY(QDir().mkpath(w->path(u"new"_s)));
        w->start();
        WhenModalOpens<FormViewOptions> ok([&](FormViewOptions *dialog) {
            dialog->Dir1->SetPath(w->path(u"new"_s));
            dialog->Text1->setText(u"50"_s);
            dialog->CommandOK->click();
        });
        w->press(Qt::SHIFT | Qt::Key_V);
        QCOMPARE(ok.handled, 1);
        QCOMPARE(w->fontSize(), 50);
        QCOMPARE(w->form->File1.Path(), w->path(u"new"_s));
    }

    void repeat_data()
    {
        QTest::addColumn<RepeatRow>("row");
        QTest::newRow("repeat on") << RepeatRow{true, Qt::Key_A, true};
        QTest::newRow("repeat off") << RepeatRow{false, Qt::Key_A, false};
        QTest::newRow("Esc never repeats") << RepeatRow{true, Qt::Key_Escape, false};
    }
    void repeat()
    {
        QFETCH(RepeatRow, row);
        const auto [repeat, key, again] = row;
        w->record.PlayRepeat = repeat;
        w->record.SongFile[SlotA] = w->record.SongFile[SlotEsc] = u"a.wav"_s;
        w->start();
        QSignalSpy ended(&w->form->MMControl1, &SongPlayer::Ended); // heard after the window's handler
        w->press(key);
        std::vector<float> sound(2 * 14400);
        w->form->audio().Render(sound.data(), 14400); // 0.3 s, and the song has ended
        QTRY_COMPARE(ended.count(), 1);
        QCOMPARE(w->playing(), again ? u"a.wav"_s : QString());
        w->form->audio().Render(sound.data(), 14400); // a repeat sounds from the start again
        QCOMPARE(AudioTest::Peak(sound) > 0.001, again);
    }

    void waitFlagHoldsKeysBackButNotEsc()
    {
        w->record.PlayWait = true;
        w->record.SongFile[80] = u"b.wav"_s; // B
        w->start();
        w->press(Qt::Key_B);
        const QColor colour = w->colour();
        // Held back: the song and the colour stay; the characters are typed.
        QTest::keyClicks(w->form->Text1, u"xya"_s);
        w->press(Qt::Key_Left); // and an arrow moves the caret as usual
        QCOMPARE(w->text(), u"bxya"_s);
        QCOMPARE(w->form->Text1->textCursor().position(), 3);
        QCOMPARE(w->colour(), colour);
        QCOMPARE(w->playing(), u"b.wav"_s);
        QCOMPARE(int(w->form->lastPressedCode()), 37);
        w->press(Qt::Key_Escape); // Esc passes and, with no song of its own, stops the music
        QCOMPARE(w->playing(), QString());
    }

    void lyrics_data()
    {
        QTest::addColumn<LyricsRow>("row");
        const QByteArray frog("\x82\xa9\x82\xa6\x82\xe9\r\n\x95\x5c no uta\r\nlast"), uta("uta");
        const QByteArray huge = QByteArray("0123456789abcdef\n").repeated(200000); // cut inside a line
        const QString a = u"a.wav"_s, none;
        QTest::newRow("Shift-JIS lines") << LyricsRow{a, u"a.txt"_s, frog, u"かえる\n表 no uta\nlast\n"_s};
        QTest::newRow("name in capitals") << LyricsRow{a, u"A.TXT"_s, uta, u"uta\n"_s};
        QTest::newRow("huge file is cut")
            << LyricsRow{a, u"a.txt"_s, huge, QString::fromLatin1(huge.left(Form1::MaxLyricsBytes)) + u'\n'};
        QTest::newRow("a folder") << LyricsRow{a, u"a.txt/x"_s, uta, none};
        QTest::newRow("a hidden file") << LyricsRow{u".h.wav"_s, u".h.txt"_s, uta, none};
    }
    void lyrics()
    {
        QFETCH(LyricsRow, row);
        const auto [song, file, bytes, shown] = row;
        w->write(file, bytes);
        w->record.SongFile[SlotA] = song;
        w->record.LyricsFontSize = 20; // typing shows at the smallest size
        w->start();
        QTest::keyClicks(w->form->Text1, u"za"_s); // lyrics replace the typing
        QCOMPARE(w->fontSize(), shown.isEmpty() ? 1 : 20);
        w->form->Text1->moveCursor(QTextCursor::End);
        w->press(Qt::Key_A); // lyrics afresh, and the key's character lands at their start
        QCOMPARE(w->text(), shown.isEmpty() ? u"zaa"_s : u"a"_s + shown);
        w->press(Qt::Key_B); // no lyrics: a box of lyrics is emptied, typing grows
        QCOMPARE(w->text(), shown.isEmpty() ? u"zaab"_s : u"b"_s);
        QCOMPARE(w->fontSize(), 1);
    }

    void clicks_data()
    {
        QTest::addColumn<ClickRow>("row");
        QByteArray bomb = QByteArray::fromHex("424d36000000000000003600000028000000409c0000409c000001001800");
        const QString left = u"ClickLeft.mid"_s;
        QTest::newRow("left") << ClickRow{1, {}, left};
        QTest::newRow("right") << ClickRow{2, {}, u"ClickRight.mid"_s};
        QTest::newRow("middle") << ClickRow{4, {}, u"ClickMiddle.mid"_s};
        QTest::newRow("no picture") << ClickRow{1, "-", left};
        QTest::newRow("not a picture") << ClickRow{1, "text, not a bitmap", left};
        QTest::newRow("40000 x 40000 bitmap in 54 bytes") << ClickRow{1, bomb.leftJustified(54, 0), left};
    }
    void clicks()
    {
        QFETCH(ClickRow, row);
        const auto [buttons, picture, plays] = row;
        // A picture, or a file the pattern leaves out, or a broken picture.
        picture.isEmpty() ? w->picture(u"p.bmp"_s, Qt::red)
                          : w->write(picture == "-" ? u"p.png"_s : u"p.bmp"_s, picture);
        Form1 &form = w->start();
        QApplication::clipboard()->setText(u"pasted"_s, QClipboard::Selection);
        form.Timer2.start();
        QTest::mousePress(form.Text1->viewport(), Qt::MouseButton(buttons), Qt::ShiftModifier);
        QCOMPARE(form.Picture1->isVisible(), picture.isEmpty());
        QVERIFY(!form.Timer2.isActive()); // a hide pending from before is called off
        QCOMPARE(w->playing(), plays);
        QTest::mouseRelease(form.Text1->viewport(), Qt::MouseButton(buttons));
        QCOMPARE(w->text(), QString()); // the middle button pastes nothing
    }

    void picturesFollowThePointerAndGo600MillisecondsAfterRelease()
    {
        const QList<QColor> colours{Qt::red, Qt::green, Qt::blue}; // the list is sorted by name
        w->picture(u"a.bmp"_s, colours[0]);
        w->picture(u"b.bmp"_s, colours[1]);
        w->picture(u"c.bmp"_s, colours[2]);
        Form1 &form = w->start();
        QPoint strip(form.width() - 1, form.Text1->height() + 2); // below the text box, beside the frame
        while (form.childAt(strip)) {
            strip.rx() -= 1;
        }
        QTest::mousePress(&form, Qt::LeftButton, {}, strip);
        QCOMPARE(form.Picture1->pos(), strip); // top-left at the pointer
        QWidget *box = form.Text1->viewport();
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(200, 60)); // the picture stays while held
        QTest::mouseMove(box, QPoint(120, 90));
        QTRY_COMPARE(form.Picture1->pos(), QPoint(120, 90));
        QTest::qWait(700); // longer than the interval, and it does not go
        QVERIFY(form.Picture1->isVisible());
        QElapsedTimer released;
        released.start();
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(120, 90));
        QTRY_VERIFY(!form.Picture1->isVisible());
        QVERIFY(released.elapsed() >= 600);    // a busy machine can only make it later
        QCOMPARE(form.Timer2.interval(), 600); // so no later than that on an idle one
        QTest::mouseMove(box, QPoint(40, 40)); // moves the hidden box and shows nothing
        QTRY_COMPARE(form.Picture1->pos(), QPoint(40, 40));
        QTest::mousePress(form.Label1, Qt::LeftButton, {}, QPoint(5, 5)); // the help lines keep their clicks
        QVERIFY(!form.Picture1->isVisible());
        form.Text1_MouseDown(1 | 2, 0, 0, 0); // two buttons in one press: the left one's song
        QCOMPARE(w->playing(), u"ClickLeft.mid"_s);
        QList<QColor> seen, expected; // keys and pictures draw from one generator, never seeded
        Random::Restart();
        for (int i = 0; i < 12; ++i) {
            w->press(Qt::Key_A);
            QTest::mouseClick(box, Qt::LeftButton);
            seen << w->colour() << form.Picture1->pixmap().toImage().pixelColor(5, 5);
        }
        Random::Restart();
        for (int i = 0; i < 12; ++i) {
            expected << Form1::ColourOf(Form1::KeyColours[size_t(Random::Next() * 8)]);
            expected << colours[int(Random::Next() * 3.0f)];
        }
        QCOMPARE(seen, expected);
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
