// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/programfolder.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestProgramFolder : public QObject
{
    Q_OBJECT

private:
    // "name=content" for every file under folder, sorted.
    static QStringList filesUnder(const QString &folder)
    {
        QStringList files;
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly)) {
                return {u"unreadable "_s + file.fileName()};
            }
            files << QDir(folder).relativeFilePath(file.fileName()) + u'='
                         + QString::fromUtf8(file.readAll());
            if (!(file.permissions() & QFile::WriteOwner)) {
                files << u"read-only "_s + file.fileName();
            }
        }
        files.sort();
        return files;
    }
    static void writeFiles(const QString &folder, const QStringList &files, QFile::Permissions permissions)
    {
        for (const QString &entry : files) {
            const QString path = folder + u'/' + entry.section(u'=', 0, 0);
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(entry.section(u'=', 1).toUtf8());
            file.close();
            QVERIFY(file.setPermissions(permissions));
        }
    }

private slots:
    void Choose_data()
    {
        QTest::addColumn<bool>("installed");        // the installed data lies beside the executable
        QTest::addColumn<bool>("writable");         // the executable's folder can be written
        QTest::addColumn<QStringList>("userFiles"); // already in the user's folder
        QTest::addColumn<QString>("chosen");        // "own", "user" or "data"
        QTest::addColumn<QStringList>("userAfter");
        const QStringList installedFiles{u"ClickLeft.mid=click"_s, u"Help.htm=help"_s, u"Option.dat=first"_s,
                                         u"songs/kaeru.mid=kaeru"_s};
        QTest::newRow("a folder of its own is used as it is")
            << false << true << QStringList() << u"own"_s << QStringList();
        QTest::newRow("an installed copy fills a new folder for the user")
            << true << true << QStringList() << u"user"_s << installedFiles;
        QTest::newRow("a parent's own files are never replaced")
            << true << true << QStringList{u"songs/kaeru.mid=mine"_s, u"pics/own.gif=own"_s} << u"user"_s
            << QStringList{u"ClickLeft.mid=click"_s, u"Help.htm=help"_s, u"Option.dat=first"_s,
                           u"pics/own.gif=own"_s, u"songs/kaeru.mid=mine"_s};
        QTest::newRow("a folder with its settings stays as the parent keeps it")
            << true << true << QStringList{u"Option.dat=mine"_s} << u"user"_s
            << QStringList{u"Option.dat=mine"_s};
        QTest::newRow("a folder that cannot be written fills the user's from itself")
            << false << false << QStringList() << u"user"_s
            << QStringList{u"Help.htm=own help"_s, u"Option.dat=own"_s};
        QTest::newRow("no place for the user's folder: the installed data as it is")
            << true << true << QStringList{u"=blocked"_s} << u"data"_s << QStringList();
    }
    void Choose()
    {
        QFETCH(bool, installed);
        QFETCH(bool, writable);
        QFETCH(QStringList, userFiles);
        QFETCH(QString, chosen);
        QFETCH(QStringList, userAfter);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        ProgramFolder::Places places;
        const QString games = root.filePath(u"usr/games"_s);
        places.executable = games + u"/zubelo"_s;
        places.installedData = root.filePath(u"usr/share/zubelo"_s);
        places.perUser = root.filePath(u"home/Zubelo"_s);
        const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        writeFiles(games, {u"zubelo=exe"_s, u"Help.htm=own help"_s, u"Option.dat=own"_s},
                   readOnly | QFile::WriteOwner);
        if (installed) {
            writeFiles(places.installedData,
                       {u"ClickLeft.mid=click"_s, u"Help.htm=help"_s, u"Option.dat=first"_s,
                        u"songs/kaeru.mid=kaeru"_s},
                       readOnly);
        }
        if (userFiles.value(0).startsWith(u'=')) {
            writeFiles(root.filePath(u"home"_s), {u"Zubelo=a file where the folder should be"_s},
                       readOnly | QFile::WriteOwner);
        } else {
            writeFiles(places.perUser, userFiles, readOnly | QFile::WriteOwner);
        }
        if (!writable) {
            QVERIFY(QFile::setPermissions(games, QFile::ReadOwner | QFile::ExeOwner));
            if (QFileInfo(games).isWritable()) {
                QFile::setPermissions(games, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                QSKIP("this user writes into read-only folders (root)");
            }
        }

        const QString folder = ProgramFolder::Choose(places);
        QFile::setPermissions(games, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString expected = chosen == u"own"    ? games
                                 : chosen == u"user" ? places.perUser
                                                     : places.installedData;
        QCOMPARE(folder, expected);
        if (chosen != u"data") {
            QCOMPARE(filesUnder(places.perUser), userAfter);
        }
    }

    void placesOfAnUnpackedPackage()
    {
        qputenv("XDG_DATA_HOME", "/tmp/data-home");
        const ProgramFolder::Places places = ProgramFolder::ForExecutable(u"/tmp/x/usr/games/zubelo"_s);
        QCOMPARE(places.installedData, u"/tmp/x/usr/share/zubelo"_s);
        QCOMPARE(places.perUser, u"/tmp/data-home/Zubelo"_s);
    }
};

QTEST_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
