// SPDX-License-Identifier: GPL-3.0-or-later
// The Debian package as a family gets it: built from the build tree, checked by
// the desktop's own validators, unpacked (not installed) and started from there
// with a fresh home, where its first start makes the user's program folder.
#include "../audiotestutil.h"
#include "settings/options.h"
#include "systemtest.h"

#include <QDirIterator>
#include <QtTest>

using namespace Qt::StringLiterals;
using SystemTest::SoundRecorder;

class TestSystemPackage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_package;

    QString root() const { return m_dir.filePath(u"root"_s); }

private slots:
    void initTestCase()
    {
        QVERIFY(SystemTest::RequireServices());
        QVERIFY(m_dir.isValid());
        QVERIFY(SystemTest::Run(
            u"cpack"_s, {u"--config"_s, u"" ZUBELO_BUILD_DIR "/CPackConfig.cmake"_s, u"-B"_s, m_dir.path()},
            nullptr, 240000));
        m_package = m_dir.filePath(u"zubelo_" ZUBELO_VERSION "_amd64.deb"_s);
        QVERIFY2(QFileInfo::exists(m_package), qPrintable(m_package));
    }

    void laidOutAsADebianGame()
    {
        QByteArray listing;
        QVERIFY(SystemTest::Run(u"dpkg-deb"_s, {u"-c"_s, m_package}, &listing));
        for (const char *path :
             {"./usr/games/zubelo", "./usr/share/zubelo/Option.dat", "./usr/share/zubelo/Help.htm",
              "./usr/share/zubelo/ClickLeft.mid", "./usr/share/applications/" ZUBELO_APP_ID ".desktop",
              "./usr/share/metainfo/" ZUBELO_APP_ID ".metainfo.xml",
              "./usr/share/icons/hicolor/scalable/apps/zubelo.svg",
              "./usr/share/icons/hicolor/48x48/apps/zubelo.png", "./usr/share/man/man6/zubelo.6.gz",
              "./usr/share/zubelo/songs/", "./usr/share/zubelo/pictures/"}) {
            QVERIFY2(listing.contains(QByteArray(path) + '\n'), path);
        }
        QByteArray depends;
        QVERIFY(SystemTest::Run(u"dpkg-deb"_s, {u"-f"_s, m_package, u"Depends"_s}, &depends));
        for (const char *package :
             {"libqt6widgets6", "libfluidsynth3", "libsndfile1", "libsdl2-2.0-0", "libasound2",
              "fonts-ipafont-gothic", "timgm6mb-soundfont | fluid-soundfont-gm"}) {
            QVERIFY2(depends.contains(package), package);
        }
        QVERIFY(SystemTest::Run(u"dpkg"_s, {u"-x"_s, m_package, root()}));
        QByteArray report;
        QVERIFY2(SystemTest::Run(u"desktop-file-validate"_s,
                                 {root() + u"/usr/share/applications/" ZUBELO_APP_ID ".desktop"_s}, &report),
                 report.constData());
        QVERIFY2(SystemTest::Run(u"appstreamcli"_s,
                                 {u"validate"_s, u"--no-net"_s,
                                  root() + u"/usr/share/metainfo/" ZUBELO_APP_ID ".metainfo.xml"_s},
                                 &report),
                 report.constData());
    }

    void firstStartMakesTheUsersFolderAndAKeyPlays()
    {
        QVERIFY2(QFileInfo::exists(root() + u"/usr/games/zubelo"_s), "unpacked by the test before");
        QProcess zubelo;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"HOME"_s, m_dir.filePath(u"home"_s));
        environment.insert(u"XDG_DATA_HOME"_s, m_dir.filePath(u"data"_s));
        zubelo.setProcessEnvironment(environment);
        zubelo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        zubelo.start(root() + u"/usr/games/zubelo"_s, {});
        QVERIFY(zubelo.waitForStarted());
        const quint32 window = SystemTest::WaitForWindow(u"Zubelo"_s, 15000);
        QVERIFY(window);

        const QString folder = m_dir.filePath(u"data/Zubelo"_s);
        QFile settings(folder + u"/Option.dat"_s);
        QFile first(root() + u"/usr/share/zubelo/Option.dat"_s);
        QVERIFY(settings.open(QIODevice::ReadOnly) && first.open(QIODevice::ReadOnly));
        const QByteArray bytes = settings.readAll();
        QCOMPARE(bytes, first.readAll());
        QVERIFY(QFileInfo(settings).isWritable());
        // Every song the first settings name is there, relative to the user's folder.
        Options::Record record;
        Options::ParseOptions(bytes, record);
        int songs = 0;
        for (const QString &song : record.SongFile) {
            QVERIFY2(song.isEmpty() || QFileInfo::exists(folder + u'/' + song), qPrintable(song));
            songs += !song.isEmpty();
        }
        QVERIFY(songs > 0);
        QVERIFY(QFileInfo::exists(folder + u"/ClickLeft.mid"_s));

        // Alt+L plays the left click song from the user's folder.
        SoundRecorder recorder;
        QVERIFY(recorder.Start());
        QVERIFY(SystemTest::XdoTool({u"windowfocus"_s, u"--sync"_s, QString::number(window)}));
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"alt+l"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(recorder.FirstLoudSample(0, 0.05f) >= 0, 5000);
        QVERIFY(SystemTest::XdoTool({u"key"_s, u"shift+x"_s}));
        QVERIFY(zubelo.waitForFinished(10000));
        QCOMPARE(zubelo.exitCode(), 0);
    }
};

QTEST_MAIN(TestSystemPackage)
#include "tst_sys_package.moc"
