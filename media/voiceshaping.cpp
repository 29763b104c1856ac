// SPDX-License-Identifier: GPL-3.0-or-later
#include "voiceshaping.h"

#include <algorithm>
#include <cmath>

namespace VoiceShaping {

std::vector<float> shaped(const std::vector<float> &samples, int rate)
{
    const auto isSound = [](float s) { return std::fabs(s) > SilenceLevel; };
    const auto first = std::find_if(samples.begin(), samples.end(), isSound);
    if (first == samples.end()) {
        return {};
    }
    const auto last = std::find_if(samples.rbegin(), samples.rend(), isSound).base(); // one past it
    const auto lead = std::min(first - samples.begin(), std::ptrdiff_t(LeadSeconds * rate));
    const auto tail = std::min(samples.end() - last, std::ptrdiff_t(TailSeconds * rate));
    std::vector<float> shaped(first - lead, last + tail);
    float loudest = 0;
    for (float s : shaped) {
        loudest = std::max(loudest, std::fabs(s));
    }
    const float gain = Peak / loudest;
    for (float &s : shaped) {
        s *= gain;
    }
    return shaped;
}

} // namespace VoiceShaping
