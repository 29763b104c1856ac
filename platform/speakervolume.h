// SPDX-License-Identifier: GPL-3.0-or-later
// The computer's speaker volume through the ALSA simple mixer.
#pragma once

#include <QString>
#include <memory>
#include <string>

struct _snd_mixer;
struct _snd_mixer_elem;

class SpeakerVolume
{
public:
    // Why the mixer cannot be opened, as the number its message shows a parent. The numbers are those
    // the toy has always shown, which parents quote when they ask for help, so they stay as they are.
    // No ALSA error gives BadDevice or BadFlags; they keep their messages all the same.
    enum class Error {
        None = 0,
        BadDevice = 2,
        Busy = 4,
        BadHandle = 5,
        NoDevice = 6, // no such device, no sound server, no permission
        NoMemory = 7,
        BadFlags = 10,
        BadParameter = 11,
    };

    // The speaker control's bounds, in the mixer's own units.
    struct Range
    {
        qint32 minimum = 0;
        qint32 maximum = 0;
    };

    SpeakerVolume();
    ~SpeakerVolume();
    SpeakerVolume(const SpeakerVolume &) = delete;
    SpeakerVolume &operator=(const SpeakerVolume &) = delete;

    // Opens the ALSA mixer device ("default") and finds its speaker control: "Master", else "Speaker",
    // else "PCM". A mixer without any of them opens all the same, with the range 0 to 0.
    Error open(const QString &device);
    bool isOpen() const { return bool(m_handle); }

    Range range() const { return m_range; }
    // The control's current value; 0 when it cannot be read.
    long value();
    // Sets every channel of the control to value. A write that fails (the sound server behind the mixer
    // went away) opens the mixer again and writes once more; when that fails too the mixer is closed.
    void setValue(long value);

private:
    Error openDevice();
    bool reopen();

    struct Closer
    {
        void operator()(_snd_mixer *mixer) const;
    };
    std::unique_ptr<_snd_mixer, Closer> m_handle;
    QString m_device;                     // what open() opened, to open it again
    _snd_mixer_elem *m_control = nullptr; // none: the mixer has no speaker control
    std::string m_controlName;            // the element it is, to find it again
    Range m_range;
};

// How many mixer units one step of the 16-bit slider stands for: tenths,
// unless the control's range is too wide for 16 bits in tenths.
int sliderScale(SpeakerVolume::Range range);
