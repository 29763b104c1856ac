// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form1.h"
#include "platform/api.h"
#include "settings/options.h"
#include "widgettestutil.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// Keeps activation from the window it filters.
class NoActivation : public QObject
{
protected:
    bool eventFilter(QObject *, QEvent *event) override { return event->type() == QEvent::WindowActivate; }
};

class TestForm1 : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;

    void writeOptions(const QString &imageFolder, int inputSize, int lyricsSize = 24)
    {
        Options::Record record;
        record.ImageFolder = imageFolder;
        record.InputFontSize = qint16(inputSize);
        record.LyricsFontSize = qint16(lyricsSize);
        QVERIFY(bool(Options::WriteOptionsFile(m_dir->filePath(u"Option.dat"_s), record)));
    }
    void touch(const QString &relativePath)
    {
        QFile file(m_dir->filePath(relativePath));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>(); // a fresh program folder, and a fresh lock, per test
        QVERIFY(m_dir->isValid());
        Options::SetProgramFolder(m_dir->path());
        Options::Settings() = Options::Record{};
    }

    void controlsHaveTheirCaptionsAndDesignState()
    {
        writeOptions(QString(), 48);
        Form1 form(OfflineDevices());
        QCOMPARE(form.windowTitle(), u"Zubelo"_s);
        QCOMPARE(form.Label1->text(), u"   終了: Shift+X   曲の設定: Shift+M   表示の設定: Shift+V"_s);
        QCOMPARE(form.Label2->text(),
                 u"   最小化: Shift+S   普通ｻｲｽﾞ: Shift+N   最大化: Shift+L   ﾍﾙﾌﾟ: Shift+H"_s);
        QCOMPARE(form.Frame1->title(), u"音量"_s);
        QCOMPARE(form.Label3->text(), u"小"_s);
        QCOMPARE(form.Label4->text(), u"大"_s);
        QVERIFY(form.Picture1->isHidden());
        QCOMPARE(form.Timer1.interval(), 120);
        QCOMPARE(form.Timer2.interval(), 600);
        QVERIFY(!form.Timer1.isActive() && !form.Timer2.isActive());
        QCOMPARE(form.Text1->palette().color(QPalette::Base), QColor(0, 0, 192));
        QCOMPARE(form.Text1->font().pointSize(), 48);
        QVERIFY(!form.Text1->testAttribute(Qt::WA_InputMethodEnabled));
        QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(API::IsTextBoxHooked(form.Text1));
    }

    void startupMakesProgramFolderCurrentAndShutdownRestoresIt()
    {
        writeOptions(QString(), 12);
        const QString before = QDir::currentPath();
        QVERIFY(before != QDir(m_dir->path()).canonicalPath());
        {
            Form1 form(OfflineDevices());
            QCOMPARE(form.startDir(), before);
            QCOMPARE(QDir::currentPath(), QDir(m_dir->path()).canonicalPath());
            form.show();
            form.close();
            QVERIFY(!API::IsTextBoxHooked(form.Text1));
            QCOMPARE(QDir::currentPath(), before);
        }
        QCOMPARE(QDir::currentPath(), before);
    }

    void pictureFolder_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("keptInRecord");
        QTest::addColumn<QString>("listedFolder");
        QTest::newRow("relative folder that exists") << u"pics"_s << u"pics"_s << u"pics"_s;
        QTest::newRow("folder that vanished") << u"gone"_s << u"gone"_s << QString();
        QTest::newRow("empty stays empty") << QString() << QString() << QString();
        QTest::newRow("a file, not a folder") << u"Option.dat"_s << u"Option.dat"_s << QString();
        QTest::newRow("folder in another case") << u"PICS"_s << u"PICS"_s << u"pics"_s;
    }
    void pictureFolder()
    {
        QFETCH(QString, stored);
        QFETCH(QString, keptInRecord);
        QFETCH(QString, listedFolder);
        QVERIFY(QDir(m_dir->path()).mkpath(u"pics"_s));
        writeOptions(stored, 12);
        const QByteArray fileBefore = [&] {
            QFile f(m_dir->filePath(u"Option.dat"_s));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        Form1 form(OfflineDevices());
        const QString program = m_dir->path();
        // A stand-in folder is for this run's pictures only.
        QCOMPARE(Options::Settings().ImageFolder, keptInRecord);
        QCOMPARE(QDir::cleanPath(form.File1.Path()), QDir::cleanPath(program + u'/' + listedFolder));
        QFile after(m_dir->filePath(u"Option.dat"_s));
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), fileBefore); // the replacement is for this run only
    }

    void vanishedFolderNeverBlocksASave()
    {
        // A program folder whose path the settings file cannot hold stands in for the vanished one.
        QVERIFY(QDir(m_dir->path()).mkpath(u"zoë"_s));
        Options::SetProgramFolder(m_dir->filePath(u"zoë"_s));
        Options::Record record;
        record.ImageFolder = u"gone"_s;
        QVERIFY(bool(Options::WriteOptionsFile(Options::OptionFilePath(), record)));
        Form1 form(OfflineDevices());
        QCOMPARE(form.File1.Path(), Options::ProgramFolder());
        Options::Settings().SongFile[3] = u"a.mid"_s; // as the music dialog would, before its save
        QVERIFY(bool(Options::SaveOptions()));
    }

    void pictureListMatchesThePatternWithoutCase()
    {
        QVERIFY(QDir(m_dir->path()).mkpath(u"pics/folder.bmp"_s));
        for (const QString &name :
             {u"a.BMP"_s, u"b.jpg"_s, u"cjpg"_s, u"d.Gif"_s, u"e.png"_s, u".hidden.bmp"_s, u"f.jpeg"_s}) {
            touch(u"pics/"_s + name);
        }
        writeOptions(u"pics"_s, 12);
        Form1 form(OfflineDevices());
        QStringList listed;
        for (int i = 0; i < form.File1.ListCount(); ++i) {
            listed << form.File1.List(i);
        }
        QCOMPARE(listed, (QStringList{u"a.BMP"_s, u"b.jpg"_s, u"cjpg"_s, u"d.Gif"_s}));
    }

    void fontSizesTheFontCannotTake_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("shown");
        QTest::newRow("zero is the smallest size") << 0 << 1;
        QTest::newRow("negative") << -20 << 1;
        QTest::newRow("largest allowed") << 2160 << 2160;
        QTest::newRow("beyond the dialog's limit") << 32767 << 2160;
    }
    void fontSizesTheFontCannotTake()
    {
        QFETCH(int, stored);
        QFETCH(int, shown);
        writeOptions(QString(), stored);
        Form1 form(OfflineDevices());
        QCOMPARE(form.Text1->font().pointSize(), shown);
        QCOMPARE(int(Options::Settings().InputFontSize), stored); // the record keeps what the parent set
    }

    void typingShowsTheCharacters()
    {
        writeOptions(QString(), 20);
        Form1 form(OfflineDevices());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::keyClicks(form.Text1, u"ab1"_s);
        QTest::keyClick(form.Text1, Qt::Key_Return);
        QTest::keyClicks(form.Text1, u"xy"_s);
        QTest::keyClick(form.Text1, Qt::Key_Backspace);
        QCOMPARE(form.Text1->toPlainText(), u"ab1\nx"_s);
        QCOMPARE(int(form.lastPressedCode()), 8);
    }

    void contextMenuRequestsAreSwallowed()
    {
        writeOptions(QString(), 20);
        Form1 form(OfflineDevices());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QContextMenuEvent byMouse(QContextMenuEvent::Mouse, QPoint(5, 5),
                                  form.Text1->mapToGlobal(QPoint(5, 5)));
        QVERIFY(QApplication::sendEvent(form.Text1->viewport(), &byMouse));
        QContextMenuEvent byKeyboard(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                     form.Text1->mapToGlobal(QPoint(5, 5)));
        QVERIFY(QApplication::sendEvent(form.Text1, &byKeyboard));
        QVERIFY(!QApplication::activePopupWidget());
        // Other events still reach the box.
        QTest::keyClicks(form.Text1, u"k"_s);
        QCOMPARE(form.Text1->toPlainText(), u"k"_s);
    }

    void layoutFollowsTheClientArea()
    {
        writeOptions(QString(), 20);
        Form1 form(OfflineDevices());
        form.resize(536, 285);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.Text1->geometry(), QRect(0, 0, 536, 253)); // 3795 twips
        QCOMPARE(form.Label2->y() + form.Label2->height(), 285);
        QCOMPARE(form.Label1->y() + form.Label1->height(), form.Label2->y());
        QCOMPARE(form.Frame1->y(), 253);                            // 5 twips below the box round to none
        QCOMPARE(form.Frame1->x() + form.Frame1->width(), 536 - 1); // 10 twips from the right edge
        form.SetWindowState(Form1::Maximized);
        QTRY_VERIFY(form.width() > 536 && form.height() > 285);
        QCOMPARE(form.Text1->width(), form.width());
        QCOMPARE(form.Label2->y() + form.Label2->height(), form.height());
        QCOMPARE(form.Frame1->x() + form.Frame1->width(), form.width() - 1);
    }

    void secondCopyLeavesAtItsFirstShowEvenIfNeverActivated()
    {
        writeOptions(QString(), 20);
        Form1 first(OfflineDevices());
        first.show();
        first.Form_Activate(); // the first copy finds nobody and stays
        // A window manager that prevents focus stealing: the second window is shown, never activated.
        Form1 second(OfflineDevices());
        NoActivation neverActive;
        second.installEventFilter(&neverActive);
        second.show();
        QTRY_VERIFY(!second.isVisible());
        QVERIFY(first.isVisible());
    }

    void shiftHotKeysChangeTheWindowState()
    {
        writeOptions(QString(), 20);
        Form1 form(OfflineDevices());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::keyClick(form.Text1, Qt::Key_L, Qt::ShiftModifier | Qt::ControlModifier);
        QTRY_VERIFY(form.isMaximized());
        QTest::keyClick(form.Text1, Qt::Key_N, Qt::ShiftModifier);
        QTRY_VERIFY(!form.isMaximized() && !form.isMinimized());
        // At normal size the border is fixed; the hot keys still maximise.
        QTRY_COMPARE(form.minimumSize(), form.maximumSize());
        QTest::keyClick(form.Text1, Qt::Key_L, Qt::ShiftModifier);
        QTRY_VERIFY(form.isMaximized());
        QTest::keyClick(form.Text1, Qt::Key_S); // without Shift only a key
        QVERIFY(!form.isMinimized());
        QTest::keyClick(form.Text1, Qt::Key_X, Qt::ShiftModifier);
        QTRY_VERIFY(!form.isVisible());
    }

    void aKeyboardLockThatCannotHoldSaysWhyAndTheToyPlaysOn()
    {
        writeOptions(QString(), 20);
        Form1::Devices devices = OfflineDevices();
        devices.keyboardLock = true;
        Form1 form(devices);
        QTest::ignoreMessage(
            QtWarningMsg, "Zubelo cannot hold the keyboard: it is not running on X11 (platform offscreen)");
        form.SetWindowState(Form1::Maximized);
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::keyClicks(form.Text1, u"ab"_s);
        QCOMPARE(form.Text1->toPlainText(), u"ab"_s);
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
