// SPDX-License-Identifier: GPL-3.0-or-later
#include "systemtest.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <xcb/xcb.h>

using namespace Qt::StringLiterals;

namespace SystemTest {

bool run(const QString &program, const QStringList &arguments, QByteArray *output, int timeoutMs)
{
    QProcess process; // killed when it goes, if it has not finished
    process.start(program, arguments);
    const bool finished = process.waitForFinished(timeoutMs);
    if (output) {
        *output = process.readAllStandardOutput();
    }
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool xdoTool(const QStringList &arguments, QByteArray *output)
{
    return run(u"xdotool"_s, arguments, output);
}

QImage grabScreen(const QRect &area)
{
    return qGuiApp->primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
}

int darkPixels(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32); // rows without padding
    const QRgb *pixels = reinterpret_cast<const QRgb *>(rgb.constBits());
    return int(std::count_if(pixels, pixels + rgb.width() * rgb.height(),
                             [](QRgb pixel) { return QColor(pixel).value() < 64; }));
}

QRect windowGeometry(quint32 window)
{
    // From xwininfo (xdotool counts a window manager's title bar twice), whose absolute upper-left corner
    // comes before the relative one.
    const QString info = QString::fromUtf8(output(u"xwininfo"_s, {u"-id"_s, QString::number(window)}));
    const auto value = [&info](const QString &name) {
        return QRegularExpression(name + u":\\s+(-?\\d+)"_s).match(info).captured(1).toInt();
    };
    return QRect(value(u"upper-left X"_s), value(u"upper-left Y"_s), value(u"Width"_s), value(u"Height"_s));
}

QByteArray output(const QString &program, const QStringList &arguments)
{
    QByteArray out;
    run(program, arguments, &out);
    return out;
}

quint32 waitForWindow(const QString &title, int timeoutMs, qint64 pid)
{
    const QStringList search = QStringList{u"search"_s, u"--all"_s, u"--onlyvisible"_s}
                               + (pid ? QStringList{u"--pid"_s, QString::number(pid)} : QStringList())
                               + QStringList{u"--name"_s, u'^' + title + u'$'}; // the pattern comes last
    QByteArray out; // xdotool fails while no window matches
    const bool found = QTest::qWaitFor([&] { return xdoTool(search, &out); }, timeoutMs);
    return found ? out.split('\n')[0].toUInt() : 0;
}

QByteArray optionFile(const QMap<int, QByteArray> &songs)
{
    QByteArray bytes;
    for (int slot = 0; slot < 110; ++slot) {
        bytes += songs.value(slot) + "\r\n";
    }
    return bytes + "False\r\nFalse\r\n\r\n 36 \r\n 24 \r\n";
}

bool SoundRecorder::start()
{
    const QString sink = qEnvironmentVariable("ZUBELO_TEST_SINK", u"zubelo_sink"_s);
    m_parec.start(u"parec"_s, {u"--raw"_s, u"--format=s16le"_s, u"--rate=48000"_s, u"--channels=1"_s,
                               u"--latency-msec=20"_s, u"--device="_s + sink + u".monitor"_s});
    // A tone plays into the sink until the recording hears it; once the sink has been quiet
    // for a quarter of a second, the recording starts afresh.
    const QByteArray sine = output(u"pactl"_s, {u"load-module"_s, u"module-sine"_s, u"sink="_s + sink});
    const bool heard = QTest::qWaitFor([this] { return firstLoud(0.1f) >= 0; }, 20000);
    run(u"pactl"_s, {u"unload-module"_s, QString::fromUtf8(sine.trimmed())});
    const bool quiet = QTest::qWaitFor([this] { return firstLoud(0.01f, samples().size() - Rate / 4) < 0; });
    m_raw.clear();
    return heard && quiet;
}

std::vector<float> SoundRecorder::samples()
{
    m_parec.waitForReadyRead(0);
    m_raw += m_parec.readAllStandardOutput();
    const qint16 *samples = reinterpret_cast<const qint16 *>(m_raw.constData());
    return std::vector<float>(samples, samples + m_raw.size() / 2);
}

qint64 SoundRecorder::firstLoud(float level, size_t from)
{
    const std::vector<float> s = samples();
    const auto loud = std::find_if(s.begin() + qint64(qMin(from, s.size())), s.end(),
                                   [level](float x) { return std::fabs(x) > level * 32768; });
    return loud == s.end() ? -1 : loud - s.begin();
}

ZubeloCopy::ZubeloCopy()
{
    run(u"cp"_s, {u"-a"_s, u"" ZUBELO_PROGRAM_DIR "/."_s, m_dir.path()});
}

bool ZubeloCopy::writeFile(const QString &name, const QByteArray &bytes) const
{
    QFile file(m_dir.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool ZubeloCopy::start(const QStringList &arguments, const QString &program)
{
    m_process.start(program.isEmpty() ? m_dir.filePath(u"zubelo"_s) : program, arguments);
    return m_process.waitForStarted() && findWindow();
}

bool ZubeloCopy::findWindow()
{
    // Not yet painted, a window shows the black behind it; every window of the program has a light part.
    m_window = waitForWindow(u"Zubelo"_s, 15000, m_process.processId());
    const auto drawn = [this] {
        const QImage shown = grabScreen(windowGeometry());
        return darkPixels(shown) < shown.width() * shown.height();
    };
    return m_window && QTest::qWaitFor(drawn, 15000);
}

bool ZubeloCopy::requestClose() const
{
    xcb_connection_t *x = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    xcb_intern_atom_reply_t *protocols =
        xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, 12, "WM_PROTOCOLS"), nullptr);
    xcb_intern_atom_reply_t *close =
        xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, 16, "WM_DELETE_WINDOW"), nullptr);
    xcb_client_message_event_t event{XCB_CLIENT_MESSAGE, 32, 0, m_window, protocols->atom, {}};
    event.data.data32[0] = close->atom;
    free(protocols);
    free(close);
    xcb_send_event(x, 0, m_window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&event));
    free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr)); // the server has it before we go on
    return m_window != 0;
}

} // namespace SystemTest
