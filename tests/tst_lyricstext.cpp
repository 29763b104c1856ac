// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ansicodec.h"
#include "settings/lyricstext.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using LyricsText::Encoding;

Q_DECLARE_METATYPE(LyricsText::Encoding)

class TestLyricsText : public QObject
{
    Q_OBJECT

private slots:
    void Lines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("cut");
        QTest::addColumn<Encoding>("encoding");
        QTest::addColumn<QStringList>("lines"); // empty: as Shift-JIS always read them
        const QByteArray kaeru("\xE3\x81\x8B\xE3\x81\x88\xE3\x82\x8B"); // かえる in UTF-8
        QTest::newRow("UTF-8 written on Linux")
            << kaeru + "\nno uta\n"
            << false << Encoding::Utf8 << QStringList{u"かえる"_s, u"no uta"_s};
        QTest::newRow("UTF-8 with a byte-order mark")
            << "\xEF\xBB\xBF" + kaeru + "\r\n\rlast" << false << Encoding::Utf8
            << QStringList{u"かえる"_s, QString(), u"last"_s};
        QTest::newRow("UTF-8 cut inside a character")
            << kaeru + "\n" + kaeru.left(7) << true << Encoding::Utf8 << QStringList{u"かえる"_s, u"かえ"_s};
        // かえる and 表 (whose second byte is a backslash) in Shift-JIS.
        QTest::newRow("Shift-JIS") << QByteArray("\x82\xa9\x82\xa6\x82\xe9\r\n\x95\x5c\r\n") << false
                                   << Encoding::ShiftJis << QStringList{u"かえる"_s, u"表"_s};
        QTest::newRow("plain ASCII") << QByteArray("a\r\nb") << false << Encoding::ShiftJis << QStringList{};
        QTest::newRow("UTF-8 with an invalid byte")
            << kaeru + "\xFF" << false << Encoding::ShiftJis << QStringList{};
        QTest::newRow("a whole file ending inside a character")
            << kaeru.left(7) << false << Encoding::ShiftJis << QStringList{};
        QTest::newRow("an overlong form")
            << QByteArray("\xC0\xAF") << false << Encoding::ShiftJis << QStringList{};
    }
    void Lines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, cut);
        QFETCH(Encoding, encoding);
        QFETCH(QStringList, lines);
        QCOMPARE(LyricsText::EncodingOf(bytes, cut), encoding);
        if (lines.isEmpty()) {
            lines = AnsiCodec::ReadLines(bytes, 1000);
        }
        QCOMPARE(LyricsText::Lines(bytes, cut), lines);
    }
};

QTEST_MAIN(TestLyricsText)
#include "tst_lyricstext.moc"
