// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowlayout.h"

#include <algorithm>
#include <cmath>

namespace WindowLayout {

namespace {

// To the nearest whole twip, half to the even neighbour. Any screen fits: a
// 16-bit twip count would end at 32767, about 2185 pixels.
int atLeastZero(double value)
{
    const double nearest = std::nearbyint(value);
    if (!(nearest >= 1)) {
        return 0; // also when the size is not a number
    }
    return int(std::min(nearest, double(MaxTwips)));
}

} // namespace

Placement place(const Input &in)
{
    Placement out;
    out.typingWidth = in.clientWidth;
    out.typingHeight = atLeastZero(in.clientHeight - BottomStrip);
    out.settingsHelpTop = atLeastZero(in.clientHeight - in.settingsHelpHeight - in.windowHelpHeight);
    out.windowHelpTop = atLeastZero(in.clientHeight - in.windowHelpHeight);
    out.volumeFrameLeft = in.clientWidth - in.volumeFrameWidth - FrameRightMargin;
    out.volumeFrameTop = out.typingHeight + FrameTopGap;
    return out;
}

Size pictureSize(Size picture, Size window)
{
    if (picture.width <= 0 || picture.height <= 0) {
        return {};
    }
    const double maxWidth = std::max(1.0, window.width * PictureShareOfWindow);
    const double maxHeight = std::max(1.0, window.height * PictureShareOfWindow);
    const double shrink = std::min({1.0, maxWidth / picture.width, maxHeight / picture.height});
    if (shrink < 1.0) {
        return {std::max(1, int(picture.width * shrink)), std::max(1, int(picture.height * shrink))};
    }
    const int longer = std::max(picture.width, picture.height);
    const int grow = std::max(1, (MinPictureSide + longer - 1) / longer);
    return {picture.width * grow, picture.height * grow};
}

} // namespace WindowLayout
