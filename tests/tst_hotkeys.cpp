// SPDX-License-Identifier: GPL-3.0-or-later
// The parent's Shift hot keys on the play window.
#include "app/form1.h"
#include "audiotestutil.h"
#include "dialogs/display/folderlistbox.h"
#include "dialogs/display/formviewoptions.h"
#include "dialogs/music/formmusicoptions.h"
#include "messagecatcher.h"
#include "modalwindow.h"
#include "settings/options.h"
#include "widgettestutil.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <memory>
#include <sndfile.h>

using namespace Qt::StringLiterals;

class TestHotKeys : public QObject
{
    Q_OBJECT

public slots:
    void openUrl(const QUrl &url) { m_opened << url; }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Form1> m_form;
    QList<QUrl> m_opened;

    void start()
    {
        QVERIFY(AudioTest::WriteTone(m_dir->filePath(u"m.wav"_s), 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
                                     440, 2));
        QVERIFY(AudioTest::WriteTone(m_dir->filePath(u"b.wav"_s), 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
                                     660, 2));
        Options::Record record;
        record.SongFile[82] = u"m.wav"_s; // M
        record.SongFile[79] = u"m.wav"_s; // V
        record.SongFile[80] = u"b.wav"_s; // B
        record.InputFontSize = 30;
        QVERIFY(bool(Options::WriteOptionsFile(m_dir->filePath(u"Option.dat"_s), record)));
        m_form = std::make_unique<Form1>(OfflineDevices());
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        Options::SetProgramFolder(m_dir->path());
        Options::Settings() = Options::Record{};
        m_opened.clear();
        QDesktopServices::setUrlHandler(u"file"_s, this, "openUrl");
    }
    void cleanup()
    {
        m_form.reset();
        QDesktopServices::unsetUrlHandler(u"file"_s);
    }

    void musicDialogStopsTheSongThenTheKeyPlaysItsOwn_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Shift+M") << int(Qt::ShiftModifier);
        QTest::newRow("Ctrl+Shift+M") << int(Qt::ShiftModifier | Qt::ControlModifier);
    }
    void musicDialogStopsTheSongThenTheKeyPlaysItsOwn()
    {
        QFETCH(int, modifiers);
        start();
        QTest::keyClick(m_form->Text1, Qt::Key_B);
        QCOMPARE(m_form->MMControl1.Mode(), int(MediaControl::ModePlaying));
        int modeWhileOpen = -1;
        WhenModalOpens<FormMusicOptions> music([&](FormMusicOptions *dialog) {
            modeWhileOpen = m_form->MMControl1.Mode();
            dialog->CommandCancel->click();
        });
        QTest::keyClick(m_form->Text1, Qt::Key_M, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(music.handled, 1);
        QCOMPARE(modeWhileOpen, int(MediaControl::ModeNotOpen));              // the music stopped first
        QCOMPARE(m_form->MMControl1.FileName(), m_dir->filePath(u"m.wav"_s)); // then M's own song
        QCOMPARE(m_form->MMControl1.Mode(), int(MediaControl::ModePlaying));
    }

    void mAloneOnlyPlaysItsSong()
    {
        start();
        // A dialog would open inside the key press and keep it until closed.
        WhenModalOpens<QDialog> anyDialog([](QDialog *dialog) { dialog->reject(); });
        QTest::keyClick(m_form->Text1, Qt::Key_M);
        QCOMPARE(anyDialog.handled, 0);
        QCOMPARE(m_form->MMControl1.FileName(), m_dir->filePath(u"m.wav"_s));
    }

    void displayDialogAppliesAtOnce()
    {
        start();
        QVERIFY(QDir(m_dir->path()).mkpath(u"pics"_s));
        QImage picture(10, 10, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(m_dir->filePath(u"pics/red.bmp"_s)));
        WhenModalOpens<FormViewOptions> display([this](FormViewOptions *dialog) {
            dialog->Text1->setText(u"99"_s);
            dialog->Dir1->SetPath(m_dir->filePath(u"pics"_s));
            dialog->CommandOK->click();
        });
        QTest::keyClick(m_form->Text1, Qt::Key_V, Qt::ShiftModifier);
        QCOMPARE(display.handled, 1);
        QCOMPARE(m_form->Text1->font().pointSize(), 99);
        QCOMPARE(m_form->File1.Path(), m_dir->filePath(u"pics"_s));
        QCOMPARE(m_form->File1.ListCount(), 1);
    }

    void helpMinimisesAndOpensThePage()
    {
        start();
        QTest::keyClick(m_form->Text1, Qt::Key_H, Qt::ShiftModifier);
        QTRY_VERIFY(m_form->isMinimized());
        QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(m_dir->filePath(u"Help.htm"_s))});
    }

    void shiftAlonePlaysTheShiftSongAndDoesNothingElse()
    {
        start();
        QTest::keyClick(m_form->Text1, Qt::Key_Shift, Qt::ShiftModifier);
        QCOMPARE(int(m_form->lastPressedCode()), 16);
        QVERIFY(m_form->isVisible() && !m_form->isMinimized());
    }
};

QTEST_MAIN(TestHotKeys)
#include "tst_hotkeys.moc"
