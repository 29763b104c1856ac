// SPDX-License-Identifier: GPL-3.0-or-later
// Where the play window's typing box, help lines and volume frame go for a given
// client area. Lengths are in twips (15 twips to a pixel).
#pragma once

#include "twips.h"

namespace WindowLayout {

constexpr double BottomStrip = 480; // height of the strip below the text box
constexpr double FrameRightMargin = 10;
constexpr double FrameTopGap = 5;
constexpr int MaxTwips = 1 << 30; // far past any screen, and still clear of int's end

struct Input
{
    double clientWidth = 0;
    double clientHeight = 0;
    double settingsHelpHeight = 0; // the first help line
    double windowHelpHeight = 0;   // the second help line
    double volumeFrameWidth = 0;
};

struct Placement
{
    double typingWidth = 0;
    int typingHeight = 0;
    int settingsHelpTop = 0;
    int windowHelpTop = 0;
    double volumeFrameLeft = 0; // may be negative: a narrow window cuts the frame off at the left
    double volumeFrameTop = 0;
};

Placement place(const Input &input);

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
Size pictureSize(Size picture, Size window);

} // namespace WindowLayout
