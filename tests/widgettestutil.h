// SPDX-License-Identifier: GPL-3.0-or-later
// The play window as widget tests make it: sound rendered offline, no volume mixer.
#pragma once

#include "app/form1.h"
#include "audiotestutil.h"
#include "platform/random.h"
#include "settings/options.h"
#include "tests/midifile.h"

#include <QImage>
#include <QPlainTextEdit>
#include <QtTest> // and all of QtCore
#include <sndfile.h>

inline Form1::Devices OfflineDevices()
{
    Form1::Devices devices;
    devices.audio.output = AudioEngine::Output::Offline;
    devices.mixer.clear();
    return devices;
}

// A program folder of its own (so a single-copy lock of its own) holding a short song "a.wav" (0.2 s),
// a long one "b.wav" (2 s) and the three click songs; start() makes the window on it.
class PlayWindow
{
    QTemporaryDir m_dir; // outlives the window, which leaves it at exit

public:
    std::unique_ptr<Form1> form;
    Options::Record record; // what start() writes to Option.dat
    Form1::Devices devices = OfflineDevices();

    PlayWindow()
    {
        Options::SetProgramFolder(m_dir.path());
        const int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        QVERIFY(AudioTest::WriteTone(path(QStringLiteral("a.wav")), 48000, 1, format, 440, 0.2));
        QVERIFY(AudioTest::WriteTone(path(QStringLiteral("b.wav")), 48000, 1, format, 440, 2));
        const MidiFile::Song song{0, {{0, 480, 72, 100, 0}}};
        for (const char *name : {"ClickLeft.mid", "ClickRight.mid", "ClickMiddle.mid"}) {
            write(QLatin1String(name), MidiFile::Write(song));
        }
    }
    QString path(const QString &name = {}) const { return m_dir.filePath(name); }
    void write(const QString &name, const QByteArray &bytes)
    {
        QFile file(path(name));
        QVERIFY(QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // A picture of one colour; the format follows the name.
    void picture(const QString &name, const QColor &colour)
    {
        QImage image(100, 80, QImage::Format_RGB32);
        image.fill(colour);
        QVERIFY(QDir().mkpath(QFileInfo(path(name)).path()) && image.save(path(name)));
    }
    // The window on the settings of record, read from Option.dat as at a real start.
    Form1 &start()
    {
        [&] { QVERIFY(bool(Options::WriteOptionsFile(path(QStringLiteral("Option.dat")), record))); }();
        form = std::make_unique<Form1>(devices);
        form->show();
        [&] { QVERIFY(QTest::qWaitForWindowExposed(form.get())); }();
        return *form;
    }
    void press(QKeyCombination key) { QTest::keyClick(form->Text1, key.key(), key.keyboardModifiers()); }
    QString text() const { return form->Text1->toPlainText(); }
    QColor colour() const { return form->Text1->palette().color(QPalette::Base); }
    int fontSize() const { return form->Text1->font().pointSize(); }
    // The name of the song that plays now; empty when none plays.
    QString playing() const
    {
        const SongPlayer &player = form->MMControl1;
        return player.CurrentMode() == SongPlayer::Mode::Playing ? QFileInfo(player.FileName()).fileName()
                                                                 : QString();
    }
};
