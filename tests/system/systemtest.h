// SPDX-License-Identifier: GPL-3.0-or-later
// The built program in a real X server: a private copy of the program folder,
// real key presses through XTEST (xdotool), screenshots, close requests, and
// what the sound server plays.
#pragma once

#include <QImage>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

namespace SystemTest {

// Runs a command; true when it succeeded. Its standard output goes to output.
bool run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr,
         int timeoutMs = 10000);
// Its standard output alone.
QByteArray output(const QString &program, const QStringList &arguments);
bool xdoTool(const QStringList &arguments, QByteArray *output = nullptr);
// xdotool with a command of words, as "key shift+m".
inline bool xdo(const QString &command)
{
    return xdoTool(command.split(u' '));
}
QImage grabScreen(const QRect &area);
// Pixels of typed text: black on any of the text box's colours.
int darkPixels(const QImage &image);
QRect windowGeometry(quint32 window);
// The visible window with exactly this title (of this process), once it shows; 0 when none does.
quint32 waitForWindow(const QString &title, int timeoutMs = 5000, qint64 pid = 0);
// An Option.dat with the given songs by key slot, PlayWait and PlayRepeat off, and the sizes 36 and 24.
QByteArray optionFile(const QMap<int, QByteArray> &songs);

// Records the sound server's null sink (its monitor): mono, 48 kHz, in 16-bit units.
class SoundRecorder
{
public:
    static constexpr int Rate = 48000;
    // Starts once the recording really hears the sink, which a new one does not at first.
    bool start();
    std::vector<float> samples();
    // The first sample at or after from louder than level (1 is full scale), or -1.
    qint64 firstLoud(float level, size_t from = 0);

private:
    QProcess m_parec;
    QByteArray m_raw;
};

class ZubeloCopy
{
public:
    // Copies the built program folder into a fresh temporary folder.
    ZubeloCopy();

    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    bool writeFile(const QString &name, const QByteArray &bytes) const;
    // Starts the program (the copy's own, unless another is named) in this process's environment and
    // waits for its first window.
    bool start(const QStringList &arguments = {}, const QString &program = QString());
    // Waits for the program's window (or the box it shows first) to show drawn.
    bool findWindow();
    QProcess &process() { return m_process; }
    quint32 window() const { return m_window; }
    QRect windowGeometry() const { return SystemTest::windowGeometry(m_window); }
    // Puts the keyboard focus on the window, as a click on it would.
    bool focus() const { return xdo(QStringLiteral("windowfocus --sync %1").arg(m_window)); }
    // WM_DELETE_WINDOW, as a window manager's close button sends it.
    bool requestClose() const;
    bool waitForExit(int ms = 10000) { return m_process.waitForFinished(ms) || !m_process.processId(); }

private:
    QTemporaryDir m_dir;
    QProcess m_process; // killed when the copy goes, before its folder
    quint32 m_window = 0;
};

} // namespace SystemTest
