// SPDX-License-Identifier: GPL-3.0-or-later
// The play window's volume frame: a slider from "小" to "大" that sets the speaker volume, and gives the
// keyboard back to the typing box once it has rested.
#pragma once

#include "speakervolume.h"

#include <QGroupBox>
#include <QTimer>

class QScrollBar;

class VolumeFrame : public QGroupBox
{
    Q_OBJECT

public:
    // device: the ALSA mixer to set ("default"); empty for none, and the slider moves and sets nothing.
    explicit VolumeFrame(const QString &device, QWidget *parent = nullptr);

    // Opens the mixer and sets the slider from its speaker control. The caller says what went wrong;
    // the slider then keeps its first range, and looks for the mixer again whenever it moves.
    SpeakerVolume::Error openMixer();

    QScrollBar *slider() const { return m_slider; }
    // How long the slider keeps the keyboard after its last change, in milliseconds.
    int focusDelay() const { return m_focusTimer.interval(); }

    static constexpr int SliderEnd = 32767; // the slider's values are 16-bit

signals:
    // The slider has rested: the keys belong to the typing box again.
    void focusReturned();
    // The slider has taken its range from a mixer, at start-up or found later.
    void mixerFound();

private:
    void setUpSlider();
    void sliderChanged();

    QScrollBar *const m_slider;
    QTimer m_focusTimer;
    SpeakerVolume m_volume;
    const QString m_device;
    int m_scale = 10; // mixer units per slider step
};
