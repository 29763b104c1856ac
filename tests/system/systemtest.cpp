// SPDX-License-Identifier: GPL-3.0-or-later
#include "systemtest.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QThread>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <pulse/error.h>
#include <pulse/simple.h>
#include <thread>
#include <xcb/xcb.h>

namespace SystemTest {

namespace {

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : XCB_ATOM_NONE;
    free(reply);
    return atom;
}

} // namespace

bool RequireServices()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") || qEnvironmentVariableIsEmpty("PULSE_SERVER")) {
        qWarning("System tests need the X server and sound server of scripts/with-test-services.sh");
        return false;
    }
    return true;
}

bool Run(const QString &program, const QStringList &arguments, QByteArray *output, int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    if (output) {
        *output = process.readAllStandardOutput();
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool XdoTool(const QStringList &arguments, QByteArray *output, int timeoutMs)
{
    return Run(QStringLiteral("xdotool"), arguments, output, timeoutMs);
}

QImage GrabScreen(const QRect &area)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage()
                  : QImage();
}

struct SoundRecorder::State
{
    std::thread thread;
    std::atomic<bool> stop{false};
    std::atomic<bool> connected{false};
    std::mutex lock;
    std::vector<float> samples;
    std::vector<qint64> arrivals; // one per piece
};

SoundRecorder::SoundRecorder(int pieceFrames) : m_state(std::make_unique<State>()), m_pieceFrames(pieceFrames)
{
}

SoundRecorder::~SoundRecorder()
{
    Stop();
}

bool SoundRecorder::Start()
{
    State *state = m_state.get();
    const QByteArray sink =
        qEnvironmentVariable("ZUBELO_TEST_SINK", QStringLiteral("zubelo_sink")).toUtf8() + ".monitor";
    std::atomic<int> result{0}; // 1 connected, -1 failed
    const int pieceFrames = m_pieceFrames;
    state->thread = std::thread([state, sink, pieceFrames, &result] {
        const pa_sample_spec format{PA_SAMPLE_S16LE, Rate, 1};
        pa_buffer_attr attr{};
        attr.maxlength = uint32_t(-1);
        attr.fragsize = uint32_t(pieceFrames * 2);
        int error = 0;
        pa_simple *stream = pa_simple_new(nullptr, "zubelo-test", PA_STREAM_RECORD, sink.constData(),
                                          "record", &format, nullptr, &attr, &error);
        result = stream ? 1 : -1;
        if (!stream) {
            qWarning("Cannot record from the sound server: %s", pa_strerror(error));
            return;
        }
        std::vector<qint16> piece(static_cast<size_t>(pieceFrames), qint16(0));
        while (!state->stop && pa_simple_read(stream, piece.data(), piece.size() * 2, &error) == 0) {
            const qint64 now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count();
            std::lock_guard guard(state->lock);
            for (qint16 s : piece) {
                state->samples.push_back(float(s) / 32768.0f);
            }
            state->arrivals.push_back(now);
        }
        pa_simple_free(stream);
    });
    while (result == 0) {
        QThread::msleep(5);
    }
    if (result < 0) {
        state->thread.join();
        return false;
    }
    // A new recording stream of the test server hears nothing for its first second
    // or so. Short beeps go into the sink until the recording hears one; once the
    // sink is quiet again, the recording starts afresh.
    const QDeadlineTimer deadline(20000);
    while (FirstLoudSample(0, 0.1f) < 0) {
        if (deadline.hasExpired() || !playProbe()) {
            return false;
        }
        const QDeadlineTimer listen(300);
        while (FirstLoudSample(0, 0.1f) < 0 && !listen.hasExpired()) {
            QThread::msleep(5);
        }
    }
    const size_t quiet = Rate / 4;
    while (!deadline.hasExpired()) {
        {
            std::lock_guard guard(state->lock);
            size_t lastLoud = 0;
            for (size_t i = 0; i < state->samples.size(); ++i) {
                if (std::fabs(state->samples[i]) > 0.01f) {
                    lastLoud = i;
                }
            }
            if (state->samples.size() > lastLoud + quiet) {
                state->samples.clear();
                state->arrivals.clear();
                return true;
            }
        }
        QThread::msleep(20);
    }
    return false;
}

bool SoundRecorder::playProbe()
{
    // 50 ms of a loud 1 kHz tone, played to the end.
    QByteArray tone;
    for (int i = 0; i < Rate / 20; ++i) {
        const qint16 sample = qint16(16000 * std::sin(2 * M_PI * 1000 * i / Rate));
        tone.append(reinterpret_cast<const char *>(&sample), 2);
    }
    const QString sink = qEnvironmentVariable("ZUBELO_TEST_SINK", QStringLiteral("zubelo_sink"));
    QProcess player;
    player.start(QStringLiteral("pacat"),
                 {QStringLiteral("--playback"), QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                  QStringLiteral("--rate=%1").arg(Rate), QStringLiteral("--channels=1"),
                  QStringLiteral("--device=") + sink});
    if (!player.waitForStarted()) {
        return false;
    }
    player.write(tone);
    player.closeWriteChannel();
    return player.waitForFinished(10000) && player.exitCode() == 0;
}

std::vector<float> SoundRecorder::Stop()
{
    if (m_state->thread.joinable()) {
        m_state->stop = true;
        m_state->thread.join();
    }
    std::lock_guard guard(m_state->lock);
    return m_state->samples;
}

std::vector<float> SoundRecorder::Samples() const
{
    std::lock_guard guard(m_state->lock);
    return m_state->samples;
}

size_t SoundRecorder::SampleCount() const
{
    std::lock_guard guard(m_state->lock);
    return m_state->samples.size();
}

qint64 SoundRecorder::ArrivalOf(size_t sample) const
{
    std::lock_guard guard(m_state->lock);
    const size_t piece = sample / size_t(m_pieceFrames);
    return piece < m_state->arrivals.size() ? m_state->arrivals[piece] : -1;
}

qint64 SoundRecorder::FirstLoudSample(size_t from, float threshold) const
{
    std::lock_guard guard(m_state->lock);
    for (size_t i = from; i < m_state->samples.size(); ++i) {
        if (std::fabs(m_state->samples[i]) > threshold) {
            return qint64(i);
        }
    }
    return -1;
}

int DarkPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.red() < 64 && c.green() < 64 && c.blue() < 64;
        }
    }
    return count;
}

