// SPDX-License-Identifier: GPL-3.0-or-later
// The play window as widget tests make it: sound rendered offline, no volume mixer.
#pragma once

#include "audiotestutil.h"
#include "options.h"
#include "playwindow.h"

#include <QPlainTextEdit>
#include <QtTest> // and all of QtCore
#include <sndfile.h>

inline PlayWindow::Devices offlineDevices()
{
    return {{AudioEngine::Output::Offline}, QString()}; // sound rendered offline, no mixer
}

// A program folder of its own (so a single-copy lock of its own) holding a short song "a.wav" (0.2 s),
// a long one "b.wav" (2 s) and the left and middle click songs (a MIDI tune of 1 s); start() makes the window
// on it. Whatever a test leaves behind, the fixture's end gives back the program folder and the current
// folder it found.
class PlayFixture
{
    QTemporaryDir m_dir; // outlives the window, which leaves it at exit
    const QString m_folderBefore = Options::programFolder();
    const QString m_currentBefore = QDir::currentPath();

public:
    std::unique_ptr<PlayWindow> window;
    Options::Record record; // what start() writes to Option.dat
    PlayWindow::Devices devices = offlineDevices();
    bool ready = false; // every file made

    PlayFixture()
    {
        Options::setProgramFolder(m_dir.path());
        const int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        ready =
            AudioTest::writeTone(path(QStringLiteral("a.wav")), 48000, 1, format, 440, 0.2)
            && AudioTest::writeTone(path(QStringLiteral("b.wav")), 48000, 1, format, 440, 2)
            && QFile::copy(QStringLiteral(ZUBELO_TEST_SONGS "/a4.mid"), path(QStringLiteral("ClickLeft.mid")))
            && QFile::copy(QStringLiteral(ZUBELO_TEST_SONGS "/a4.mid"),
                           path(QStringLiteral("ClickMiddle.mid")));
    }
    ~PlayFixture()
    {
        window.reset(); // the last window goes before a new folder comes
        Options::setProgramFolder(m_folderBefore);
        QDir::setCurrent(m_currentBefore);
    }
    QString path(const QString &name = {}) const { return m_dir.filePath(name); }
    bool write(const QString &name, const QByteArray &bytes)
    {
        QFile file(path(name));
        return QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly)
               && file.write(bytes) == bytes.size();
    }
    // A picture of one colour; the format follows the name.
    bool picture(const QString &name, const QColor &colour)
    {
        QImage image(100, 80, QImage::Format_RGB32);
        image.fill(colour);
        return QDir().mkpath(QFileInfo(path(name)).path()) && image.save(path(name));
    }
    // The window on the settings of record, read from Option.dat as at a real start.
    bool start()
    {
        if (!Options::writeOptionsFile(path(QStringLiteral("Option.dat")), record)) {
            return false;
        }
        window = std::make_unique<PlayWindow>(devices);
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }
    QPlainTextEdit *box() const { return window->typingBox(); }
    void press(QKeyCombination key) { QTest::keyClick(box(), key.key(), key.keyboardModifiers()); }
    QString text() const { return box()->toPlainText(); }
    QColor colour() const { return box()->palette().color(QPalette::Base); }
    int fontSize() const { return box()->font().pointSize(); }
    // The name of the song that plays now; empty when none plays.
    QString playing() const
    {
        const bool plays = window->player().currentMode() == SongPlayer::Mode::Playing;
        return plays ? QFileInfo(window->player().fileName()).fileName() : QString();
    }
};
