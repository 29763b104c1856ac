// SPDX-License-Identifier: GPL-3.0-or-later
#include "speakervolume.h"

#include "platformlogging.h"

#include <algorithm>
#include <alsa/asoundlib.h>
#include <cerrno>
#include <cstdlib>

namespace {

SpeakerVolume::Error errorOf(int alsaError)
{
    using Error = SpeakerVolume::Error;
    switch (-alsaError) {
    case 0: return Error::None;
    case EBUSY: return Error::Busy;
    case ENOMEM: return Error::NoMemory;
    case EINVAL: return Error::BadParameter;
    case EBADF: return Error::BadHandle;
    default: return Error::NoDevice;
    }
}

snd_mixer_elem_t *findElement(snd_mixer_t *mixer, const char *name)
{
    snd_mixer_selem_id_t *id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_index(id, 0);
    snd_mixer_selem_id_set_name(id, name);
    return snd_mixer_find_selem(mixer, id);
}

} // namespace

void SpeakerVolume::Closer::operator()(snd_mixer_t *mixer) const
{
    snd_mixer_close(mixer);
}

SpeakerVolume::SpeakerVolume() = default;
SpeakerVolume::~SpeakerVolume() = default;

SpeakerVolume::Error SpeakerVolume::open(const QString &device)
{
    m_device = device;
    m_range = {};
    const Error error = openDevice();
    if (error != Error::None) {
        return error;
    }
    for (const char *name : {"Master", "Speaker", "PCM"}) {
        snd_mixer_elem_t *element = findElement(m_handle.get(), name);
        long minimum = 0;
        long maximum = 0;
        if (!element || !snd_mixer_selem_has_playback_volume(element)
            || snd_mixer_selem_get_playback_volume_range(element, &minimum, &maximum) < 0) {
            continue;
        }
        m_control = element;
        m_controlName = name;
        m_range.minimum = qint32(std::clamp<long>(minimum, INT32_MIN, INT32_MAX));
        m_range.maximum = qint32(std::clamp<long>(maximum, INT32_MIN, INT32_MAX));
        break;
    }
    return Error::None;
}

// The mixer device alone, its speaker control not yet found.
SpeakerVolume::Error SpeakerVolume::openDevice()
{
    m_handle.reset();
    m_control = nullptr;
    // Where "default" leads depends on whether a sound server runs: ALSA decides it when it reads its
    // configuration, so each open reads it afresh.
    snd_config_update_free_global();
    snd_mixer_t *handle = nullptr;
    int rc = snd_mixer_open(&handle, 0);
    if (rc < 0) {
        return errorOf(rc);
    }
    std::unique_ptr<snd_mixer_t, Closer> opened(handle);
    // Each step that fails leaves nothing open behind it.
    if ((rc = snd_mixer_attach(handle, m_device.toLocal8Bit().constData())) < 0
        || (rc = snd_mixer_selem_register(handle, nullptr, nullptr)) < 0
        || (rc = snd_mixer_load(handle)) < 0) {
        qCWarning(lcMixer, "The volume mixer %s cannot be opened: %s", qPrintable(m_device),
                  snd_strerror(rc));
        return errorOf(rc);
    }
    m_handle = std::move(opened);
    return Error::None;
}

long SpeakerVolume::value()
{
    if (!m_control) {
        return 0;
    }
    snd_mixer_handle_events(m_handle.get()); // another program may have changed it
    long value = 0;
    for (int channel = SND_MIXER_SCHN_FRONT_LEFT; channel <= SND_MIXER_SCHN_LAST; ++channel) {
        const auto id = static_cast<snd_mixer_selem_channel_id_t>(channel);
        if (snd_mixer_selem_has_playback_channel(m_control, id)) {
            return snd_mixer_selem_get_playback_volume(m_control, id, &value) < 0 ? 0 : value;
        }
    }
    return 0;
}

void SpeakerVolume::setValue(long value)
{
    if (!m_control) {
        return; // no mixer, or one without a speaker control: the slider moves and sets nothing
    }
    if (snd_mixer_selem_set_playback_volume_all(m_control, value) < 0 && reopen()) {
        snd_mixer_selem_set_playback_volume_all(m_control, value); // the caller goes on regardless
    }
}

// The mixer of a sound server that went away: the same device and control, from the server there now.
bool SpeakerVolume::reopen()
{
    if (openDevice() != Error::None) {
        return false;
    }
    m_control = findElement(m_handle.get(), m_controlName.c_str());
    if (!m_control) {
        m_handle.reset(); // not the mixer it was
        return false;
    }
    return true;
}

int sliderScale(SpeakerVolume::Range range)
{
    // Tenths, as long as they fit; wider ranges take the next multiple of ten that does.
    const qint64 widest = std::max(std::abs(qint64(range.minimum)), std::abs(qint64(range.maximum)));
    int scale = 10;
    while (widest / scale > 32767) {
        scale += 10;
    }
    return scale;
}
