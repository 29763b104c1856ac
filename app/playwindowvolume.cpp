// SPDX-License-Identifier: GPL-3.0-or-later
// The play window's volume frame: the slider, its labels, the mixer behind it and the timer
// that gives the focus back to the typing box. Kept apart so that it can become a widget of its own.
#include "app/playwindow.h"

#include "app/layout.h"
#include "dialogs/messages.h"
#include "platform/japanesefont.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace {

// Once the mixer is open the slider's focus return and the click picture's hide both wait this long;
// without a mixer each keeps the time it was made with.
constexpr std::chrono::milliseconds MixerPace{1000};

} // namespace

void PlayWindow::createVolumeFrame()
{
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setSingleShot(true);
    Timer1.setInterval(120);

    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setTitle(QStringLiteral("音量"));
    Frame1->setFont(JapaneseFont::Proportional(9));
    Frame1->setGeometry(Twips::Rect(5640, 3720, 2412, 492));
    Frame1->setAttribute(Qt::WA_NoMousePropagation); // a click on the volume frame is its own
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setGeometry(Twips::Rect(360, 240, 1692, 132));
    HScroll1->setRange(0, 32767);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(1);
    HScroll1->installEventFilter(this);
    HScroll1->setTracking(false);         // a dragged thumb sets the volume once, where it is let go
    HScroll1->setInvertedControls(false); // Right, Up and the wheel turn it up, towards "大"
    HScroll1->setFocusPolicy(Qt::StrongFocus);
    // A scroll bar's own menu has "Right edge": full volume from one right-click.
    HScroll1->setContextMenuPolicy(Qt::PreventContextMenu);
    connect(HScroll1, &QScrollBar::valueChanged, this, &PlayWindow::HScroll1_Change);
    connect(&Timer1, &QTimer::timeout, this, &PlayWindow::Timer1_Timer);
    for (auto [label, caption, left] : {std::tuple{Label4, "大", 2160}, std::tuple{Label3, "小", 120}}) {
        label->setText(QString::fromUtf8(caption));
        label->setFont(JapaneseFont::Proportional(7.8));
        label->move(Layout::TwipsToPixels(left), Layout::TwipsToPixels(240));
        label->adjustSize();
    }
    Label4->setObjectName(QStringLiteral("Label4"));
    Label3->setObjectName(QStringLiteral("Label3"));
}

void PlayWindow::setUpVolume()
{
    if (m_mixerDevice.isEmpty()) {
        return;
    }
    const int rc = mVolCtrl::mixerOpen(MixerHandle, 0, m_mixerDevice);
    if (rc != mVolCtrl::MMSYSERR_NOERROR) {
        // Said once; the slider and the timers keep what they were made with.
        DialogMessages::MixerError(this, rc);
        return;
    }
    int maximum = 0;
    int minimum = 0;
    long current = 0;
    if (mVolCtrl::FindVolumeControl(MixerHandle, mVolCtrl::MIXERLINE_COMPONENTTYPE_DST_SPEAKERS,
                                    mVolCtrl::MIXERCONTROL_CONTROLTYPE_VOLUME, VolumeControl)
        == mVolCtrl::MMSYSERR_NOERROR) {
        m_volumeScale = mVolCtrl::SliderScale(VolumeControl.lMinimum, VolumeControl.lMaximum);
        maximum = int(double(VolumeControl.lMaximum) / m_volumeScale); // truncated toward zero
        minimum = int(double(VolumeControl.lMinimum) / m_volumeScale);
        current = mVolCtrl::GetVolumeValue(MixerHandle, VolumeControl.dwControlID);
    }
    HScroll1->setMaximum(maximum);
    HScroll1->setMinimum(minimum);
    HScroll1->setSingleStep(50);
    HScroll1->setPageStep(100);
    // A value other than 0 counts as a change: the device gets it back, a multiple of the scale.
    HScroll1->setValue(int(current / m_volumeScale));
    Timer1.setInterval(MixerPace);
    m_clickPicture->SetHideAfter(MixerPace);
}

void PlayWindow::HScroll1_Change()
{
    Timer1.stop();
    mVolCtrl::SetVolumeValue(MixerHandle, VolumeControl.dwControlID, long(HScroll1->value()) * m_volumeScale);
    Timer1.start();
}

void PlayWindow::Timer1_Timer()
{
    Timer1.stop();
    m_typingBox->setFocus();
}
