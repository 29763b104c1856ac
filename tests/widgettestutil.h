// SPDX-License-Identifier: GPL-3.0-or-later
// The play window as widget tests make it: sound rendered offline, no volume mixer.
#pragma once

#include "audiotestutil.h"
#include "playwindow.h"
#include "settings.h"

#include <QPlainTextEdit>
#include <QtTest> // and all of QtCore
#include <sndfile.h>

inline PlayWindow::Devices offlineDevices()
{
    return {{AudioEngine::Output::Offline}, QString()}; // sound rendered offline, no mixer
}

// A program folder of its own holding a short song "a.wav" (0.2 s), a long one "b.wav" (2 s) and the left
// and middle click songs (a MIDI tune of 1 s); start() makes the window on it.
class PlayFixture
{
    QTemporaryDir m_dir; // outlives the window

public:
    std::unique_ptr<PlayWindow> window;
    Settings::Record record; // what start() writes to Option.dat
    PlayWindow::Devices devices = offlineDevices();
    bool ready = false; // every file made

    PlayFixture()
    {
        const int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        ready =
            AudioTest::writeTone(path(QStringLiteral("a.wav")), 48000, 1, format, 440, 0.2)
            && AudioTest::writeTone(path(QStringLiteral("b.wav")), 48000, 1, format, 440, 2)
            && QFile::copy(QStringLiteral(ZUBELO_TEST_SONGS "/a4.mid"), path(QStringLiteral("ClickLeft.mid")))
            && QFile::copy(QStringLiteral(ZUBELO_TEST_SONGS "/a4.mid"),
                           path(QStringLiteral("ClickMiddle.mid")));
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
    // The window on the settings of record, through Option.dat as at a real start.
    bool start()
    {
        const ProgramFolder folder(m_dir.path());
        Settings::Record read;
        const bool saved = bool(Settings::save(folder.optionFile(), record));
        Settings::load(folder.optionFile(), read);
        window = std::make_unique<PlayWindow>(folder, read, devices);
        window->volumeFrame()->openMixer(); // as start-up does
        window->show();
        return saved && QTest::qWaitForWindowExposed(window.get());
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