QRect WindowGeometry(quint32 window)
{
    QByteArray out;
    if (!XdoTool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), QString::number(window)},
                 &out)) {
        return {};
    }
    QRect rect;
    for (const QByteArray &line : out.split('\n')) {
        const QList<QByteArray> pair = line.split('=');
        if (pair.size() != 2) {
            continue;
        }
        const int value = pair[1].toInt();
        if (pair[0] == "X")
            rect.moveLeft(value);
        if (pair[0] == "Y")
            rect.moveTop(value);
        if (pair[0] == "WIDTH")
            rect.setWidth(value);
        if (pair[0] == "HEIGHT")
            rect.setHeight(value);
    }
    return rect;
}

quint32 WaitForWindow(const QString &title, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QByteArray out;
        if (XdoTool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                     QStringLiteral("^") + title + QStringLiteral("$")},
                    &out)) {
            return out.trimmed().split('\n').first().toUInt();
        }
        QThread::msleep(50);
    }
    return 0;
}

QByteArray OptionFile(const QMap<int, QByteArray> &songs, bool playRepeat, int inputSize, int lyricsSize)
{
    QByteArray bytes;
    for (int slot = 0; slot < 110; ++slot) {
        bytes += songs.value(slot) + "\r\n";
    }
    return bytes + "False\r\n" + (playRepeat ? "True" : "False") + "\r\n\r\n " + QByteArray::number(inputSize)
           + " \r\n " + QByteArray::number(lyricsSize) + " \r\n";
}

ZubeloCopy::ZubeloCopy()
{
    const QString source = QStringLiteral(ZUBELO_PROGRAM_DIR);
    QDirIterator it(source, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = m_dir.filePath(QDir(source).relativeFilePath(from));
        QDir().mkpath(QFileInfo(to).path());
        QFile::copy(from, to);
    }
}

ZubeloCopy::~ZubeloCopy()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

bool ZubeloCopy::WriteFile(const QString &name, const QByteArray &bytes) const
{
    QFile file(m_dir.filePath(name));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool ZubeloCopy::Start(const QString &workingDirectory, const QStringList &arguments)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setProcessEnvironment(m_environment);
    m_process.setWorkingDirectory(workingDirectory.isEmpty() ? QDir::tempPath() : workingDirectory);
    m_process.start(m_dir.filePath(QStringLiteral("zubelo")), arguments);
    if (!m_process.waitForStarted()) {
        return false;
    }
    return FindWindow();
}

bool ZubeloCopy::FindWindow(int timeoutMs)
{
    // The window that carries the program's title and process id.
    m_window = 0;
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        QByteArray out;
        if (XdoTool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                     QString::number(m_process.processId()), QStringLiteral("--name"),
                     QStringLiteral("^Zubelo$")},
                    &out)) {
            m_window = out.trimmed().split('\n').first().toUInt();
            if (m_window) {
                return waitUntilDrawn(deadline);
            }
        }
        QThread::msleep(50);
    }
    return false;
}

bool ZubeloCopy::waitUntilDrawn(const QDeadlineTimer &deadline) const
{
    // A window not yet painted shows the black behind it; every window of the
    // program has a light part.
    while (!deadline.hasExpired()) {
        const QImage shown = GrabScreen(WindowGeometry());
        if (!shown.isNull() && DarkPixels(shown) < shown.width() * shown.height()) {
            return true;
        }
        QThread::msleep(20);
    }
    return false;
}

int ZubeloCopy::VisibleWindowCount() const
{
    QByteArray out;
    if (!XdoTool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                  QString::number(m_process.processId())},
                 &out)) {
        return 0; // xdotool fails when nothing matches
    }
    return int(out.trimmed().split('\n').size());
}

void ZubeloCopy::SetEnvironment(const QString &name, const QString &value)
{
    m_environment.insert(name, value);
}

QRect ZubeloCopy::WindowGeometry() const
{
    return SystemTest::WindowGeometry(m_window);
}

bool ZubeloCopy::Focus() const
{
    return XdoTool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(m_window)});
}

bool ZubeloCopy::RequestClose() const
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = m_window;
    event.type = internAtom(connection, "WM_PROTOCOLS");
    event.data.data32[0] = internAtom(connection, "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, m_window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&event));
    // A round trip makes sure the server has handled the request before this connection goes.
    xcb_get_input_focus_reply_t *reply =
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
    const bool sent = reply != nullptr;
    free(reply);
    xcb_disconnect(connection);
    return sent;
}

bool ZubeloCopy::WaitForExit(int timeoutMs)
{
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
}

} // namespace SystemTest
