// SPDX-License-Identifier: GPL-3.0-or-later
// The play window: start and exit, keys and their songs, lyrics, mouse presses and pictures, hot keys.
// What a key or a click chooses is tst_keyresponse's; here, one case for each way it reaches the window.
#include "display/displaysettingsdialog.h"
#include "display/folderlistbox.h"
#include "modalwindow.h"
#include "privateservices.h"
#include "widgettestutil.h"
#include "windowguard.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

constexpr int SlotEsc = 0, SlotA = 60, SlotB = 80;
enum Step { PressA, PressEsc, ClickLeft };
enum Mixer { NoMixer, WithMixer };
enum Picture { Shown, NotShown };
const QColor Blue(0, 0, 192); // the first key colour

struct FolderRow
{
    QString stored, listed; // listed: none for the program folder
    int fontSize, shown;
};
struct RepeatRow
{
    bool repeat, wait;
    QList<Step> steps;
    QString again; // the song that starts again, none
};
struct ClickRow
{
    QString file;
    QByteArray bytes; // none: a picture
    Picture shown;
};

} // namespace

class TestPlayWindow : public QObject
{
    Q_OBJECT

public slots:
    void openUrl(const QUrl &url) { m_opened << url; }

private:
    std::unique_ptr<PlayFixture> w;
    QList<QUrl> m_opened;

private slots:
    void initTestCase() { QDesktopServices::setUrlHandler(u"file"_s, this, "openUrl"); }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(u"file"_s); }
    void init()
    {
        m_opened.clear();
        w.reset(new PlayFixture);
        QVERIFY(w->ready);
    }
    void cleanup() { w.reset(); }

    void startsReadyToPlay()
    {
        QVERIFY(w->start());
        QCOMPARE(w->window->windowTitle(), u"Zubelo"_s);
        QVERIFY(w->window->clickPicture()->isHidden());
        QVERIFY(!w->box()->testAttribute(Qt::WA_InputMethodEnabled)
                && WindowGuard::isTextBoxHooked(w->box()));
        QCOMPARE(w->colour(), Blue);
        QVERIFY(w->window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!(w->window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QTest::keyClicks(w->box(), u"ab"_s); // keys type their characters
        w->press(Qt::Key_Left);              // handled keys leave the caret alone
        QTest::keyClicks(w->box(), u"c\rd!\b\t"_s);
        w->press(Qt::CTRL | Qt::Key_E); // Ctrl and Alt combinations type nothing
        QCOMPARE(w->text(), u"abc\nd\t"_s);
        w->window->setSizeState(PlayWindow::SizeState::Maximised);  // the parts follow the new client area:
        QTRY_COMPARE(w->box()->height(), w->window->height() - 32); // a strip of 480 twips below the box
        QCOMPARE(w->window->volumeFrame()->geometry().right(), w->window->width() - 2);
    }

    // A second copy leaves as soon as it shows, even where a window manager never activates it.
    void secondCopyLeaves()
    {
        PlayWindow copy(ProgramFolder(w->path()), {}, offlineDevices(), true);
        QShowEvent shown; // and nothing more
        QApplication::sendEvent(&copy, &shown);
        QTRY_VERIFY(!WindowGuard::isTextBoxHooked(copy.typingBox())); // it has closed
    }

    void helpKeyMinimisesAndOpensThePage()
    {
        w->record.songFile[65] = u"b.wav"_s; // H
        QVERIFY(w->start());
        w->press(Qt::SHIFT | Qt::Key_H);
        QTRY_VERIFY(w->window->isMinimized());
        QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(w->path(u"Help.htm"_s))});
        QCOMPARE(w->playing(), u"b.wav"_s); // then the key goes on as any key
    }

    void lockNoticeShowsWhileMaximisedWithoutALock()
    {
        w->devices.keyboardLock = true;
        QVERIFY(w->start());
        PlayWindow &window = *w->window;
        QTest::ignoreMessage(QtWarningMsg, "Zubelo cannot hold the keyboard and the pointer: the offscreen "
                                           "platform offers no way to hold them; it keeps trying");
        w->press(Qt::CTRL | Qt::SHIFT | Qt::Key_L);
        QTRY_VERIFY(window.isMaximized());
        // Nothing here can hold the keyboard: the parent reads so beside the help lines, clear of the slider.
        QTRY_VERIFY(window.lockNotice()->isVisible());
        QCOMPARE(window.lockNotice()->text(), u"キーボードとマウスを固定できません"_s);
        const QRegion others = QRegion(window.settingsHelp()->geometry()) + window.windowHelp()->geometry()
                               + window.volumeFrame()->geometry();
        QVERIFY(window.rect().contains(window.lockNotice()->geometry())
                && !others.intersects(window.lockNotice()->geometry()));
        w->press(Qt::SHIFT | Qt::Key_N);
        QTRY_COMPARE(window.minimumSize(), window.maximumSize()); // at normal size the border is fixed
        QVERIFY(window.lockNotice()->isHidden());                 // and the lock is not wanted
    }

    // Shift, then X alone ends the toy; under a palm, X and the keys after it go on as any key, in order.
    void shiftXEndsOnlyWhenPressedAlone_data()
    {
        QTest::addColumn<QString>("held"); // down before, and let go while another window was active
        QTest::addColumn<QString>("keys"); // going down with Shift held
        QTest::newRow("deliberate") << QString() << u"X"_s;
        QTest::newRow("a palm") << QString() << u"XZC"_s;
        QTest::newRow("after a key let go in another window") << u"a"_s << u"X"_s;
    }
    void shiftXEndsOnlyWhenPressedAlone()
    {
        QFETCH(QString, held);
        QFETCH(QString, keys);
        w->record.songFile.fill(u"b.wav"_s); // every key plays, Shift too
        QVERIFY(w->start());
        for (QChar key : held) {
            QTest::simulateEvent(w->box(), true, key.toUpper().unicode(), {}, key, false);
            QEvent away(QEvent::WindowDeactivate);
            QApplication::sendEvent(w->window.get(), &away);
        }
        QTest::keyPress(w->box(), Qt::Key_Shift);
        for (QChar key : keys) {
            QTest::simulateEvent(w->box(), true, key.unicode(), Qt::ShiftModifier, key, false);
        }
        if (keys.size() > 1) {
            QTest::qWait(2 * HotKeyGate::Settle.count()); // shows only that nothing happens
            QVERIFY(w->window->isVisible());
            QCOMPARE(w->text(), keys);
            return;
        }
        // The song stops, and X's own song never starts.
        QTRY_VERIFY(!w->window->isVisible() && !WindowGuard::isTextBoxHooked(w->box()));
        QCOMPARE(w->playing(), QString());
    }

    void startTakesTheStoredFolderAndFontSize_data()
    {
        QTest::addColumn<FolderRow>("row");
        QTest::newRow("relative folder, a font too large") << FolderRow{u"pics"_s, u"pics"_s, 32767, 2160};
        QTest::newRow("folder in another case, font 0") << FolderRow{u"PICS"_s, u"pics"_s, 0, 1};
        QTest::newRow("folder that vanished") << FolderRow{u"gone"_s, {}, 2160, 2160};
        QTest::newRow("a file, not a folder") << FolderRow{u"Option.dat"_s, {}, 48, 48};
    }
    void startTakesTheStoredFolderAndFontSize()
    {
        QFETCH(FolderRow, row);
        const auto [folder, listed, fontSize, shown] = row;
        for (const QString &name : u"a.BMP b.jpg cjpg d.Gif e.png f.jpeg .g.bmp h.bmp/i"_s.split(u' ')) {
            QVERIFY(w->write(u"pics/"_s + name, {}));
        }
        w->record.pictureFolder = folder;
        w->record.inputFontSize = qint16(fontSize);
        QVERIFY(w->start());
        QCOMPARE(w->fontSize(), shown);
        QCOMPARE(QDir::cleanPath(w->window->clickPicture()->folder()), QDir::cleanPath(w->path(listed)));
        QCOMPARE(w->window->clickPicture()->pictureCount(),
                 listed.isEmpty() ? 0 : 4); // a.BMP b.jpg cjpg d.Gif
        // The record keeps what the parent set: a stand-in folder is for this run only, so a program
        // folder the settings file cannot name never blocks a save.
        QCOMPARE(w->window->settings().pictureFolder, folder);
    }

    // The song stops before the dialog opens; the key's own song plays, and its character is typed, after;
    // the window keeps the settings the dialog leaves.
    void settingsKeysOpenTheirDialog_data()
    {
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("Shift+M") << (Qt::SHIFT | Qt::Key_M) << u"MusicSettingsDialog"_s;
        QTest::newRow("Shift+V") << (Qt::SHIFT | Qt::Key_V) << u"DisplaySettingsDialog"_s;
    }
    void settingsKeysOpenTheirDialog()
    {
        QFETCH(QKeyCombination, key);
        QFETCH(QString, dialog);
        w->record.songFile.fill(u"b.wav"_s); // Shift plays before the key
        QVERIFY(w->start());
        QString opened;                                      // with what plays while it is open
        WhenModalOpens<QDialog> close([&](QDialog *window) { // the close box keeps a ticked box
            opened += QString::fromLatin1(window->metaObject()->className()) + w->playing();
            if (auto *repeat = window->findChild<QCheckBox *>(u"playRepeat"_s)) {
                repeat->click();
            }
            window->close();
        });
        w->press(key);
        QTRY_COMPARE(opened, dialog);
        QTRY_COMPARE(w->playing(), u"b.wav"_s);
        QCOMPARE(w->window->settings().playRepeat, key.key() == Qt::Key_M); // the window keeps it
        QCOMPARE(w->text(), QKeySequence(key.key()).toString().toLower());
    }

    // OK in the display dialog puts its font size and picture folder in use at once.
    void displayChoicesApplyAtOnce()
    {
        QVERIFY(w->picture(u"pics/a.bmp"_s, Qt::red) && w->start());
        WhenModalOpens<DisplaySettingsDialog> ok([this](DisplaySettingsDialog *dialog) {
            dialog->findChild<QLineEdit *>(u"inputFontSize"_s)->setText(u"100"_s);
            dialog->findChild<FolderListBox *>(u"folders"_s)->setPath(w->path(u"pics"_s));
            QTest::mouseClick(dialog->findChild<QPushButton *>(u"ok"_s), Qt::LeftButton);
        });
        w->press(Qt::SHIFT | Qt::Key_V);
        QTRY_COMPARE(w->fontSize(), 100);
        QCOMPARE(w->window->settings().inputFontSize, 100); // and the window keeps what the dialog saved
        QCOMPARE(w->window->clickPicture()->folder(), w->path(u"pics"_s));
        QCOMPARE(w->window->clickPicture()->pictureCount(), 1);
    }

    // A song that ends starts again while the parent asks so, unless Esc was the last key or click.
    void songsRepeatUntilTheNextKey_data()
    {
        QTest::addColumn<RepeatRow>("row");
        const QString a = u"a.wav"_s;
        QTest::newRow("repeat on") << RepeatRow{true, false, {PressA}, a};
        QTest::newRow("repeat off") << RepeatRow{false, false, {PressA}, {}};
        QTest::newRow("Esc's song never repeats") << RepeatRow{true, false, {PressEsc}, {}};
        QTest::newRow("a click after Esc repeats")
            << RepeatRow{true, false, {PressEsc, ClickLeft}, u"ClickLeft.mid"_s};
        QTest::newRow("a key held back after Esc counts") << RepeatRow{true, true, {PressEsc, PressA}, a};
    }
    void songsRepeatUntilTheNextKey()
    {
        QFETCH(RepeatRow, row);
        const auto [repeat, wait, steps, again] = row;
        w->record.playRepeat = repeat;
        w->record.playWait = wait;
        w->record.songFile[SlotA] = w->record.songFile[SlotEsc] = u"a.wav"_s;
        QVERIFY(w->start());
        w->window->audio().synth().waitForFont();
        for (Step step : steps) {
            step == ClickLeft ? QTest::mouseClick(w->box()->viewport(), Qt::LeftButton)
                              : w->press(step == PressEsc ? Qt::Key_Escape : Qt::Key_A);
        }
        // The end of a song a step closed may still be on its way: only an end reached counts.
        QSignalSpy ended(&w->window->player(), &SongPlayer::ended);
        const QVariant reached = QVariant::fromValue(SongPlayer::Ending::ReachedItsEnd);
        std::vector<float> sound(2 * 4800); // 0.1 s
        for (int i = 0; i < 50 && !ended.contains({reached}); ++i) {
            w->window->audio().render(sound.data(), 4800);
            QCoreApplication::processEvents();
        }
        QVERIFY(ended.contains({reached}));
        QCOMPARE(w->playing(), again);
        w->window->audio().render(sound.data(), 4800); // a repeat sounds from the start again
        QCOMPARE(AudioTest::peak(sound) > 0.001, !again.isEmpty());
    }

    void waitFlagHoldsKeysBackButNotEsc()
    {
        w->record.playWait = true;
        w->record.songFile[SlotB] = u"b.wav"_s;
        QVERIFY(w->start());
        w->press(Qt::Key_B);
        const QColor colour = w->colour();
        QTest::keyClicks(w->box(), u"xya"_s); // held back: the song and the colour stay; they type
        w->press(Qt::Key_Left);               // and an arrow moves the caret as usual
        QCOMPARE(w->text(), u"bxya"_s);
        QCOMPARE(w->box()->textCursor().position(), 3);
        QCOMPARE(w->colour(), colour);
        QCOMPARE(w->playing(), u"b.wav"_s);
        w->press(Qt::Key_Escape); // Esc passes and, with no song of its own, stops the music
        QCOMPARE(w->playing(), QString());
    }

    void lyricsFillTheBox_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // of a.txt, beside a.wav; none: no file
        QTest::addColumn<QString>("shown");    // none: no lyrics
        const QByteArray huge = QByteArray("0123456789abcdef\n").repeated(200000); // cut inside a line
        QTest::newRow("huge file is cut") << huge << QString::fromLatin1(huge.left(256 * 1024)) + u'\n';
        QTest::newRow("no lyrics") << QByteArray() << QString();
    }
    void lyricsFillTheBox()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QVERIFY(bytes.isEmpty() || w->write(u"a.txt"_s, bytes));
        w->record.songFile[SlotA] = u"a.wav"_s;
        w->record.lyricsFontSize = 20; // typing shows at the smallest size
        QVERIFY(w->start());
        QTest::keyClicks(w->box(), u"za"_s); // lyrics replace the typing
        QCOMPARE(w->fontSize(), shown.isEmpty() ? 1 : 20);
        w->box()->moveCursor(QTextCursor::End);
        w->press(Qt::Key_A); // lyrics afresh, and the key's character lands at their start
        QCOMPARE(w->text(), shown.isEmpty() ? u"zaa"_s : u"a"_s + shown);
        w->press(Qt::Key_B); // no lyrics: a box of lyrics is emptied, typing grows
        QCOMPARE(w->text(), shown.isEmpty() ? u"zaab"_s : u"b"_s);
        QCOMPARE(w->fontSize(), 1);
    }

    // A middle press: its song, its picture, and nothing pasted.
    void clicksShowAPictureAndPlay_data()
    {
        QTest::addColumn<ClickRow>("row");
        QByteArray bomb = QByteArray::fromHex("424d36000000000000003600000028000000409c0000409c000001001800");
        QTest::newRow("a picture") << ClickRow{u"p.bmp"_s, {}, Shown};
        QTest::newRow("none the pattern lists") << ClickRow{u"p.png"_s, {}, NotShown};
        QTest::newRow("40000 x 40000 bitmap in 54 bytes")
            << ClickRow{u"p.bmp"_s, bomb.leftJustified(54, 0), NotShown};
    }
    void clicksShowAPictureAndPlay()
    {
        QFETCH(ClickRow, row);
        const auto [file, bytes, shown] = row;
        QVERIFY(bytes.isEmpty() ? w->picture(file, Qt::red) : w->write(file, bytes));
        QVERIFY(w->start());
        QApplication::clipboard()->setText(u"pasted"_s, QClipboard::Selection);
        ClickPicture *picture = w->window->clickPicture();
        picture->release();
        QTest::mousePress(w->box()->viewport(), Qt::MiddleButton, Qt::ShiftModifier);
        QCOMPARE(picture->isVisible(), shown == Shown);
        QVERIFY(!picture->hidePending()); // a hide pending from before is called off
        QCOMPARE(w->playing(), u"ClickMiddle.mid"_s);
        QTest::mouseRelease(w->box()->viewport(), Qt::MiddleButton);
        QCOMPARE(w->text(), QString());
    }

    // A right click or the menu key opens no edit menu over the typing box.
    void typingBoxOpensNoMenu()
    {
        QVERIFY(w->start());
        QTest::mouseClick(w->window->windowHandle(), Qt::RightButton, {}, w->box()->geometry().center());
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, {}, {}); // as the X11 platform sends the key
        QApplication::sendEvent(w->box(), &menuKey);
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
    }

    // Presses draw among all the folder's pictures, the last one too, and show them at the pointer.
    void everyPictureComesUpAtThePointer()
    {
        QVERIFY(w->picture(u"a.bmp"_s, Qt::red) && w->picture(u"b.bmp"_s, Qt::blue) && w->start());
        QSet<QRgb> shown;
        for (int press = 0; press < 20; ++press) {
            QTest::mouseClick(w->box()->viewport(), Qt::LeftButton);
            shown << w->window->clickPicture()->pixmap().toImage().pixel(0, 0);
        }
        QCOMPARE(shown, (QSet<QRgb>{QColor(Qt::red).rgb(), QColor(Qt::blue).rgb()}));
        PlayWindow &window = *w->window;                          // and a picture follows the pointer
        QPoint strip(window.width() - 1, w->box()->height() + 2); // below the box, beside the frame
        while (window.childAt(strip)) {
            strip.rx() -= 1;
        }
        QTest::mousePress(&window, Qt::LeftButton, {}, strip);
        QCOMPARE(window.clickPicture()->pos(), strip); // top-left at the pointer
        QTest::mouseMove(w->box()->viewport(), QPoint(120, 90));
        QTRY_COMPARE(window.clickPicture()->pos(), QPoint(120, 90));
        QTest::mousePress(window.settingsHelp(), Qt::LeftButton, {},
                          QPoint(5, 5)); // the help lines keep theirs
        QCOMPARE(window.clickPicture()->pos(), QPoint(120, 90));
    }

    // Once the mixer is open, both the picture's hide and the slider's focus return wait a second.
    void pictureStaysAfterRelease_data()
    {
        QTest::addColumn<Mixer>("mixer");
        QTest::addColumn<int>("milliseconds");
        QTest::newRow("no mixer") << NoMixer << 600;
        QTest::newRow("a mixer") << WithMixer << 1000;
    }
    void pictureStaysAfterRelease()
    {
        QFETCH(Mixer, mixer);
        QFETCH(int, milliseconds);
        PRIVATE_SERVICES_OR_SKIP(mixer == WithMixer);
        w->devices.mixer = mixer == WithMixer ? u"default"_s : QString();
        QVERIFY(w->picture(u"a.bmp"_s, Qt::red) && w->start());
        ClickPicture *picture = w->window->clickPicture();
        QTest::mousePress(w->box()->viewport(), Qt::LeftButton);
        QTest::qWait(milliseconds + 100); // longer than the wait, and it does not go while held
        QVERIFY(picture->isVisible());
        QElapsedTimer released;
        released.start();
        QTest::mouseRelease(w->box()->viewport(), Qt::LeftButton);
        QTRY_VERIFY(!picture->isVisible());
        // A coarse timer may fire up to 5 % early; a busy machine can only make it later.
        QVERIFY(released.elapsed() >= milliseconds * 95 / 100);
        QCOMPARE(picture->hideAfter(),
                 std::chrono::milliseconds(milliseconds)); // and no later on an idle one
    }
};

QTEST_MAIN(TestPlayWindow)
#include "tst_playwindow.moc"
