// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/display/drivelistbox.h"
#include "dialogs/display/folderlistbox.h"
#include "dialogs/display/formviewoptions.h"
#include "messagecatcher.h"
#include "settings/options.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

class TestFormViewOptions : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;

    QByteArray optionFile() const
    {
        QFile file(Options::OptionFilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        Options::SetProgramFolder(m_dir->path());
        Options::Settings() = Options::Record{};
        Options::Settings().InputFontSize = 36;
        Options::Settings().LyricsFontSize = 24;
        QVERIFY(QDir(m_dir->path()).mkpath(u"pics/inner"_s));
        QVERIFY(QDir(m_dir->path()).mkpath(u"other"_s));
    }

    void opensWithTheStoredValues()
    {
        Options::Settings().ImageFolder = u"pics"_s;
        Options::Settings().LyricsFontSize = -4;
        FormViewOptions dialog;
        QCOMPARE(dialog.windowTitle(), u"表示の設定"_s);
        QCOMPARE(dialog.Text1->text(), u" 36"_s);
        QCOMPARE(dialog.Text2->text(), u"-4"_s);
        QCOMPARE(dialog.Dir1->Path(), m_dir->filePath(u"pics"_s));
        QCOMPARE(dialog.Drive1->itemText(0), u"/"_s);
        QCOMPARE(dialog.focusWidget(), static_cast<QWidget *>(dialog.Drive1));
        QVERIFY(!dialog.Text1->testAttribute(Qt::WA_InputMethodEnabled));
    }

    void folderFallsBackWhenTheStoredOneIsGone_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << QString();
        QTest::newRow("vanished") << u"gone/away"_s;
        QTest::newRow("a Windows path") << u"D:\\Pictures"_s;
    }
    void folderFallsBackWhenTheStoredOneIsGone()
    {
        QFETCH(QString, stored);
        Options::Settings().ImageFolder = stored;
        FormViewOptions dialog;
        QCOMPARE(dialog.Dir1->Path(), m_dir->path());
    }

    void fontSizeLimits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("size");
        QTest::newRow("0") << u"0"_s << true << 0;
        QTest::newRow("2160") << u"2160"_s << true << 2160;
        QTest::newRow("2160.5") << u"2160.5"_s << false << 0;
        QTest::newRow("-1") << u"-1"_s << false << 0;
        QTest::newRow("empty is 0") << QString() << true << 0;
        QTest::newRow("12abc") << u"12abc"_s << true << 12;
        QTest::newRow("12.5 to even") << u"12.5"_s << true << 12;
        QTest::newRow("13.5 to even") << u"13.5"_s << true << 14;
        QTest::newRow("1e400") << u"1e400"_s << false << 0;
        QTest::newRow("exponent of ten digits") << u"1e0000000003"_s << true << 1000;
        QTest::newRow("hundreds of digits") << QString(400, u'9') << false << 0;
        QTest::newRow("hundreds of zeros, then 36") << QString(400, u'0') + u"36"_s << true << 36;
    }
    void fontSizeLimits()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QFETCH(int, size);
        MessageCatcher boxes;
        FormViewOptions dialog;
        QSignalSpy applied(&dialog, &FormViewOptions::inputFontSizeChanged);
        dialog.show();
        dialog.Text1->setText(text);
        dialog.Text2->setText(text);
        QTest::mouseClick(dialog.CommandOK, Qt::LeftButton);
        QCOMPARE(!dialog.isVisible(), accepted);
        if (accepted) {
            QVERIFY(boxes.texts.isEmpty());
            QCOMPARE(int(Options::Settings().InputFontSize), size);
            QCOMPARE(int(Options::Settings().LyricsFontSize), size);
            QCOMPARE(applied.count(), 1);
            QCOMPARE(applied.at(0).at(0).toInt(), size);
            QVERIFY(!optionFile().isEmpty());
        } else {
            QCOMPARE(boxes.texts, QStringList{u"設定内容に誤りがあります"_s});
            QCOMPARE(dialog.focusWidget(), static_cast<QWidget *>(dialog.Text1));
            QCOMPARE(Options::Settings().InputFontSize, qint16(36));
            QCOMPARE(applied.count(), 0);
            QVERIFY(optionFile().isEmpty());
        }
    }

    void lyricsSizeIsCheckedToo()
    {
        MessageCatcher boxes;
        FormViewOptions dialog;
        dialog.show();
        dialog.Text2->setText(u"3000"_s);
        QTest::mouseClick(dialog.CommandOK, Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget(), static_cast<QWidget *>(dialog.Text2));
    }

    void unchangedFolderStaysRelative()
    {
        Options::Settings().ImageFolder = u"pics"_s;
        MessageCatcher boxes;
        FormViewOptions dialog;
        QSignalSpy folder(&dialog, &FormViewOptions::pictureFolderChanged);
        dialog.show();
        QTest::mouseClick(dialog.CommandOK, Qt::LeftButton);
        QVERIFY(boxes.texts.isEmpty());
        QCOMPARE(Options::Settings().ImageFolder, u"pics"_s);
        QCOMPARE(folder.count(), 0);
        QVERIFY(optionFile().contains("\r\npics\r\n")); // written all the same
    }

    // OK with the list left where it opened changes no folder when what it shows
    // stands in for the stored one, or when its full path cannot be stored.
    void folderLeftWhereItOpenedKeepsTheStoredText_data()
    {
        QTest::addColumn<QString>("programFolder");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("opened");
        QTest::newRow("vanished") << QString() << u"gone/away"_s << QString();
        QTest::newRow("vanished, program folder the file cannot hold") << u"zoë"_s << u"gone"_s << u"zoë"_s;
        QTest::newRow("empty, program folder the file cannot hold") << u"zoë"_s << QString() << u"zoë"_s;
        QTest::newRow("folder in another case") << QString() << u"PICS"_s << u"pics"_s;
    }
    void folderLeftWhereItOpenedKeepsTheStoredText()
    {
        QFETCH(QString, programFolder);
        QFETCH(QString, stored);
        QFETCH(QString, opened);
        QVERIFY(QDir(m_dir->path()).mkpath(u"zoë"_s));
        Options::SetProgramFolder(programFolder.isEmpty() ? m_dir->path() : m_dir->filePath(programFolder));
        Options::Settings().ImageFolder = stored;
        MessageCatcher boxes;
        FormViewOptions dialog;
        QSignalSpy folder(&dialog, &FormViewOptions::pictureFolderChanged);
        QCOMPARE(dialog.Dir1->Path(), QDir::cleanPath(m_dir->filePath(opened)));
        dialog.show();
        QTest::mouseClick(dialog.CommandOK, Qt::LeftButton);
        QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join(u'\n')));
        QCOMPARE(Options::Settings().ImageFolder, stored);
        QCOMPARE(folder.count(), 0);
        QVERIFY(optionFile().contains("\r\n" + stored.toUtf8() + "\r\n 36 \r\n"));
    }

    void changedFolderIsStoredAbsolute_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("another folder") << u"other"_s;
        QTest::newRow("same folder with a trailing separator") << u"pics/"_s;
    }
    void changedFolderIsStoredAbsolute()
    {
        QFETCH(QString, stored);
        Options::Settings().ImageFolder = stored;
        MessageCatcher boxes;
        FormViewOptions dialog;
        QSignalSpy folder(&dialog, &FormViewOptions::pictureFolderChanged);
        QVERIFY(dialog.Dir1->SetPath(m_dir->filePath(u"pics"_s)));
        dialog.show();
        QTest::mouseClick(dialog.CommandOK, Qt::LeftButton);
        QVERIFY(boxes.texts.isEmpty());
        QCOMPARE(Options::Settings().ImageFolder, m_dir->filePath(u"pics"_s));
        QCOMPARE(folder.count(), 1);
        QCOMPARE(folder.at(0).at(0).toString(), m_dir->filePath(u"pics"_s));
    }

    void newFolderStaysInUseAfterAFailedSizeAndCancel()
    {
        Options::Settings().ImageFolder = u"pics"_s;
        MessageCatcher boxes;
        FormViewOptions dialog;
        QSignalSpy folder(&dialog, &FormViewOptions::pictureFolderChanged);
        dialog.show();
        QVERIFY(dialog.Dir1->SetPath(m_dir->filePath(u"other"_s)));
        dialog.Text1->setText(u"3000"_s);
        QTest::mouseClick(dialog.CommandOK, Qt::LeftButton);
        QCOMPARE(boxes.texts.size(), 1);
        QCOMPARE(folder.count(), 1);
        QTest::mouseClick(dialog.CommandCancel, Qt::LeftButton);
        QCOMPARE(Options::Settings().ImageFolder, m_dir->filePath(u"other"_s));
        QCOMPARE(Options::Settings().InputFontSize, qint16(36));
        QVERIFY(optionFile().isEmpty());
    }

    void escAndEnter()
    {
        MessageCatcher boxes;
        FormViewOptions dialog;
        dialog.show();
        dialog.Text1->setText(u"99"_s);
        QTest::keyClick(dialog.Text1, Qt::Key_Return);
        QVERIFY(dialog.isVisible()); // Enter does not press OK
        QTest::keyClick(dialog.Text1, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(Options::Settings().InputFontSize, qint16(36));
    }

    void folderListOpensFoldersByDoubleClick()
    {
        FolderListBox list;
        QVERIFY(list.SetPath(m_dir->filePath(u"pics"_s)));
        QListWidgetItem *inner = list.item(list.count() - 1);
        QCOMPARE(inner->text().trimmed(), u"inner"_s);
        emit list.itemActivated(inner);
        QCOMPARE(list.Path(), m_dir->filePath(u"pics/inner"_s));
        QVERIFY(!list.SetPath(m_dir->filePath(u"gone"_s)));
        QCOMPARE(list.Path(), m_dir->filePath(u"pics/inner"_s));
        QCOMPARE(DriveListBox::DriveOf(m_dir->path()), DriveListBox::DriveOf(QDir::tempPath()));
    }
};

QTEST_MAIN(TestFormViewOptions)
#include "tst_formviewoptions.moc"
