// SPDX-License-Identifier: GPL-3.0-or-later
// The built program in a real X server: a private copy of the program folder,
// real key presses through XTEST (xdotool), screenshots and close requests.
#pragma once

#include <QDeadlineTimer>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace SystemTest {

// Fails the test when the X server or sound server of the test command is missing.
bool RequireServices();

// Runs a command; true when it succeeded. Its standard output goes to output.
bool Run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr,
         int timeoutMs = 10000);

// Runs xdotool with the arguments; true when it succeeded.
bool XdoTool(const QStringList &arguments, QByteArray *output = nullptr, int timeoutMs = 10000);

// A screenshot of part of the screen.
QImage GrabScreen(const QRect &area);

// Pixels of typed text: black on any of the text box's colours.
int DarkPixels(const QImage &image);

// Where a window is on the screen.
QRect WindowGeometry(quint32 window);

// The visible window with exactly this title, once it shows; 0 when none does.
quint32 WaitForWindow(const QString &title, int timeoutMs = 5000);

// An Option.dat with the given songs by key slot, both flags, and the two font sizes.
QByteArray OptionFile(const QMap<int, QByteArray> &songs, bool playRepeat = false, int inputSize = 48,
                      int lyricsSize = 24);

// Records what the sound server plays (the monitor of its null sink), mono
// 48 kHz, in pieces each stamped with the time it arrived.
class SoundRecorder
{
public:
    static constexpr int Rate = 48000;

    // 96 frames are 2 ms pieces, for timing; larger pieces flow more evenly.
    explicit SoundRecorder(int pieceFrames = 512);
    ~SoundRecorder();
    bool Start();
    // Stops and returns everything recorded since Start().
    std::vector<float> Stop();
    // Samples recorded so far.
    size_t SampleCount() const;
    // Arrival time (steady clock, ns) of the piece that holds sample index.
    qint64 ArrivalOf(size_t sample) const;
    // The first sample at or after from whose level exceeds threshold, or -1.
    qint64 FirstLoudSample(size_t from, float threshold) const;

    // Everything recorded so far; the recording goes on.
    std::vector<float> Samples() const;

private:
    bool playProbe();

    struct State;
    std::unique_ptr<State> m_state;
    int m_pieceFrames;
};

class ZubeloCopy
{
public:
    // Copies the built program folder into a fresh temporary folder.
    ZubeloCopy();
    ~ZubeloCopy();

    QString Folder() const { return m_dir.path(); }
    QString FilePath(const QString &name) const { return m_dir.filePath(name); }
    bool WriteFile(const QString &name, const QByteArray &bytes) const;

    // Starts the program with the given working directory and arguments and waits for its window.
    bool Start(const QString &workingDirectory = QString(), const QStringList &arguments = {});
    // Looks for the program's window again (after a message box, say).
    bool FindWindow(int timeoutMs = 15000);
    // The program's visible windows: its window, and any box it shows.
    int VisibleWindowCount() const;
    // Extra environment for the program, set before Start().
    void SetEnvironment(const QString &name, const QString &value);
    QProcess &Process() { return m_process; }
    quint32 Window() const { return m_window; }
    QRect WindowGeometry() const;

    // Puts the keyboard focus on the window, as a click on it would.
    bool Focus() const;
    // WM_DELETE_WINDOW, as a window manager's close button sends it.
    bool RequestClose() const;
    bool WaitForExit(int timeoutMs = 10000);

private:
    bool waitUntilDrawn(const QDeadlineTimer &deadline) const;

    QTemporaryDir m_dir;
    QProcess m_process;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    quint32 m_window = 0;
};

} // namespace SystemTest
