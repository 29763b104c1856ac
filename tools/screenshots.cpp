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
    const QImage image = SystemTest::grabScreen(area);
    return !image.isNull() && image.save(path);
}

QRect windowNamed(const QString &title)
{
    return SystemTest::windowGeometry(SystemTest::waitForWindow(title));
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    QDir().mkpath(out);
    SystemTest::ZubeloCopy zubelo;
    QFile first(QStringLiteral(ZUBELO_FIRST_OPTIONS));
    if (!first.open(QIODevice::ReadOnly) || !zubelo.writeFile(QStringLiteral("Option.dat"), first.readAll())
        || !zubelo.start() || !zubelo.focus()) {
        fprintf(stderr, "the program did not start\n");
        return 1;
    }
    const QRect window = zubelo.windowGeometry();
    SystemTest::xdoTool(
        {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("abc")});
    SystemTest::xdoTool(
        {QStringLiteral("mousemove"), QString::number(window.x() + 330), QString::number(window.y() + 60)});
    SystemTest::xdoTool({QStringLiteral("mousedown"), QStringLiteral("1")});
    QThread::msleep(300);
    bool ok = save(window, out + QStringLiteral("/play-window.png"));
    SystemTest::xdoTool({QStringLiteral("mouseup"), QStringLiteral("1")});
    QThread::msleep(1200);

    SystemTest::xdoTool({QStringLiteral("key"), QStringLiteral("shift+m")});
    QRect dialog = windowNamed(QStringLiteral("曲の設定"));
    QThread::msleep(300);
    ok = ok && save(dialog, out + QStringLiteral("/music-settings.png"));
    SystemTest::xdoTool({QStringLiteral("key"), QStringLiteral("Escape")});
    QThread::msleep(300);
    zubelo.focus();
    SystemTest::xdoTool({QStringLiteral("key"), QStringLiteral("shift+v")});
    dialog = windowNamed(QStringLiteral("表示の設定"));
    QThread::msleep(300);
    ok = ok && save(dialog, out + QStringLiteral("/display-settings.png"));
    SystemTest::xdoTool({QStringLiteral("key"), QStringLiteral("Escape")});
    QThread::msleep(300);

    // A screen-sized window: a picture held under the pointer, then the 3 key's song with its verse.
    zubelo.focus();
    const QString id = QString::number(zubelo.window());
    SystemTest::xdoTool({QStringLiteral("windowmove"), id, QStringLiteral("0"), QStringLiteral("0")});
    SystemTest::xdoTool({QStringLiteral("windowsize"), id, QStringLiteral("1280"), QStringLiteral("770")});
    QThread::msleep(500);
    const QRect large = zubelo.windowGeometry();
    SystemTest::xdoTool({QStringLiteral("mousemove"), QString::number(large.x() + large.width() * 3 / 4),
                         QString::number(large.y() + large.height() / 5)});
    SystemTest::xdoTool({QStringLiteral("mousedown"), QStringLiteral("1")});
    QThread::msleep(300);
    SystemTest::xdoTool({QStringLiteral("key"), QStringLiteral("3")});
    QThread::msleep(500);
    ok = ok && save(large, out + QStringLiteral("/play-lyrics.png"));
    SystemTest::xdoTool({QStringLiteral("mouseup"), QStringLiteral("1")});
    zubelo.requestClose();
    zubelo.waitForExit();
    printf(ok ? "screenshots written to %s\n" : "some screenshots failed (%s)\n", qPrintable(out));
    return ok ? 0 : 1;
}
