// SPDX-License-Identifier: GPL-3.0-or-later
// The play window as widget tests make it: sound rendered offline, no volume mixer.
#pragma once

#include "app/form1.h"

inline Form1::Devices OfflineDevices()
{
    Form1::Devices devices;
    devices.audio.output = AudioEngine::Output::Offline;
    devices.mixer.clear();
    return devices;
}
