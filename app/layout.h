// SPDX-License-Identifier: GPL-3.0-or-later
// Where the play window's text box, help lines and volume frame go for a given
// client area. Lengths are in twips (15 twips to a pixel).
#pragma once

#include "platform/twips.h"

namespace Layout {

constexpr int TwipsPerPixel = Twips::PerPixel;
constexpr double BottomStrip = 480; // height of the strip below the text box
constexpr double FrameRightMargin = 10;
constexpr double FrameTopGap = 5;
constexpr int MaxTwips = 1 << 30; // far past any screen, and still clear of int's end

struct Input
{
    double scaleWidth = 0;
    double scaleHeight = 0;
    double label1Height = 0;
    double label2Height = 0;
    double frame1Width = 0;
};

struct Placement
{
    double text1Width = 0;
    int text1Height = 0;
    int label1Top = 0;
    int label2Top = 0;
    double frame1Left = 0; // may be negative: a narrow window cuts the frame off at the left
    double frame1Top = 0;
};

Placement Form1Layout(const Input &input);

// The size a click picture is shown at, in pixels: its own size, made smaller
// (keeping its shape) when it would cover more than PictureShareOfWindow of
// the window either way, and made larger by whole steps when its longer side
// is under MinPictureSide, so that a tiny icon is still seen.
constexpr double PictureShareOfWindow = 0.4;
constexpr int MinPictureSide = 64;
struct Size
{
    int width = 0;
    int height = 0;
    bool operator==(const Size &o) const { return width == o.width && height == o.height; }
};
Size PictureSize(Size picture, Size window);

inline int TwipsToPixels(double twips)
{
    return Twips::ToPixels(twips);
}

} // namespace Layout
