// SPDX-License-Identifier: GPL-3.0-or-later
#include "volumeframe.h"

#include "japanesefont.h"
#include "twips.h"

#include <QLabel>
#include <QScrollBar>

namespace {

constexpr int FocusDelayWithoutMixer = 120; // ms
constexpr int FocusDelay = 1000;            // ms: time to take a few steps before the keys go back
constexpr int SmallStep = 50;
constexpr int LargeStep = 100;

} // namespace

VolumeFrame::VolumeFrame(const QString &device, QWidget *parent)
    : QGroupBox(parent), m_slider(new QScrollBar(Qt::Horizontal, this)), m_device(device)
{
    setObjectName(QStringLiteral("volumeFrame"));
    setTitle(QStringLiteral("音量"));
    setFont(JapaneseFont::proportional(9));
    resize(Twips::rect(0, 0, 2412, 492).size());

    m_slider->setObjectName(QStringLiteral("volumeSlider"));
    m_slider->setGeometry(Twips::rect(360, 240, 1692, 132));
    m_slider->setRange(0, SliderEnd);
    m_slider->setSingleStep(1);
    m_slider->setPageStep(1);
    m_slider->setTracking(false);         // a dragged thumb sets the volume once, where it is let go
    m_slider->setInvertedControls(false); // Right, Up and the wheel turn it up, towards "大"
    m_slider->setFocusPolicy(Qt::StrongFocus);
    // A scroll bar's own menu has "Right edge": full volume from one right-click.
    m_slider->setContextMenuPolicy(Qt::PreventContextMenu);
    connect(m_slider, &QScrollBar::valueChanged, this, &VolumeFrame::sliderChanged);

    for (auto [caption, left] : {std::pair{"小", 120}, std::pair{"大", 2160}}) {
        auto *label = new QLabel(QString::fromUtf8(caption), this);
        label->setFont(JapaneseFont::proportional(7.8));
        label->move(Twips::toPixels(left), Twips::toPixels(240));
        label->adjustSize();
    }

    m_focusTimer.setObjectName(QStringLiteral("focusReturnTimer"));
    m_focusTimer.setSingleShot(true);
    m_focusTimer.setInterval(FocusDelayWithoutMixer);
    connect(&m_focusTimer, &QTimer::timeout, this, &VolumeFrame::focusReturned);
}

SpeakerVolume::Error VolumeFrame::openMixer()
{
    if (m_device.isEmpty()) {
        return SpeakerVolume::Error::None;
    }
    const SpeakerVolume::Error error = m_volume.open(m_device);
    if (error == SpeakerVolume::Error::None) {
        setUpSlider();
    }
    return error;
}

// The slider from the mixer's speaker control: its range and where it stands now.
void VolumeFrame::setUpSlider()
{
    const SpeakerVolume::Range range = m_volume.range();
    m_scale = sliderScale(range);
    const long current = m_volume.value(); // before the new bounds move the slider, and write
    m_slider->setMaximum(int(double(range.maximum) / m_scale)); // truncated toward zero
    m_slider->setMinimum(int(double(range.minimum) / m_scale));
    m_slider->setSingleStep(SmallStep);
    m_slider->setPageStep(LargeStep);
    // A value other than 0 counts as a change: the device gets it back, a multiple of the scale.
    m_slider->setValue(int(current / m_scale));
    m_focusTimer.setInterval(FocusDelay);
    emit mixerFound();
}

void VolumeFrame::sliderChanged()
{
    m_focusTimer.stop();
    if (m_volume.isOpen() || m_device.isEmpty()) {
        m_volume.setValue(long(m_slider->value()) * m_scale);
    } else if (m_volume.open(m_device) == SpeakerVolume::Error::None) {
        // No mixer at start-up (or none since its server went away), one now: without a word, the slider
        // takes the control's range and value, which its change writes back.
        setUpSlider();
    }
    m_focusTimer.start();
}
