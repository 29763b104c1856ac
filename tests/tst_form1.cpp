// SPDX-License-Identifier: GPL-3.0-or-later
// The play window: start and exit, keys and their songs, lyrics, mouse presses and pictures, hot keys.
#include "dialogs/display/formviewoptions.h"
#include "modalwindow.h"
#include "platform/api.h"
#include "widgettestutil.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;
using Key = QKeyCombination;

namespace {

constexpr int SlotEsc = 0, SlotEnter = 51, SlotA = 60, SlotL = 68, SlotShift = 75, SlotV = 79, SlotN = 81,
              SlotM = 82;

// Keeps activation from the window it filters, as a window manager that prevents focus stealing does.
class NoActivation : public QObject
{
    bool eventFilter(QObject *, QEvent *event) override { return event->type() == QEvent::WindowActivate; }
};

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
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(u"file"_s); }
    void init() { w = std::make_unique<PlayWindow>(); }
    void cleanup() { w.reset(); }

    void aRunFromStartToExit()
    {
        const QString before = QDir::currentPath();
        w->record.SongFile.fill(u"b.wav"_s); // every key plays, Shift too
        w->devices.keyboardLock = true;
        Form1 &form = w->start();
        QCOMPARE(form.windowTitle(), u"Zubelo"_s);
        QCOMPARE(form.Label1->text(), u"   終了: Shift+X   曲の設定: Shift+M   表示の設定: Shift+V"_s);
        QCOMPARE(form.Label2->text(),
                 u"   最小化: Shift+S   普通ｻｲｽﾞ: Shift+N   最大化: Shift+L   ﾍﾙﾌﾟ: Shift+H"_s);
        QVERIFY(form.Picture1->isHidden() && !form.Text1->testAttribute(Qt::WA_InputMethodEnabled));
        QCOMPARE(w->colour(), QColor(0, 0, 192));
        QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!(form.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(API::IsTextBoxHooked(form.Text1));
        QCOMPARE(QDir::currentPath(), QDir(w->path()).canonicalPath());
        form.resize(536, 285);
        QTRY_COMPARE(form.Text1->geometry(), QRect(0, 0, 536, 253)); // 480 twips above the bottom
        QCOMPARE(form.Label2->y() + form.Label2->height(), 285);
        QCOMPARE(form.Label1->y() + form.Label1->height(), form.Label2->y());
        QCOMPARE(form.Frame1->geometry().topRight(), QPoint(536 - 2, 253)); // 10 twips from the edge
        w->type(u"ab"_s);
        w->press(Qt::Key_Left); // handled keys leave the caret alone
        w->press(Qt::Key_Home);
        w->type(u"c\rd!"_s);
        w->press(Qt::Key_Backspace);
        w->press(Qt::Key_Tab); // types, and keeps the focus
        w->press(Qt::ALT | Qt::Key_A);
        QCOMPARE(w->text(), u"abc\nd\t"_s);
        QVERIFY(form.Text1->hasFocus());

        QTest::ignoreMessage(
            QtWarningMsg, "Zubelo cannot hold the keyboard: it is not running on X11 (platform offscreen)");
        w->press(Qt::CTRL | Qt::SHIFT | Qt::Key_L);
        QTRY_VERIFY(form.isMaximized());
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        w->type(u"e"_s); // the keyboard is not held, and the toy plays on
        QCOMPARE(w->text(), u"abc\nd\te"_s);
        w->press(Qt::SHIFT | Qt::Key_N);
        QTRY_COMPARE(form.minimumSize(), form.maximumSize()); // at normal size the border is fixed
        w->press(Qt::Key_S);                                  // without Shift only keys
        w->press(Qt::Key_H);
        QVERIFY(!form.isMinimized() && !form.isMaximized() && m_opened.isEmpty());
        w->press(Qt::SHIFT | Qt::Key_S);
        QTRY_VERIFY(form.isMinimized());
        w->press(Qt::SHIFT | Qt::Key_L);
        QTRY_VERIFY(form.isMaximized());
        w->press(Qt::SHIFT | Qt::Key_H);
        QTRY_VERIFY(form.isMinimized());
        QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(w->path(u"Help.htm"_s))});

        Form1 second(OfflineDevices()); // leaves at its first show, even if it is never activated
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

    void nothingInTheWindowOpensAMenu()
    {
        Form1 &form = w->start();
        int popups = 0;
        QTimer closer; // a menu would open inside the request and stay until closed
        connect(&closer, &QTimer::timeout, this, [&popups] {
            if (QWidget *popup = QApplication::activePopupWidget()) {
                popups += popup->close();
            }
        });
        closer.start(5);
        QList<QWidget *> parts = form.findChildren<QWidget *>();
        for (QWidget *part : parts << &form) { // the scroll bar's menu once stalled the toy
            for (auto reason : {QContextMenuEvent::Mouse, QContextMenuEvent::Keyboard}) {
                QContextMenuEvent request(reason, QPoint(2, 2), part->mapToGlobal(QPoint(2, 2)));
                if (part->isVisible()) {
                    QApplication::sendEvent(part, &request);
                }
            }
        }
        QCOMPARE(popups, 0);
    }

    void settingsAtStart_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("listed"); // the folder the pictures come from
        QTest::addColumn<int>("fontSize");
        QTest::addColumn<int>("shown"); // a size the font can take
        QTest::newRow("relative folder") << u"pics"_s << u"pics"_s << 48 << 48;
        QTest::newRow("folder in another case") << u"PICS"_s << u"pics"_s << 0 << 1;
        QTest::newRow("folder that vanished") << u"gone"_s << QString() << 2160 << 2160;
        QTest::newRow("a file, not a folder") << u"Option.dat"_s << QString() << 32767 << 2160;
        QTest::newRow("empty") << QString() << QString() << -20 << 1;
    }
    void settingsAtStart()
    {
        QFETCH(QString, folder);
        QFETCH(QString, listed);
        QFETCH(int, fontSize);
        QFETCH(int, shown);
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
        QCOMPARE(int(Options::Settings().InputFontSize), fontSize);
    }

    void keySongs_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<Key>("key");
        QTest::addColumn<QString>("plays");  // empty: the music stopped
        QTest::addColumn<QString>("dialog"); // opened with the music stopped, and answered
        const QString music = u"FormMusicOptions"_s, none;
        QTest::newRow("A") << SlotA << u"a.wav"_s << Key(Qt::Key_A) << u"a.wav"_s << none;
        QTest::newRow("Esc") << SlotEsc << u"a.wav"_s << Key(Qt::Key_Escape) << u"a.wav"_s << none;
        QTest::newRow("unknown key: Enter's")
            << SlotEnter << u"a.wav"_s << Key(Qt::Key_Launch0) << u"a.wav"_s << none;
        QTest::newRow("Shift alone") << SlotShift << u"a.wav"_s << (Qt::SHIFT | Qt::Key_Shift) << u"a.wav"_s
                                     << none;
        QTest::newRow("Shift+N") << SlotN << u"a.wav"_s << (Qt::SHIFT | Qt::Key_N) << u"a.wav"_s << none;
        QTest::newRow("Shift+M") << SlotM << u"a.wav"_s << (Qt::SHIFT | Qt::Key_M) << u"a.wav"_s << music;
        QTest::newRow("Ctrl+Shift+M")
            << SlotM << u"a.wav"_s << (Qt::CTRL | Qt::SHIFT | Qt::Key_M) << u"a.wav"_s << music;
        QTest::newRow("Shift+V") << SlotV << u"a.wav"_s << (Qt::SHIFT | Qt::Key_V) << u"a.wav"_s
                                 << u"FormViewOptions"_s;
        QTest::newRow("Alt+L") << SlotL << u"a.wav"_s << (Qt::ALT | Qt::Key_L) << u"ClickLeft.mid"_s << none;
        QTest::newRow("Alt+A: A's own") << SlotA << u"a.wav"_s << (Qt::ALT | Qt::Key_A) << u"a.wav"_s << none;
        QTest::newRow("MID in capitals") << SlotA << u"t.MID"_s << Key(Qt::Key_A) << u"t.MID"_s << none;
        QTest::newRow(".midi is no song") << SlotA << u"t.midi"_s << Key(Qt::Key_A) << none << none;
        QTest::newRow("spelled otherwise") << SlotA << u"A.WAV"_s << Key(Qt::Key_A) << u"a.wav"_s << none;
        QTest::newRow("no song") << SlotA << none << Key(Qt::Key_A) << none << none;
    }
    void keySongs()
    {
        QFETCH(int, slot);
        QFETCH(QString, stored);
        QFETCH(Key, key);
        QFETCH(QString, plays);
        QFETCH(QString, dialog);
        QVERIFY(QFile::copy(w->path(u"ClickLeft.mid"_s), w->path(u"t.MID"_s)));
        QVERIFY(QFile::copy(w->path(u"ClickLeft.mid"_s), w->path(u"t.midi"_s)));
        w->record.SongFile.fill(u"b.wav"_s); // so Shift, Ctrl and Alt play before the key
        w->record.SongFile[size_t(slot)] = stored;
        w->start();
        const QColor before = w->colour();
        QString opened;
        WhenModalOpens<QDialog> answer([&](QDialog *window) {
            opened += QString::fromLatin1(window->metaObject()->className()) + w->playing();
            if (auto *display = qobject_cast<FormViewOptions *>(window)) {
                display->Text1->setText(u"99"_s); // takes effect at once
                display->CommandOK->click();
            } else {
                window->reject();
            }
        });
        w->press(key);
        QCOMPARE(opened, dialog);
        QCOMPARE(w->playing(), plays);
        QCOMPARE(w->fontSize(), opened == u"FormViewOptions"_s ? 99 : 1);
        QVERIFY(!key.keyboardModifiers().testFlag(Qt::AltModifier)
                || w->colour() == before); // Alt paints not
        QVERIFY(w->form->isVisible() && !w->form->isMinimized());
    }

    void repeat_data()
    {
        QTest::addColumn<bool>("repeat");
        QTest::addColumn<Key>("key");
        QTest::addColumn<bool>("again");
        QTest::newRow("repeat on") << true << Key(Qt::Key_A) << true;
        QTest::newRow("repeat off") << false << Key(Qt::Key_A) << false;
        QTest::newRow("Esc never repeats") << true << Key(Qt::Key_Escape) << false;
    }
    void repeat()
    {
        QFETCH(bool, repeat);
        QFETCH(Key, key);
        QFETCH(bool, again);
        w->record.PlayRepeat = repeat;
        w->record.SongFile[SlotA] = w->record.SongFile[SlotEsc] = u"a.wav"_s;
        w->start();
        QSignalSpy ended(&w->form->MMControl1, &MediaControl::Done); // heard after the window's handler
        w->press(key);
        for (int time = 1; time <= 2; ++time) { // and again, without end
            w->render(0.3);
            QTRY_COMPARE(ended.count(), again ? time : 1);
            QCOMPARE(w->playing(), again ? u"a.wav"_s : QString());
        }
    }

    void waitFlagHoldsKeysBackButNotEsc()
    {
        w->record.PlayWait = true;
        w->record.SongFile[SlotA] = u"a.wav"_s;
        w->record.SongFile[80] = u"b.wav"_s; // B
        w->start();
        w->press(Qt::Key_B);
        const QColor colour = w->colour();
        w->type(u"xya"_s);      // held back: the song and the colour stay; the characters are typed
        w->press(Qt::Key_Left); // and an arrow moves the caret as usual
        QCOMPARE(w->text(), u"bxya"_s);
        QCOMPARE(w->form->Text1->textCursor().position(), 3);
        QCOMPARE(w->colour(), colour);
        QCOMPARE(w->playing(), u"b.wav"_s);
        QCOMPARE(int(w->form->lastPressedCode()), 37);
        w->press(Qt::Key_Escape); // Esc passes and, with no song of its own, stops the music
        QCOMPARE(w->playing(), QString());
        w->press(Qt::Key_A);
        QCOMPARE(w->playing(), u"a.wav"_s);
    }

    void lyrics_data()
    {
        QTest::addColumn<QString>("song");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown"); // empty: no lyrics
        const QByteArray frog("\x82\xa9\x82\xa6\x82\xe9\r\n\x95\x5c no uta\r\nlast");
        const QByteArray huge = QByteArray("0123456789abcde\n").repeated(200000);
        QTest::newRow("Shift-JIS lines")
            << u"a.wav"_s << u"a.txt"_s << frog << u"かえる\n表 no uta\nlast\n"_s;
        QTest::newRow("name in capitals") << u"a.wav"_s << u"A.TXT"_s << QByteArray("uta") << u"uta\n"_s;
        QTest::newRow("huge file is cut")
            << u"a.wav"_s << u"a.txt"_s << huge << QString::fromLatin1(huge.left(Form1::MaxLyricsBytes));
        QTest::newRow("a folder") << u"a.wav"_s << u"a.txt/x"_s << QByteArray("uta") << QString();
        QTest::newRow("a hidden file") << u".h.wav"_s << u".h.txt"_s << QByteArray("uta") << QString();
        QTest::newRow("song name of two characters")
            << u"C:"_s << u"C.txt"_s << QByteArray("uta") << QString();
    }
    void lyrics()
    {
        QFETCH(QString, song);
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        w->write(file, bytes);
        w->record.SongFile[SlotA] = song;
        w->record.InputFontSize = 40;
        w->record.LyricsFontSize = 20;
        w->start();
        w->type(u"za"_s); // lyrics replace the typing
        QCOMPARE(w->fontSize(), shown.isEmpty() ? 40 : 20);
        w->form->Text1->moveCursor(QTextCursor::End);
        w->press(Qt::Key_A); // lyrics afresh, and the key's character lands at their start
        QCOMPARE(w->text(), shown.isEmpty() ? u"zaa"_s : u"a"_s + shown);
        QCOMPARE(w->form->Text1->textCursor().position(), shown.isEmpty() ? 3 : 1);
        w->press(Qt::Key_B); // no lyrics: a box of lyrics is emptied, typing grows
        QCOMPARE(w->text(), shown.isEmpty() ? u"zaab"_s : u"b"_s);
        QCOMPARE(w->fontSize(), 40);
    }

    void clicks_data()
    {
        QTest::addColumn<int>("buttons"); // 1 left, 2 right, 4 middle
        QTest::addColumn<QByteArray>("picture");
        QTest::addColumn<QString>("plays");
        auto le32 = [](quint32 v) { return QByteArray(reinterpret_cast<const char *>(&v), 4); };
        const QByteArray bomb = "BM" + le32(54) + le32(0) + le32(54) + le32(40) + le32(40000) + le32(40000)
                                + QByteArray("\x01\x00\x18\x00", 4) + le32(0).repeated(6);
        QTest::newRow("left") << 1 << QByteArray() << u"ClickLeft.mid"_s;
        QTest::newRow("right") << 2 << QByteArray() << u"ClickRight.mid"_s;
        QTest::newRow("middle") << 4 << QByteArray() << u"ClickMiddle.mid"_s;
        QTest::newRow("left and right: left only") << 3 << QByteArray() << u"ClickLeft.mid"_s;
        QTest::newRow("no picture") << 1 << QByteArray("-") << u"ClickLeft.mid"_s;
        QTest::newRow("not a picture") << 1 << QByteArray("text, not a bitmap") << u"ClickLeft.mid"_s;
        QTest::newRow("40000 x 40000 bitmap in 54 bytes") << 1 << bomb << u"ClickLeft.mid"_s;
    }
    void clicks()
    {
        QFETCH(int, buttons);
        QFETCH(QByteArray, picture);
        QFETCH(QString, plays);
        // A picture, or a file the pattern leaves out, or a broken picture.
        picture.isEmpty() ? w->picture(u"p.bmp"_s, Qt::red)
                          : w->write(picture == "-" ? u"p.png"_s : u"p.bmp"_s, picture);
        Form1 &form = w->start();
        QApplication::clipboard()->setText(u"pasted"_s, QClipboard::Selection);
        form.Timer2.start();
        const auto button = buttons == 3 ? Qt::NoButton : Qt::MouseButton(buttons);
        if (button == Qt::NoButton) {
            form.Text1_MouseDown(buttons, 0, 300, 300); // two buttons in one press
        } else {
            QTest::mousePress(form.Text1->viewport(), button, Qt::ShiftModifier, QPoint(20, 20));
        }
        QCOMPARE(form.Picture1->isVisible(), picture.isEmpty());
        QVERIFY(!form.Timer2.isActive()); // a hide pending from before is called off
        QCOMPARE(w->playing(), plays);
        QTest::mouseRelease(form.Text1->viewport(), button == Qt::NoButton ? Qt::LeftButton : button);
        QVERIFY(!QApplication::activePopupWidget());
        QCOMPARE(w->text(), QString()); // the middle button pastes nothing
    }

    void picturesFollowThePointerAndGoOneIntervalAfterRelease()
    {
        const QList<QColor> colours{Qt::red, Qt::green, Qt::blue}; // the list is sorted by name
        w->picture(u"a.bmp"_s, colours[0]);
        w->picture(u"b.JPG"_s, colours[1]);
        w->picture(u"c.bmp"_s, colours[2]);
        Form1 &form = w->start();
        form.Timer2.setInterval(200);
        QPoint strip(form.width() - 1, form.Text1->height() + 2); // below the text box, beside the frame
        while (form.childAt(strip)) {
            strip.rx() -= 1;
        }
        QTest::mousePress(&form, Qt::LeftButton, {}, strip);
        QCOMPARE(form.Picture1->pos(), strip); // top-left at the pointer
        QCOMPARE(w->playing(), u"ClickLeft.mid"_s);
        QTest::mouseRelease(&form, Qt::LeftButton, {}, strip);
        QWidget *box = form.Text1->viewport();
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(200, 60)); // the picture stays while held
        QTest::mouseMove(box, QPoint(120, 90));
        QTRY_COMPARE(form.Picture1->pos(), QPoint(120, 90));
        QTest::qWait(300); // longer than the interval, and it does not go
        QVERIFY(form.Picture1->isVisible());
        QElapsedTimer released;
        released.start();
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(120, 90));
        QTRY_VERIFY(!form.Picture1->isVisible());
        QVERIFY(released.elapsed() >= 200);    // a busy machine can only make it later
        QTest::mouseMove(box, QPoint(40, 40)); // moves the hidden box and shows nothing
        QTRY_COMPARE(form.Picture1->pos(), QPoint(40, 40));
        QTest::mousePress(form.Label1, Qt::LeftButton, {}, QPoint(5, 5)); // the help lines keep their clicks
        QVERIFY(!form.Picture1->isVisible());
        // Keys and pictures draw from one generator, never seeded.
        QList<QColor> seen;
        Random::Restart();
        for (int i = 0; i < 12; ++i) {
            w->press(Qt::Key_A);
            QTest::mouseClick(box, Qt::LeftButton);
            seen << w->colour() << form.Picture1->pixmap().toImage().pixelColor(5, 5);
        }
        Random::Restart();
        for (int i = 0; i < 24; i += 2) {
            QCOMPARE(seen[i], Form1::ColourOf(Form1::KeyColours[size_t(Random::Next() * 8)]));
            QVERIFY(qAbs(seen[i + 1].hue() - colours[int(Random::Next() * 3.0f)].hue()) < 20);
        }
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
