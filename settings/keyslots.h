// SPDX-License-Identifier: GPL-3.0-or-later
// The key slots of a Japanese keyboard: which key code selects each slot, the
// name the music dialog shows for it, and its key on the dialog's drawing.
#pragma once

#include <QString>

namespace KeySlots {

constexpr int SlotCount = 110;
constexpr int EnterSlot = 51; // also the slot of every key code the table does not list
constexpr int NoKeyCode = -1; // right-hand copies and the lower half of Enter: reached only by clicking

// Never fails: an unknown code selects the Enter slot.
int slotForKeyCode(int keyCode);

// The key code that selects the slot, or NoKeyCode.
int keyCodeOfSlot(int slot);

// "[Esc]", "テンキー[7]", ... The music dialog adds "キー".
QString keyDisplayName(int slot);

// The text drawn on the slot's on-screen key ("Esc", "半角全角", "" for Space).
QString keyCaption(int slot);

// The name a recording for the key takes on the disk ("A", "F1", "NumPlus", "ShiftRight").
QString keyFileName(int slot);

// A slot's key on the music dialog's drawing of the keyboard: its place and size in twips in the
// drawing's container, its border, where its caption stands, and the caption's size in points.
struct KeyDrawing
{
    int left;
    int top;
    int width;
    int height;
    enum class Border { Box, None } border = Border::Box; // the two halves of the L-shaped Enter have none
    enum class Align { Left, Centre, Right } align = Align::Left;
    double captionPoints = 7.2;
};
KeyDrawing keyDrawing(int slot);

} // namespace KeySlots

// The key codes the play window reacts to by name (the hot keys with Shift,
// the click songs with Alt, Esc that stops a song, the modifiers a hot key may hold).
// The table lists them with all others.
namespace KeyCodes {

constexpr int Shift = 16;
constexpr int Ctrl = 17;
constexpr int Alt = 18;
constexpr int Esc = 27;
constexpr int H = 72;
constexpr int L = 76;
constexpr int M = 77;
constexpr int N = 78;
constexpr int R = 82;
constexpr int S = 83;
constexpr int V = 86;
constexpr int X = 88;

} // namespace KeyCodes
