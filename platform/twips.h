// SPDX-License-Identifier: GPL-3.0-or-later
// Lengths of the windows' designs are in twips: 15 twips to a pixel at 96 dpi.
#pragma once

#include <QRect>

namespace Twips {

constexpr int PerPixel = 15;

// To whole pixels, halves away from zero.
inline int toPixels(double twips)
{
    return twips >= 0 ? int(twips / PerPixel + 0.5) : -int(-twips / PerPixel + 0.5);
}

// A control's place in its container, from its design values in twips.
inline QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace Twips
