// SPDX-License-Identifier: GPL-3.0-or-later
#include "systemtest.h"

#include <QFile>
#include <QFileInfo>
#include <QtTest>
#include <csignal>

using namespace Qt::StringLiterals;
using SystemTest::ZubeloCopy;

namespace {

bool playsSound(qint64 pid)
{
    QByteArray out;
    SystemTest::Run(u"pactl"_s, {u"list"_s, u"sink-inputs"_s}, &out);
    return out.contains("application.process.id = \"" + QByteArray::number(pid) + '"');
}

} // namespace

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

        QVERIFY(SystemTest::XdoTool(
            {u"type"_s, u"--delay"_s, u"30"_s, u"wo"_s})); // no Shift: Shift+M would open a dialog
        QTRY_VERIFY_WITH_TIMEOUT(SystemTest::DarkPixels(SystemTest::GrabScreen(textBox)) > before + 500,
                                 5000);
        const int twoLetters = SystemTest::DarkPixels(SystemTest::GrabScreen(textBox));

        // Backspace really deletes what was typed.
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"--delay"_s, u"30"_s, u"BackSpace"_s, u"BackSpace"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(SystemTest::DarkPixels(SystemTest::GrabScreen(textBox)) < twoLetters / 4,
                                 5000);

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

    void quitSignalsEndTheProgramAsACloseDoes_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("dialogOpen");
        QTest::newRow("kill") << SIGTERM << false;
        QTest::newRow("Ctrl+C in a terminal") << SIGINT << false;
        QTest::newRow("kill with the music dialog open") << SIGTERM << true;
    }
    void quitSignalsEndTheProgramAsACloseDoes()
    {
        QFETCH(int, signalNumber);
        QFETCH(bool, dialogOpen);
        ZubeloCopy zubelo;
        // Sizes written as no dialog writes them, so any save would show.
        const QByteArray settings =
            SystemTest::OptionFile({{60, "ClickLeft.mid"}}, false, 36, 24).replace(" 36 ", "36.0");
        QVERIFY(zubelo.WriteFile(u"Option.dat"_s, settings));
        const QDateTime written = QFileInfo(zubelo.FilePath(u"Option.dat"_s)).lastModified();
        QVERIFY(zubelo.Start());
        QVERIFY(zubelo.Focus());
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"a"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(playsSound(zubelo.Process().processId()), 5000); // the sound library runs
        if (dialogOpen) {
            QVERIFY(SystemTest::XdoTool({u"key"_s, u"shift+m"_s}));
            QVERIFY(SystemTest::WaitForWindow(u"曲の設定"_s));
        }
        QCOMPARE(::kill(pid_t(zubelo.Process().processId()), signalNumber), 0);
        QVERIFY2(zubelo.WaitForExit(5000), "the signal was ignored");
        QCOMPARE(zubelo.Process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(zubelo.Process().exitCode(), 0);
        QFile file(zubelo.FilePath(u"Option.dat"_s));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), settings);
        QCOMPARE(QFileInfo(file).lastModified(), written);
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
