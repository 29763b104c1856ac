// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/layout.h"

#include "settings/options.h"

namespace Layout {

namespace {

int atLeastZero(double value)
{
    const int nearest = Options::RoundToInt16(value);
    return nearest >= 1 ? nearest : 0;
}

} // namespace

Placement Form1Layout(const Input &in)
{
    Placement out;
    out.text1Width = in.scaleWidth;
    out.text1Height = atLeastZero(in.scaleHeight - BottomStrip);
    out.label1Top = atLeastZero(in.scaleHeight - in.label1Height - in.label2Height);
    out.label2Top = atLeastZero(in.scaleHeight - in.label2Height);
    out.frame1Left = in.scaleWidth - in.frame1Width - FrameRightMargin;
    out.frame1Top = out.text1Height + FrameTopGap;
    return out;
}

} // namespace Layout
