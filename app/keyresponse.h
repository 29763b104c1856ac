// SPDX-License-Identifier: GPL-3.0-or-later
// What a key or a mouse press does in the play window, decided without a window:
// which song plays, which lyrics show, and whether the typing box takes a new colour.
#pragma once

#include "programfolder.h"
#include "settings.h"

#include <QColor>
#include <QString>
#include <array>
#include <optional>

namespace KeyResponse {

// The colours a key paints the typing box in, as 0xBBGGRR values; the first is the box's colour at start.
constexpr std::array<quint32, 8> Colours{0xC00000, 0x808000, 0x008000, 0xC000C0,
                                         0x0000C0, 0xFFFFFF, 0x008080, 0x004080};
QColor colourOf(quint32 bgr);
// The colour of a draw in [0, 1) from the program's generator.
QColor colourForDraw(float draw);

enum class Button { Left, Right, Middle };
// The button whose click song a press plays: left before right before middle; none without a button.
std::optional<Button> clickButton(Qt::MouseButtons buttons);

struct Response
{
    QString song;        // the song's path, as the disk spells it; it may be no song at all
    QString lyrics;      // the lyrics file beside the song; empty when there is none to show
    bool paints = false; // the typing box takes a new colour
};

// The response to a key (a virtual key code and its VirtualKey modifier mask); none while a song plays
// and the parent asked to wait, Esc excepted: such a key only types.
std::optional<Response> forKey(int keyCode, int modifiers, const Settings::Record &settings,
                               const ProgramFolder &folder, bool songPlaying);
// The response to a mouse press: its button's click song, held back as a key is.
std::optional<Response> forClick(Button button, const Settings::Record &settings, const ProgramFolder &folder,
                                 bool songPlaying);

} // namespace KeyResponse
