// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/layout.h"

#include <QtTest>

class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void form1Layout_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("text1Height");
        QTest::addColumn<int>("label1Top");
        QTest::addColumn<int>("label2Top");
        QTest::addColumn<double>("frameLeft");
        QTest::addColumn<double>("frameTop");
        // Help lines 180 high, volume frame 2412 wide.
        QTest::newRow("design client area") << 8040.0 << 4272.0 << 3792.0 << 3912 << 4092 << 5618.0 << 3797.0;
        QTest::newRow("strip height only") << 8040.0 << 480.0 << 0.0 << 120 << 300 << 5618.0 << 5.0;
        QTest::newRow("lower than the strip") << 8040.0 << 300.0 << 0.0 << 0 << 120 << 5618.0 << 5.0;
        QTest::newRow("zero height") << 8040.0 << 0.0 << 0.0 << 0 << 0 << 5618.0 << 5.0;
        QTest::newRow("narrower than the frame")
            << 2000.0 << 4272.0 << 3792.0 << 3912 << 4092 << -422.0 << 3797.0;
        QTest::newRow("only wider") << 12000.0 << 4272.0 << 3792.0 << 3912 << 4092 << 9578.0 << 3797.0;
        QTest::newRow("half rounds to even (down)") << 8040.0 << 482.5 << 2.0 << 122 << 302 << 5618.0 << 7.0;
        QTest::newRow("half rounds to even (up)") << 8040.0 << 483.5 << 4.0 << 124 << 304 << 5618.0 << 9.0;
        QTest::newRow("fractional frame left")
            << 8040.5 << 4272.0 << 3792.0 << 3912 << 4092 << 5618.5 << 3797.0;
        // Past 32767 twips (2185 pixels): a portrait 4K screen, and an 8K one.
        QTest::newRow("3840 high") << 32400.0 << 57600.0 << 57120.0 << 57240 << 57420 << 29978.0 << 57125.0;
        QTest::newRow("8K wall") << 115200.0 << 64800.0 << 64320.0 << 64440 << 64620 << 112778.0 << 64325.0;
    }
    void form1Layout()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(double, text1Height);
        QFETCH(int, label1Top);
        QFETCH(int, label2Top);
        QFETCH(double, frameLeft);
        QFETCH(double, frameTop);
        const Layout::Placement p = Layout::Form1Layout({width, height, 180, 180, 2412});
        QCOMPARE(p.text1Width, width);
        QCOMPARE(double(p.text1Height), text1Height);
        QCOMPARE(p.label1Top, label1Top);
        QCOMPARE(p.label2Top, label2Top);
        QCOMPARE(p.frame1Left, frameLeft);
        QCOMPARE(p.frame1Top, frameTop);
    }

    void twipsToPixels_data()
    {
        QTest::addColumn<double>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("15 twips a pixel") << 15.0 << 1;
        QTest::newRow("design width") << 8040.0 << 536;
        QTest::newRow("rounds") << 3797.0 << 253;
        QTest::newRow("negative rounds away from zero alike") << -422.0 << -28;
    }
    void twipsToPixels()
    {
        QFETCH(double, twips);
        QFETCH(int, pixels);
        QCOMPARE(Layout::TwipsToPixels(twips), pixels);
    }

    void pictureSize_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("shownWidth");
        QTest::addColumn<int>("shownHeight");
        // In a 1000 x 500 window: at most 400 x 200.
        QTest::newRow("fits: own size") << 300 << 150 << 300 << 150;
        QTest::newRow("4000-pixel photo shrinks, keeping its shape") << 4000 << 3000 << 266 << 200;
        QTest::newRow("wide banner") << 2000 << 100 << 400 << 20;
        QTest::newRow("16-pixel icon grows by whole steps") << 16 << 16 << 64 << 64;
        QTest::newRow("odd small picture") << 30 << 10 << 90 << 30;
        QTest::newRow("64 pixels stays") << 64 << 32 << 64 << 32;
        QTest::newRow("no picture") << 0 << 0 << 0 << 0;
    }
    void pictureSize()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, shownWidth);
        QFETCH(int, shownHeight);
        const Layout::Size shown = Layout::PictureSize({width, height}, {1000, 500});
        QCOMPARE(shown.width, shownWidth);
        QCOMPARE(shown.height, shownHeight);
    }
};

QTEST_GUILESS_MAIN(TestLayout)
#include "tst_layout.moc"
