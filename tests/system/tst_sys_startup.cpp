// SPDX-License-Identifier: GPL-3.0-or-later
#include "systemtest.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using SystemTest::ZubeloCopy;

class TestSystemStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(SystemTest::RequireServices()); }

    void typedKeysAppearAndACloseRequestEndsTheProgram()
    {
        ZubeloCopy zubelo;
        QVERIFY(zubelo.WriteFile(u"Option.dat"_s, SystemTest::OptionFile({}, false, 72, 24)));
        QVERIFY(zubelo.Start());
        QVERIFY(zubelo.Focus());
        const QRect window = zubelo.WindowGeometry();
        QVERIFY(window.width() > 100 && window.height() > 100);
        const QRect textBox(window.topLeft(), QSize(window.width(), window.height() - 40));
        const int before = SystemTest::DarkPixels(SystemTest::GrabScreen(textBox));

        QVERIFY(SystemTest::XdoTool({u"type"_s, u"--delay"_s, u"30"_s, u"wo"_s})); // no Shift: Shift+M would open a dialog
        QTRY_VERIFY_WITH_TIMEOUT(SystemTest::DarkPixels(SystemTest::GrabScreen(textBox)) > before + 500, 5000);
        const int twoLetters = SystemTest::DarkPixels(SystemTest::GrabScreen(textBox));

        // Backspace really deletes what was typed.
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"--delay"_s, u"30"_s, u"BackSpace"_s, u"BackSpace"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(SystemTest::DarkPixels(SystemTest::GrabScreen(textBox)) < twoLetters / 4, 5000);

        QVERIFY(zubelo.RequestClose());
        QVERIFY(zubelo.WaitForExit());
        QCOMPARE(zubelo.Process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(zubelo.Process().exitCode(), 0);
    }

    void secondCopyOfTheSameFolderEndsByItself()
    {
        ZubeloCopy zubelo;
        QVERIFY(zubelo.WriteFile(u"Option.dat"_s, SystemTest::OptionFile({}, false, 36, 24)));
        QVERIFY(zubelo.Start());
        QProcess second;
        second.start(zubelo.FilePath(u"zubelo"_s), {});
        QVERIFY(second.waitForStarted());
        QVERIFY2(second.waitForFinished(15000), "the second copy kept running");
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(zubelo.Process().state(), QProcess::Running); // the first copy is untouched
        QVERIFY(zubelo.RequestClose());
        QVERIFY(zubelo.WaitForExit());
    }

    void brokenSettingsFileStillGivesAWorkingWindow()
    {
        ZubeloCopy zubelo;
        QVERIFY(zubelo.WriteFile(u"Option.dat"_s, QByteArray("\x81\xff\r\n\0\0garbage\n", 16).repeated(500)));
        QVERIFY(zubelo.Start());
        QVERIFY(zubelo.RequestClose());
        QVERIFY(zubelo.WaitForExit());
        QCOMPARE(zubelo.Process().exitCode(), 0);
    }
};

QTEST_MAIN(TestSystemStartup)
#include "tst_sys_startup.moc"
