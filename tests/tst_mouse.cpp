// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse presses on the play window: pictures at the pointer and click songs.
#include "app/form1.h"
#include "platform/random.h"
#include "settings/options.h"
#include "tests/midifile.h"
#include "widgettestutil.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QList<QColor> PictureColours{Qt::red, Qt::green, Qt::yellow, Qt::magenta, Qt::cyan};

} // namespace

class TestMouse : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Form1> m_form;

    void writePictures(int count)
    {
        QVERIFY(QDir(m_dir->path()).mkpath(u"pics"_s));
        const QStringList names{u"a.bmp"_s, u"b.JPG"_s, u"c.gif"_s, u"d.bmp"_s, u"e.bmp"_s};
        for (int i = 0; i < count; ++i) {
            if (names[i].endsWith(u".gif"_s)) {
                // Qt reads GIF but does not write it: one yellow pixel, by hand.
                QFile gif(m_dir->filePath(u"pics/"_s + names[i]));
                QVERIFY(gif.open(QIODevice::WriteOnly));
                gif.write(QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\x00\x00\x00\x00"
                                     "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
                                     35));
                continue;
            }
            QImage image(100, 80, QImage::Format_RGB32);
            image.fill(PictureColours[i]);
            const QByteArray format = QFileInfo(names[i]).suffix().toLower().toLatin1();
            QVERIFY(image.save(m_dir->filePath(u"pics/"_s + names[i]),
                               format == "jpg" ? "JPEG" : format.constData()));
        }
    }

    void start(const QString &imageFolder = u"pics"_s)
    {
        Options::Record record;
        record.ImageFolder = imageFolder;
        record.SongFile[60] = u"a.wav"_s;
        QVERIFY(bool(Options::WriteOptionsFile(m_dir->filePath(u"Option.dat"_s), record)));
        m_form = std::make_unique<Form1>(OfflineDevices());
        m_form->resize(536, 285);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    QColor pictureColour() const
    {
        const QImage image = m_form->Picture1->pixmap().toImage();
        return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
    }

    static bool near(const QColor &a, const QColor &b)
    {
        return qAbs(a.red() - b.red()) < 40 && qAbs(a.green() - b.green()) < 40
               && qAbs(a.blue() - b.blue()) < 40;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        Options::SetProgramFolder(m_dir->path());
        Options::Settings() = Options::Record{};
        Random::Restart();
        MidiFile::Song song;
        song.notes = {{0, 480, 72, 100, 0}};
        for (const QString &name : {u"ClickLeft.mid"_s, u"ClickRight.mid"_s, u"ClickMiddle.mid"_s}) {
            QFile file(m_dir->filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(MidiFile::Write(song));
        }
    }
    void cleanup() { m_form.reset(); }

    void onePictureIsShownOnEveryPress()
    {
        writePictures(1);
        start();
        for (int i = 0; i < 3; ++i) {
            QTest::mousePress(m_form->Text1->viewport(), Qt::LeftButton, {}, QPoint(30 + i * 40, 20));
            QVERIFY(m_form->Picture1->isVisible());
            QVERIFY(near(pictureColour(), PictureColours[0]));
            QCOMPARE(m_form->Picture1->pos(), QPoint(30 + i * 40, 20)); // top-left at the pointer
            QTest::mouseRelease(m_form->Text1->viewport(), Qt::LeftButton, {}, QPoint(30 + i * 40, 20));
        }
    }

    void picturesComeFromTheSharedGenerator()
    {
        writePictures(5);
        start();
        QList<QColor> seen;
        Random::Restart();
        for (int i = 0; i < 10; ++i) {
            QTest::mouseClick(m_form->Text1->viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(50, 50));
            seen << pictureColour();
        }
        Random::Restart();
        for (int i = 0; i < 10; ++i) {
            const int index = int(Random::Next() * 5.0f); // the list is sorted by name: a, b, c, d, e
            QVERIFY2(near(seen[i], PictureColours[index]), qPrintable(QString::number(i)));
        }
    }

    void clickSongs_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("song");
        QTest::newRow("left") << 1 << u"ClickLeft.mid"_s;
        QTest::newRow("right") << 2 << u"ClickRight.mid"_s;
        QTest::newRow("middle") << 4 << u"ClickMiddle.mid"_s;
        QTest::newRow("left and right: left only") << 3 << u"ClickLeft.mid"_s;
        QTest::newRow("no button: no song") << 0 << QString();
    }
    void clickSongs()
    {
        QFETCH(int, buttons);
        QFETCH(QString, song);
        start();
        const QColor colour = m_form->Text1->palette().color(QPalette::Base);
        m_form->Text1_MouseDown(buttons, 1, 150, 150); // Shift held: 1 | 4 reaches the key handler
        if (song.isEmpty()) {
            QCOMPARE(m_form->MMControl1.Mode(), int(MediaControl::ModeNotOpen));
        } else {
            QCOMPARE(m_form->MMControl1.FileName(), m_dir->filePath(song));
            QCOMPARE(m_form->MMControl1.Mode(), int(MediaControl::ModePlaying));
            QCOMPARE(m_form->Text1->palette().color(QPalette::Base), colour); // the Alt bit: no new colour
        }
    }

    void pictureFollowsThePointerAndGoesOneIntervalAfterRelease()
    {
        writePictures(2);
        start();
        m_form->Timer2.setInterval(200);
        QWidget *box = m_form->Text1->viewport();
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(box, QPoint(120, 90));
        QTRY_COMPARE(m_form->Picture1->pos(), QPoint(120, 90));
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(120, 90));
        QVERIFY(m_form->Timer2.isActive());
        // A second press cancels the hide; the picture stays while the button is held.
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(200, 60));
        QVERIFY(!m_form->Timer2.isActive());
        QTest::qWait(300); // longer than the interval, and it does not go
        QVERIFY(m_form->Picture1->isVisible());
        QElapsedTimer released;
        released.start();
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(200, 60));
        QTRY_VERIFY(!m_form->Picture1->isVisible());
        QVERIFY(released.elapsed() >= 200); // a busy machine can only make it later
        // Moving with no button moves the hidden box and shows nothing.
        QTest::mouseMove(box, QPoint(40, 40));
        QTRY_COMPARE(m_form->Picture1->pos(), QPoint(40, 40));
        QVERIFY(!m_form->Picture1->isVisible());
    }

    void pressOnTheStripBelowTheTextBoxCountsToo()
    {
        writePictures(1);
        start();
        QPoint strip;
        for (int x = m_form->width() - 1; x >= 0 && strip.isNull(); --x) {
            const QPoint p(x, m_form->Text1->height() + 2);
            if (!m_form->childAt(p)) {
                strip = p;
            }
        }
        QVERIFY(!strip.isNull());
        QTest::mousePress(m_form.get(), Qt::LeftButton, {}, strip);
        QVERIFY(m_form->Picture1->isVisible());
        QCOMPARE(m_form->Picture1->pos(), strip);
        QCOMPARE(m_form->MMControl1.Mode(), int(MediaControl::ModePlaying));
        // The help lines keep their clicks.
        m_form->Picture1->hide();
        QTest::mousePress(m_form->Label1, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!m_form->Picture1->isVisible());
    }

    void emptyFolderPlaysTheSongWithoutAPicture()
    {
        QVERIFY(QDir(m_dir->path()).mkpath(u"empty"_s));
        start(u"empty"_s);
        QTest::mousePress(m_form->Text1->viewport(), Qt::LeftButton, {}, QPoint(30, 30));
        QVERIFY(!m_form->Picture1->isVisible());
        QCOMPARE(m_form->MMControl1.Mode(), int(MediaControl::ModePlaying));
    }

    void brokenPictures_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not a picture") << QByteArray("this is text, not a bitmap");
        QByteArray bomb("BM", 2);
        auto le32 = [](quint32 v) { return QByteArray(reinterpret_cast<const char *>(&v), 4); };
        bomb += le32(54) + le32(0) + le32(54) + le32(40) + le32(40000) + le32(40000);
        bomb += QByteArray("\x01\x00\x18\x00", 4) + le32(0) + le32(0) + le32(2835) + le32(2835) + le32(0)
                + le32(0);
        QTest::newRow("40000 x 40000 bitmap in 54 bytes") << bomb;
    }
    void brokenPictures()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(QDir(m_dir->path()).mkpath(u"pics"_s));
        QFile file(m_dir->filePath(u"pics/broken.bmp"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        start();
        m_form->Timer2.start();
        QTest::mousePress(m_form->Text1->viewport(), Qt::LeftButton, {}, QPoint(30, 30));
        QVERIFY(!m_form->Picture1->isVisible());
        QVERIFY(!m_form->Timer2.isActive());
        QCOMPARE(m_form->MMControl1.Mode(), int(MediaControl::ModePlaying)); // the click goes on
    }

    void rightPressPlaysItsSongAndOpensNoMenu()
    {
        start();
        // A menu opens inside the press or the release that asks for it.
        QTest::mousePress(m_form->Text1->viewport(), Qt::RightButton, {}, QPoint(30, 30));
        QTest::mouseRelease(m_form->Text1->viewport(), Qt::RightButton, {}, QPoint(30, 30));
        QVERIFY(!QApplication::activePopupWidget());
        QCOMPARE(m_form->MMControl1.FileName(), m_dir->filePath(u"ClickRight.mid"_s));
    }

    void nothingInTheWindowOpensAMenu()
    {
        start();
        m_form->Text1->setPlainText(u"line\n"_s.repeated(200)); // more than the box can show
        int popups = 0;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&popups] {
            if (QWidget *popup = QApplication::activePopupWidget()) {
                ++popups;
                popup->close();
            }
        });
        closer.start(5);
        // A menu would open inside the request and stay until the closer shuts it.
        QList<QWidget *> parts = m_form->findChildren<QWidget *>();
        parts << m_form.get();
        for (QWidget *part : std::as_const(parts)) {
            if (!part->isVisible()) {
                continue; // nothing to right-click
            }
            for (auto reason : {QContextMenuEvent::Mouse, QContextMenuEvent::Keyboard}) {
                const QPoint at = part->rect().center();
                QContextMenuEvent request(reason, at, part->mapToGlobal(at));
                QApplication::sendEvent(part, &request);
                QVERIFY2(popups == 0, part->metaObject()->className());
            }
        }
    }

    void middlePressPastesNothing()
    {
        start();
        QApplication::clipboard()->setText(u"pasted"_s, QClipboard::Selection);
        QTest::mouseClick(m_form->Text1->viewport(), Qt::MiddleButton, {}, QPoint(30, 30));
        QVERIFY(!m_form->Text1->toPlainText().contains(u"pasted"_s));
        QCOMPARE(m_form->MMControl1.FileName(), m_dir->filePath(u"ClickMiddle.mid"_s));
    }
};

QTEST_MAIN(TestMouse)
#include "tst_mouse.moc"
