// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/music/formmusicoptions.h"
#include "dialogs/music/onscreenkeyboard.h"
#include "messagecatcher.h"
#include "modalwindow.h"
#include "settings/keyslots.h"
#include "settings/options.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

class TestFormMusicOptions : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;

    void touch(const QString &name)
    {
        QFile file(m_dir->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QByteArray optionFile() const
    {
        QFile file(Options::OptionFilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void clickKey(FormMusicOptions &dialog, int slot)
    {
        QLabel *key = dialog.Keyboard->Label1(slot);
        QTest::mouseClick(key, Qt::LeftButton, {}, key->rect().center());
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        Options::SetProgramFolder(m_dir->path());
        QDir::setCurrent(m_dir->path()); // the play window makes the program folder current
        Options::Settings() = Options::Record{};
        touch(u"a.mid"_s);
        touch(u"b.wav"_s);
        touch(u".hidden.mid"_s);
        QVERIFY(QDir(m_dir->path()).mkpath(u"folder.mid"_s));
    }

    void opensOnEscWithItsName()
    {
        Options::Settings().SongFile[0] = u"a.mid"_s;
        FormMusicOptions dialog;
        QCOMPARE(dialog.windowTitle(), u"曲の設定"_s);
        QCOMPARE(dialog.LabelKeyName->text(), u"[Esc]キー"_s);
        QCOMPARE(dialog.TextFilename->text(), u"a.mid"_s);
        QCOMPARE(dialog.CurrentSlot, qint16(0));
        QCOMPARE(dialog.focusWidget(), static_cast<QWidget *>(dialog.TextFilename));
        QCOMPARE(dialog.CheckPlayWait->text().remove(u'\n'), FormMusicOptions::PlayWaitCaption());
        QCOMPARE(dialog.CheckPlayRepeat->text().remove(u'\n'), FormMusicOptions::PlayRepeatCaption());
        QVERIFY(!dialog.CommandOK->isDefault() && !dialog.CommandOK->autoDefault());
    }

    void keyboardHasEveryKeyAndEachSelectsItsSlot()
    {
        FormMusicOptions dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (int slot = 0; slot < KeySlots::SlotCount; ++slot) {
            QLabel *key = dialog.Keyboard->Label1(slot);
            QCOMPARE(key->text(), KeySlots::KeyCaption(slot));
            QVERIFY(key->isVisible());
            clickKey(dialog, slot);
            QCOMPARE(int(dialog.CurrentSlot), slot);
            QCOMPARE(dialog.LabelKeyName->text(), KeySlots::KeyDisplayName(slot) + u"キー"_s);
        }
        // The lower half of Enter and the right-hand copies are keys of their own.
        QCOMPARE(dialog.Keyboard->Label1(109)->frameShape(), QFrame::NoFrame);
        QCOMPARE(dialog.Keyboard->Label1(51)->frameShape(), QFrame::NoFrame);
        QCOMPARE(dialog.Keyboard->Label1(16)->font().pointSizeF(), 4.8);
        QVERIFY(dialog.Keyboard->Label1(88)->alignment() & Qt::AlignHCenter);
        QVERIFY(dialog.Keyboard->Label1(108)->alignment() & Qt::AlignRight);
    }

    void everyCaptionShowsWholeInItsKey()
    {
        FormMusicOptions dialog;
        for (int slot = 0; slot < KeySlots::SlotCount; ++slot) {
            const QLabel *key = dialog.Keyboard->Label1(slot);
            const QRect room = key->contentsRect();
            const int flags = int(key->alignment()) | (key->wordWrap() ? Qt::TextWordWrap : 0);
            const QRect needed = QFontMetrics(key->font()).boundingRect(room, flags, key->text());
            QVERIFY2(room.contains(needed), qPrintable(key->text()));
            // No smaller than the design's smallest caption, so a parent can still read it.
            QVERIFY2(key->font().pointSizeF() >= 4.8, qPrintable(key->text()));
        }
    }

    void keyPlaces_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("Esc") << 0 << QRect(360, 720, 252, 252);
        QTest::newRow("F5 after the gap") << 5 << QRect(1920, 720, 252, 252);
        QTest::newRow("0") << 26 << QRect(2760, 1080, 252, 252);
        QTest::newRow("Tab") << 38 << QRect(360, 1320, 372, 252);
        QTest::newRow("upper Enter") << 51 << QRect(3600, 1320, 372, 252);
        QTest::newRow("keypad + two rows") << 58 << QRect(5760, 1320, 252, 492);
        QTest::newRow("lower Enter") << 109 << QRect(3720, 1560, 252, 252);
        QTest::newRow("left Shift") << 75 << QRect(360, 1800, 612, 252);
        QTest::newRow("right Shift") << 87 << QRect(3600, 1800, 372, 252);
        QTest::newRow("keypad Enter") << 92 << QRect(5760, 1800, 252, 492);
        QTest::newRow("Space") << 97 << QRect(1560, 2040, 732, 252);
        QTest::newRow("right Ctrl") << 103 << QRect(3600, 2040, 372, 252);
        QTest::newRow("keypad 0") << 107 << QRect(5040, 2040, 492, 252);
        QTest::newRow("keypad .") << 108 << QRect(5520, 2040, 252, 252);
    }
    void keyPlaces()
    {
        QFETCH(int, slot);
        QFETCH(QRect, twips);
        const OnScreenKeyboard::KeyPlace place = OnScreenKeyboard::PlaceOfKey(slot);
        QCOMPARE(QRect(place.left, place.top, place.width, place.height), twips);
    }

    void missingNameIsRefusedAndEmptyAccepted()
    {
        Options::Settings().SongFile[0] = u"a.mid"_s;
        MessageCatcher boxes;
        FormMusicOptions dialog;
        dialog.TextFilename->setText(u"nothing-here.mid"_s);
        clickKey(dialog, 60);
        QCOMPARE(
            boxes.texts,
            QStringList{
                u"指定されたﾌｧｲﾙは存在しません。\n  nothing-here.mid\n有効なﾌｧｲﾙを設定してください。"_s});
        QCOMPARE(dialog.CurrentSlot, qint16(0)); // still on Esc
        QCOMPARE(dialog.TextFilename->text(), u"nothing-here.mid"_s);
        QCOMPARE(Options::Settings().SongFile[0], u"a.mid"_s);
        dialog.TextFilename->clear();
        clickKey(dialog, 60);
        QCOMPARE(boxes.texts.size(), 1);
        QCOMPARE(Options::Settings().SongFile[0], QString()); // Esc now has no song
        QCOMPARE(dialog.CurrentSlot, qint16(60));
    }

    void whatCountsAsAnExistingFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("relative to the current folder") << u"b.wav"_s << true;
        QTest::newRow("absolute") << u"<dir>/a.mid"_s << true;
        QTest::newRow("a folder") << u"folder.mid"_s << false;
        QTest::newRow("a hidden file") << u".hidden.mid"_s << false;
        QTest::newRow("wildcard that matches") << u"*.wav"_s << true;
        QTest::newRow("wildcard that matches nothing") << u"?.txt"_s << false;
        QTest::newRow("nonsense path") << u"/\n/x"_s << false;
        QTest::newRow("blanks are not trimmed") << u" b.wav"_s << false;
        QTest::newRow("another letter case, as the play window finds it") << u"<dir>/B.WAV"_s << true;
    }
    void whatCountsAsAnExistingFile()
    {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        MessageCatcher boxes;
        FormMusicOptions dialog;
        dialog.TextFilename->setText(name.replace(u"<dir>"_s, m_dir->path()));
        QCOMPARE(dialog.CommitSongFile(5), accepted);
        QCOMPARE(boxes.texts.isEmpty(), accepted);
        QCOMPARE(Options::Settings().SongFile[5], accepted ? name : QString());
    }

    void nameTheFileCannotHoldIsRefused()
    {
        touch(u"café.mid"_s);
        MessageCatcher boxes;
        FormMusicOptions dialog;
        dialog.TextFilename->setText(u"café.mid"_s);
        QVERIFY(!dialog.CommitSongFile(0));
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY(boxes.texts.first().contains(u"café.mid"_s));
        QVERIFY(Options::Settings().SongFile[0].isEmpty());
    }

    void cancelPutsBackNamesAndFlags_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << u"cancel"_s;
        QTest::newRow("Esc") << u"esc"_s;
    }
    void cancelPutsBackNamesAndFlags()
    {
        QFETCH(QString, how);
        Options::Settings().SongFile[60] = u"a.mid"_s;
        FormMusicOptions dialog;
        dialog.show();
        clickKey(dialog, 60);
        dialog.TextFilename->setText(u"b.wav"_s);
        clickKey(dialog, 61); // stores b.wav for A already
        QCOMPARE(Options::Settings().SongFile[60], u"b.wav"_s);
        QTest::mouseClick(dialog.CheckPlayRepeat, Qt::LeftButton);
        QVERIFY(Options::Settings().PlayRepeat);
        dialog.TextFilename->setText(u"not-checked-at-all"_s);
        if (how == u"esc") {
            QTest::keyClick(&dialog, Qt::Key_Escape);
        } else {
            QTest::mouseClick(dialog.CommandCancel, Qt::LeftButton);
        }
        QVERIFY(!dialog.isVisible());
        QCOMPARE(Options::Settings().SongFile[60], u"a.mid"_s);
        QVERIFY(!Options::Settings().PlayRepeat);
        QVERIFY(optionFile().isEmpty()); // nothing written
    }

    void closeBoxKeepsChangesUnsaved()
    {
        FormMusicOptions dialog;
        dialog.show();
        dialog.TextFilename->setText(u"a.mid"_s);
        clickKey(dialog, 60);
        dialog.TextFilename->setText(u"b.wav"_s); // typed, never committed
        dialog.close();
        QCOMPARE(Options::Settings().SongFile[0], u"a.mid"_s);
        QCOMPARE(Options::Settings().SongFile[60], QString());
        QVERIFY(optionFile().isEmpty());
    }

    void okWritesTheFileAndInvalidOkDoesNot()
    {
        MessageCatcher boxes;
        FormMusicOptions dialog;
        dialog.show();
        clickKey(dialog, 60);
        dialog.TextFilename->setText(u"missing.wav"_s);
        QTest::mouseClick(dialog.CommandOK, Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QVERIFY(optionFile().isEmpty());
        QCOMPARE(boxes.texts.size(), 1);
        dialog.TextFilename->setText(u"b.wav"_s);
        QTest::keyClick(dialog.TextFilename, Qt::Key_Return); // Enter is no OK
        QVERIFY(dialog.isVisible());
        QTest::mouseClick(dialog.CommandOK, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(optionFile().split('\n').at(60), QByteArray("b.wav\r"));
    }

    void failedSaveIsToldAndKeepsTheSettings()
    {
        QVERIFY(QDir(m_dir->path()).mkpath(u"Option.dat"_s)); // nothing can be written there
        MessageCatcher boxes;
        FormMusicOptions dialog;
        dialog.show();
        dialog.TextFilename->setText(u"a.mid"_s);
        QTest::mouseClick(dialog.CommandOK, Qt::LeftButton);
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY(boxes.texts.first().startsWith(u"設定をﾌｧｲﾙに保存できませんでした。"_s));
        QCOMPARE(Options::Settings().SongFile[0], u"a.mid"_s);
        QVERIFY(!dialog.isVisible());
    }

    void openingWithAMissingSlot0NameWarnsOncePerCommit()
    {
        Options::Settings().SongFile[0] = u"gone.mid"_s;
        Options::Settings().PlayWait = true;
        Options::Settings().PlayRepeat = true;
        MessageCatcher boxes;
        FormMusicOptions dialog;
        QCOMPARE(boxes.texts.size(), 3); // the selection of Esc, and each box ticked
        QVERIFY(dialog.LabelKeyName->text().isEmpty());
        QCOMPARE(dialog.TextFilename->text(), u"gone.mid"_s);
        QVERIFY(dialog.CheckPlayWait->isChecked() && dialog.CheckPlayRepeat->isChecked());
    }

    void browserStartsAtTheStoredSongAndStoresTheChoice()
    {
        QVERIFY(QDir(m_dir->path()).mkpath(u"songs"_s));
        touch(u"songs/one.mid"_s);
        touch(u"songs/two.mid"_s);
        Options::Settings().SongFile[0] = m_dir->filePath(u"songs/one.mid"_s);
        const QString before = QDir::currentPath();
        FormMusicOptions dialog;
        dialog.TextFilename->setText(u"typed but not committed"_s);
        QString startFolder;
        QStringList filters;
        QString offeredName;
        // Ready once the list shows the folder: the dialog fills it in the background.
        WhenModalOpens<QFileDialog> browser(
            [&](QFileDialog *dialog) {
                startFolder = dialog->directory().absolutePath();
                filters = dialog->nameFilters();
                auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
                offeredName = name->text();
                dialog->selectFile(u"two.mid"_s); // as a click on it in the list
                QTest::keyClick(name, Qt::Key_Return);
            },
            [](QFileDialog *dialog) {
                auto *list = dialog->findChild<QListView *>(u"listView"_s);
                return list && list->model()->rowCount(list->rootIndex()) == 2;
            });
        dialog.CommandFileBrowse_Click();
        QCOMPARE(browser.handled, 1);
        QCOMPARE(offeredName, u"one.mid"_s); // the stored name, not the typed text
        QCOMPARE(startFolder, m_dir->filePath(u"songs"_s));
        QCOMPARE(filters, (QStringList{u"MIDIファイル (*.mid)"_s, u"WAVEファイル (*.wav)"_s}));
        QCOMPARE(Options::Settings().SongFile[0], m_dir->filePath(u"songs/two.mid"_s));
        QCOMPARE(dialog.TextFilename->text(), m_dir->filePath(u"songs/two.mid"_s));
        QCOMPARE(QDir::currentPath(), before);
    }

    void cancelledBrowserChangesNothing()
    {
        Options::Settings().SongFile[0] = u"a.mid"_s;
        FormMusicOptions dialog;
        dialog.TextFilename->setText(u"typed"_s);
        WhenModalOpens<QFileDialog> browser([](QFileDialog *dialog) { dialog->reject(); });
        dialog.CommandFileBrowse_Click();
        QCOMPARE(browser.handled, 1);
        QCOMPARE(Options::Settings().SongFile[0], u"a.mid"_s);
        QCOMPARE(dialog.TextFilename->text(), u"typed"_s);
    }
};

QTEST_MAIN(TestFormMusicOptions)
#include "tst_formmusicoptions.moc"
