// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the README's pictures: the play window, both settings dialogs, and the
// maximised play window singing with its lyrics, all with the build's starter content.
// Run through scripts/screenshots.sh, which provides the X server.
#include "../tests/system/systemtest.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QThread>
#include <cstdio>

namespace {

bool save(const QRect &area, const QString &path)
{
    const QImage image = SystemTest::GrabScreen(area);
    return !image.isNull() && image.save(path);
}

QRect windowNamed(const QString &title)
{
    return SystemTest::WindowGeometry(SystemTest::WaitForWindow(title));
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    QDir().mkpath(out);
    SystemTest::ZubeloCopy zubelo;
    QFile first(QStringLiteral(ZUBELO_FIRST_OPTIONS));
    if (!first.open(QIODevice::ReadOnly) || !zubelo.WriteFile(QStringLiteral("Option.dat"), first.readAll())
        || !zubelo.Start() || !zubelo.Focus()) {
        fprintf(stderr, "the program did not start\n");
        return 1;
    }
    const QRect window = zubelo.WindowGeometry();
    SystemTest::XdoTool(
        {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("abc")});
    SystemTest::XdoTool(
        {QStringLiteral("mousemove"), QString::number(window.x() + 330), QString::number(window.y() + 60)});
    SystemTest::XdoTool({QStringLiteral("mousedown"), QStringLiteral("1")});
    QThread::msleep(300);
    bool ok = save(window, out + QStringLiteral("/play-window.png"));
    SystemTest::XdoTool({QStringLiteral("mouseup"), QStringLiteral("1")});
    QThread::msleep(1200);

    SystemTest::XdoTool({QStringLiteral("key"), QStringLiteral("shift+m")});
    QRect dialog = windowNamed(QStringLiteral("曲の設定"));
    QThread::msleep(300);
    ok = ok && save(dialog, out + QStringLiteral("/music-settings.png"));
    SystemTest::XdoTool({QStringLiteral("key"), QStringLiteral("Escape")});
    QThread::msleep(300);
    zubelo.Focus();
    SystemTest::XdoTool({QStringLiteral("key"), QStringLiteral("shift+v")});
    dialog = windowNamed(QStringLiteral("表示の設定"));
    QThread::msleep(300);
    ok = ok && save(dialog, out + QStringLiteral("/display-settings.png"));
    SystemTest::XdoTool({QStringLiteral("key"), QStringLiteral("Escape")});
    QThread::msleep(300);

    // A screen-sized window: a picture held under the pointer, then the 3 key's song with its verse.
    zubelo.Focus();
    const QString id = QString::number(zubelo.Window());
    SystemTest::XdoTool({QStringLiteral("windowmove"), id, QStringLiteral("0"), QStringLiteral("0")});
    SystemTest::XdoTool({QStringLiteral("windowsize"), id, QStringLiteral("1280"), QStringLiteral("770")});
    QThread::msleep(500);
    const QRect large = zubelo.WindowGeometry();
    SystemTest::XdoTool({QStringLiteral("mousemove"), QString::number(large.x() + large.width() * 3 / 4),
                         QString::number(large.y() + large.height() / 5)});
    SystemTest::XdoTool({QStringLiteral("mousedown"), QStringLiteral("1")});
    QThread::msleep(300);
    SystemTest::XdoTool({QStringLiteral("key"), QStringLiteral("3")});
    QThread::msleep(500);
    ok = ok && save(large, out + QStringLiteral("/play-lyrics.png"));
    SystemTest::XdoTool({QStringLiteral("mouseup"), QStringLiteral("1")});
    zubelo.RequestClose();
    zubelo.WaitForExit();
    printf(ok ? "screenshots written to %s\n" : "some screenshots failed (%s)\n", qPrintable(out));
    return ok ? 0 : 1;
}
