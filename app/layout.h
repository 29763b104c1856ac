// SPDX-License-Identifier: GPL-3.0-or-later
// Where the play window's text box, help lines and volume frame go for a given
// client area. Lengths are in twips (15 twips to a pixel).
#pragma once

namespace Layout {

constexpr int TwipsPerPixel = 15;
constexpr double BottomStrip = 480;    // height of the strip below the text box
constexpr double FrameRightMargin = 10;
constexpr double FrameTopGap = 5;

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

inline int TwipsToPixels(double twips)
{
    return twips >= 0 ? int(twips / TwipsPerPixel + 0.5) : -int(-twips / TwipsPerPixel + 0.5);
}

} // namespace Layout
