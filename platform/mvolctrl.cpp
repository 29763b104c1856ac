// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/mvolctrl.h"

#include "platform/logging.h"

#include <alsa/asoundlib.h>
#include <cerrno>
#include <cstdlib>

namespace mVolCtrl {

namespace {

int codeOf(int alsaError)
{
    switch (-alsaError) {
    case 0: return MMSYSERR_NOERROR;
    case EBUSY: return MMSYSERR_ALLOCATED;
    case ENOMEM: return MMSYSERR_NOMEM;
    case EINVAL: return MMSYSERR_INVALPARAM;
    case EBADF: return MMSYSERR_INVALHANDLE;
    default: return MMSYSERR_NODRIVER; // no such device, no sound server, no permission
    }
}

} // namespace

void Mixer::Closer::operator()(snd_mixer_t *mixer) const
{
    snd_mixer_close(mixer);
}

Mixer::Mixer() = default;
Mixer::~Mixer() = default;

snd_mixer_elem_t *Mixer::element(quint32 controlID) const
{
    return controlID >= 1 && controlID <= m_controls.size() ? m_controls[controlID - 1] : nullptr;
}

int mixerOpen(Mixer &mixer, int deviceIndex, const QString &device)
{
    if (deviceIndex != 0) {
        return MMSYSERR_BADDEVICEID; // the program has one mixer, its default
    }
    mixer.m_handle.reset();
    mixer.m_controls.clear();
    mixer.m_controlNames.clear();
    mixer.m_device = device;
    // Where "default" leads depends on whether a sound server runs: ALSA decides it when it reads its
    // configuration, so each open reads it afresh.
    snd_config_update_free_global();
    snd_mixer_t *handle = nullptr;
    int rc = snd_mixer_open(&handle, 0);
    if (rc < 0) {
        return codeOf(rc);
    }
    std::unique_ptr<snd_mixer_t, Mixer::Closer> opened(handle);
    // Each step that fails leaves nothing open behind it.
    if ((rc = snd_mixer_attach(handle, device.toLocal8Bit().constData())) < 0
        || (rc = snd_mixer_selem_register(handle, nullptr, nullptr)) < 0
        || (rc = snd_mixer_load(handle)) < 0) {
        qCWarning(lcMixer, "The volume mixer %s cannot be opened: %s", qPrintable(device), snd_strerror(rc));
        return codeOf(rc);
    }
    mixer.m_handle = std::move(opened);
    return MMSYSERR_NOERROR;
}

int FindVolumeControl(Mixer &mixer, quint32 componentType, quint32 controlType, MixerControl &control)
{
    if (!mixer.m_handle) {
        return MMSYSERR_INVALHANDLE;
    }
    if (componentType != MIXERLINE_COMPONENTTYPE_DST_SPEAKERS
        || controlType != MIXERCONTROL_CONTROLTYPE_VOLUME) {
        return MMSYSERR_INVALPARAM;
    }
    snd_mixer_selem_id_t *id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    for (const char *name : {"Master", "Speaker", "PCM"}) {
        snd_mixer_selem_id_set_index(id, 0);
        snd_mixer_selem_id_set_name(id, name);
        snd_mixer_elem_t *element = snd_mixer_find_selem(mixer.m_handle.get(), id);
        long minimum = 0;
        long maximum = 0;
        if (!element || !snd_mixer_selem_has_playback_volume(element)
            || snd_mixer_selem_get_playback_volume_range(element, &minimum, &maximum) < 0) {
            continue;
        }
        mixer.m_controls.push_back(element);
        mixer.m_controlNames.emplace_back(name);
        control.dwControlID = quint32(mixer.m_controls.size());
        control.lMinimum = qint32(std::clamp<long>(minimum, INT32_MIN, INT32_MAX));
        control.lMaximum = qint32(std::clamp<long>(maximum, INT32_MIN, INT32_MAX));
        return MMSYSERR_NOERROR;
    }
    return MIXERR_INVALCONTROL;
}

long GetVolumeValue(Mixer &mixer, quint32 controlID)
{
    snd_mixer_elem_t *element = mixer.element(controlID);
    if (!element) {
        return 0;
    }
    snd_mixer_handle_events(mixer.m_handle.get()); // another program may have changed it
    long value = 0;
    for (int channel = SND_MIXER_SCHN_FRONT_LEFT; channel <= SND_MIXER_SCHN_LAST; ++channel) {
        const auto id = static_cast<snd_mixer_selem_channel_id_t>(channel);
        if (snd_mixer_selem_has_playback_channel(element, id)) {
            return snd_mixer_selem_get_playback_volume(element, id, &value) < 0 ? 0 : value;
        }
    }
    return 0;
}

int SetVolumeValue(Mixer &mixer, quint32 controlID, long value)
{
    if (!mixer.m_handle) {
        return MMSYSERR_INVALHANDLE;
    }
    snd_mixer_elem_t *element = mixer.element(controlID);
    if (!element) {
        return MMSYSERR_INVALPARAM;
    }
    int rc = codeOf(snd_mixer_selem_set_playback_volume_all(element, value));
    if (rc != MMSYSERR_NOERROR && mixer.reopen()) {
        rc = codeOf(snd_mixer_selem_set_playback_volume_all(mixer.element(controlID), value));
    }
    return rc; // the caller goes on regardless
}

// The mixer of a sound server that went away: the same device and controls, from the server there now.
bool Mixer::reopen()
{
    const std::vector<std::string> names = m_controlNames;
    if (mixerOpen(*this, 0, m_device) != MMSYSERR_NOERROR) {
        return false;
    }
    snd_mixer_selem_id_t *id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    for (const std::string &name : names) {
        snd_mixer_selem_id_set_index(id, 0);
        snd_mixer_selem_id_set_name(id, name.c_str());
        snd_mixer_elem_t *found = snd_mixer_find_selem(m_handle.get(), id);
        if (!found) {
            m_handle.reset(); // not the mixer it was
            m_controls.clear();
            return false;
        }
        m_controls.push_back(found);
        m_controlNames.push_back(name);
    }
    return true;
}

QString MixerErrorText(int code)
{
    if (code == MMSYSERR_NOERROR) {
        return QString();
    }
    QString message;
    switch (code) {
    case 2: message = QStringLiteral("指定されたデバイスIDは無効です。"); break;
    case 4: message = QStringLiteral("指定リソースはすでに割り当て済みです。"); break;
    case 5: message = QStringLiteral("指定されたハンドルは無効です。"); break;
    case 6: message = QStringLiteral("利用可能なミキサーデバイスがありません。"); break;
    case 7: message = QStringLiteral("リソースを割り当てることはできません｡"); break;
    case 10: message = QStringLiteral("1つ以上の無効なフラグがあります。"); break;
    case 11: message = QStringLiteral("1つ以上の無効なパラメータがあります。"); break;
    default: break;
    }
    return u'[' + QString::number(code) + QStringLiteral("] ") + message;
}

int SliderScale(qint32 minimum, qint32 maximum)
{
    // Tenths, as long as they fit; wider ranges take the next multiple of ten that does.
    const qint64 widest = std::max(std::abs(qint64(minimum)), std::abs(qint64(maximum)));
    int scale = 10;
    while (widest / scale > 32767) {
        scale += 10;
    }
    return scale;
}

} // namespace mVolCtrl
