// SPDX-License-Identifier: GPL-3.0-or-later
// The computer's speaker volume through the ALSA simple mixer, with the
// result codes (0 success, 2 bad device, 4 busy, 5 bad handle, 6 no mixer,
// 7 no memory, 11 bad parameter) that the volume slider and its messages use.
#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

struct _snd_mixer;
struct _snd_mixer_elem;

namespace mVolCtrl {

constexpr int MMSYSERR_NOERROR = 0;
constexpr int MMSYSERR_BADDEVICEID = 2;
constexpr int MMSYSERR_ALLOCATED = 4;
constexpr int MMSYSERR_INVALHANDLE = 5;
constexpr int MMSYSERR_NODRIVER = 6;
constexpr int MMSYSERR_NOMEM = 7;
constexpr int MMSYSERR_INVALPARAM = 11;
constexpr int MIXERR_INVALCONTROL = 1025; // no such control on the line

constexpr quint32 MIXERLINE_COMPONENTTYPE_DST_SPEAKERS = 4;
constexpr quint32 MIXERCONTROL_CONTROLTYPE_VOLUME = 0x50030001;

// An open mixer device; closed when it goes (at the latest when the program ends).
class Mixer
{
public:
    Mixer();
    ~Mixer();
    Mixer(const Mixer &) = delete;
    Mixer &operator=(const Mixer &) = delete;

    bool IsOpen() const { return bool(m_handle); }

private:
    friend int mixerOpen(Mixer &, int, const QString &);
    friend int FindVolumeControl(Mixer &, quint32, quint32, struct MixerControl &);
    friend long GetVolumeValue(Mixer &, quint32);
    friend int SetVolumeValue(Mixer &, quint32, long);
    _snd_mixer_elem *element(quint32 controlID) const;
    bool reopen();

    struct Closer
    {
        void operator()(_snd_mixer *mixer) const;
    };
    std::unique_ptr<_snd_mixer, Closer> m_handle;
    QString m_device;                          // what mixerOpen opened, to open it again
    std::vector<_snd_mixer_elem *> m_controls; // controlID n is m_controls[n - 1]
    std::vector<std::string> m_controlNames;   // the element each control is, to find it again
};

struct MixerControl
{
    quint32 dwControlID = 0;
    qint32 lMinimum = 0;
    qint32 lMaximum = 0;
};

// Opens mixer device 0: the ALSA control device named by device ("default").
int mixerOpen(Mixer &mixer, int deviceIndex = 0, const QString &device = QStringLiteral("default"));

// The speaker volume control: "Master", else "Speaker", else "PCM".
int FindVolumeControl(Mixer &mixer, quint32 componentType, quint32 controlType, MixerControl &control);

// The control's current value; 0 when it cannot be read.
long GetVolumeValue(Mixer &mixer, quint32 controlID);

// Sets every channel of the control to value. A write that fails (the sound
// server behind the mixer went away) opens the mixer again and writes once more.
int SetVolumeValue(Mixer &mixer, quint32 controlID, long value);

// "[6] 利用可能なミキサーデバイスがありません。" and the like; nothing for 0.
QString MixerErrorText(int code);

// How many mixer units one step of the 16-bit slider stands for: tenths,
// unless the control's range is too wide for 16 bits in tenths.
int SliderScale(qint32 minimum, qint32 maximum);

} // namespace mVolCtrl
