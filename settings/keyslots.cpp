// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyslots.h"

#include <array>

namespace KeySlots {

namespace {

using Border = KeyDrawing::Border;
using Align = KeyDrawing::Align;

struct Slot
{
    int keyCode;
    const char16_t *displayName;
    const char16_t *caption;
    // Letters and digits only, and no two alike in any letter case: safe as a file name on every
    // file system and in Option.dat.
    const char16_t *fileName;
    KeyDrawing drawing;
};

// Indexed by slot; the same order as the lines of Option.dat.
// clang-format off
constexpr std::array<Slot, SlotCount> Table{{
    {27, u"[Esc]", u"Esc", u"Esc", {360, 720, 252, 252}},                            // 0
    {112, u"[F1]", u"F1", u"F1", {840, 720, 252, 252}},                              // 1
    {113, u"[F2]", u"F2", u"F2", {1080, 720, 252, 252}},                             // 2
    {114, u"[F3]", u"F3", u"F3", {1320, 720, 252, 252}},                             // 3
    {115, u"[F4]", u"F4", u"F4", {1560, 720, 252, 252}},                             // 4
    {116, u"[F5]", u"F5", u"F5", {1920, 720, 252, 252}},                             // 5
    {117, u"[F6]", u"F6", u"F6", {2160, 720, 252, 252}},                             // 6
    {118, u"[F7]", u"F7", u"F7", {2400, 720, 252, 252}},                             // 7
    {119, u"[F8]", u"F8", u"F8", {2640, 720, 252, 252}},                             // 8
    {120, u"[F9]", u"F9", u"F9", {3000, 720, 252, 252}},                             // 9
    {121, u"[F10]", u"F10", u"F10", {3240, 720, 252, 252}},                          // 10
    {122, u"[F11]", u"F11", u"F11", {3480, 720, 252, 252}},                          // 11
    {123, u"[F12]", u"F12", u"F12", {3720, 720, 252, 252}},                          // 12
    {42, u"[PrintScreen]", u"PS", u"PrintScreen", {4200, 720, 252, 252}},            // 13
    {145, u"[ScrollLock]", u"SL", u"ScrollLock", {4440, 720, 252, 252}},             // 14
    {19, u"[Pause]", u"Pau", u"Pause", {4680, 720, 252, 252}},                       // 15
    {229, u"[半角/全角]", u"半角全角", u"HankakuZenkaku", {360, 1080, 252, 252, Border::Box, Align::Left, 4.8}}, // 16
    {49, u"[1]", u"1", u"1", {600, 1080, 252, 252}},                                 // 17
    {50, u"[2]", u"2", u"2", {840, 1080, 252, 252}},                                 // 18
    {51, u"[3]", u"3", u"3", {1080, 1080, 252, 252}},                                // 19
    {52, u"[4]", u"4", u"4", {1320, 1080, 252, 252}},                                // 20
    {53, u"[5]", u"5", u"5", {1560, 1080, 252, 252}},                                // 21
    {54, u"[6]", u"6", u"6", {1800, 1080, 252, 252}},                                // 22
    {55, u"[7]", u"7", u"7", {2040, 1080, 252, 252}},                                // 23
    {56, u"[8]", u"8", u"8", {2280, 1080, 252, 252}},                                // 24
    {57, u"[9]", u"9", u"9", {2520, 1080, 252, 252}},                                // 25
    {48, u"[0]", u"0", u"0", {2760, 1080, 252, 252}},                                // 26
    {189, u"[- =]", u"-", u"Minus", {3000, 1080, 252, 252}},                         // 27
    {222, u"[^ ~]", u"^", u"Caret", {3240, 1080, 252, 252}},                         // 28
    {220, u"[\\]", u"\\", u"Yen", {3480, 1080, 252, 252}},                           // 29
    {8, u"[Backspace]", u"BS", u"Backspace", {3720, 1080, 252, 252}},                // 30
    {45, u"[Insert]", u"Ins", u"Insert", {4200, 1080, 252, 252}},                    // 31
    {36, u"[Home]", u"Home", u"Home", {4440, 1080, 252, 252}},                       // 32
    {33, u"[PageUp]", u"PU", u"PageUp", {4680, 1080, 252, 252}},                     // 33
    {144, u"テンキー[NumLock]", u"NL", u"NumLock", {5040, 1080, 252, 252}},              // 34
    {111, u"テンキー[/]", u"/", u"NumSlash", {5280, 1080, 252, 252}},                    // 35
    {106, u"テンキー[*]", u"*", u"NumStar", {5520, 1080, 252, 252}},                     // 36
    {109, u"テンキー[-]", u"-", u"NumMinus", {5760, 1080, 252, 252}},                    // 37
    {9, u"[Tab]", u"Tab", u"Tab", {360, 1320, 372, 252}},                            // 38
    {81, u"[Q]", u"Q", u"Q", {720, 1320, 252, 252}},                                 // 39
    {87, u"[W]", u"W", u"W", {960, 1320, 252, 252}},                                 // 40
    {69, u"[E]", u"E", u"E", {1200, 1320, 252, 252}},                                // 41
    {82, u"[R]", u"R", u"R", {1440, 1320, 252, 252}},                                // 42
    {84, u"[T]", u"T", u"T", {1680, 1320, 252, 252}},                                // 43
    {89, u"[Y]", u"Y", u"Y", {1920, 1320, 252, 252}},                                // 44
    {85, u"[U]", u"U", u"U", {2160, 1320, 252, 252}},                                // 45
    {73, u"[I]", u"I", u"I", {2400, 1320, 252, 252}},                                // 46
    {79, u"[O]", u"O", u"O", {2640, 1320, 252, 252}},                                // 47
    {80, u"[P]", u"P", u"P", {2880, 1320, 252, 252}},                                // 48
    {192, u"[` @]", u"@", u"At", {3120, 1320, 252, 252}},                            // 49
    {219, u"[{ []", u"[", u"BracketLeft", {3360, 1320, 252, 252}},                   // 50
    {13, u"[Enter]", u"Enter", u"Enter", {3600, 1320, 372, 252, Border::None}},      // 51
    {46, u"[Delete]", u"Del", u"Delete", {4200, 1320, 252, 252}},                    // 52
    {35, u"[End]", u"End", u"End", {4440, 1320, 252, 252}},                          // 53
    {34, u"[PageDown]", u"PD", u"PageDown", {4680, 1320, 252, 252}},                 // 54
    {103, u"テンキー[7]", u"7", u"Num7", {5040, 1320, 252, 252}},                        // 55
    {104, u"テンキー[8]", u"8", u"Num8", {5280, 1320, 252, 252}},                        // 56
    {105, u"テンキー[9]", u"9", u"Num9", {5520, 1320, 252, 252}},                        // 57
    {107, u"テンキー[+]", u"+", u"NumPlus", {5760, 1320, 252, 492}},                     // 58
    {240, u"[CapsLock]", u"Caps", u"CapsLock", {360, 1560, 492, 252}},               // 59
    {65, u"[A]", u"A", u"A", {840, 1560, 252, 252}},                                 // 60
    {83, u"[S]", u"S", u"S", {1080, 1560, 252, 252}},                                // 61
    {68, u"[D]", u"D", u"D", {1320, 1560, 252, 252}},                                // 62
    {70, u"[F]", u"F", u"F", {1560, 1560, 252, 252}},                                // 63
    {71, u"[G]", u"G", u"G", {1800, 1560, 252, 252}},                                // 64
    {72, u"[H]", u"H", u"H", {2040, 1560, 252, 252}},                                // 65
    {74, u"[J]", u"J", u"J", {2280, 1560, 252, 252}},                                // 66
    {75, u"[K]", u"K", u"K", {2520, 1560, 252, 252}},                                // 67
    {76, u"[L]", u"L", u"L", {2760, 1560, 252, 252}},                                // 68
    {187, u"[+ ;]", u"+", u"Semicolon", {3000, 1560, 252, 252}},                     // 69
    {186, u"[* :]", u"*", u"Colon", {3240, 1560, 252, 252}},                         // 70
    {221, u"[} ]]", u"]", u"BracketRight", {3480, 1560, 252, 252}},                  // 71
    {100, u"テンキー[4]", u"4", u"Num4", {5040, 1560, 252, 252}},                        // 72
    {101, u"テンキー[5]", u"5", u"Num5", {5280, 1560, 252, 252}},                        // 73
    {102, u"テンキー[6]", u"6", u"Num6", {5520, 1560, 252, 252}},                        // 74
    {16, u"[Shift]", u"Shift", u"Shift", {360, 1800, 612, 252}},                     // 75
    {90, u"[Z]", u"Z", u"Z", {960, 1800, 252, 252}},                                 // 76
    {88, u"[X]", u"X", u"X", {1200, 1800, 252, 252}},                                // 77
    {67, u"[C]", u"C", u"C", {1440, 1800, 252, 252}},                                // 78
    {86, u"[V]", u"V", u"V", {1680, 1800, 252, 252}},                                // 79
    {66, u"[B]", u"B", u"B", {1920, 1800, 252, 252}},                                // 80
    {78, u"[N]", u"N", u"N", {2160, 1800, 252, 252}},                                // 81
    {77, u"[M]", u"M", u"M", {2400, 1800, 252, 252}},                                // 82
    {188, u"[< ,]", u"<", u"Comma", {2640, 1800, 252, 252}},                         // 83
    {190, u"[> .]", u">", u"Period", {2880, 1800, 252, 252}},                        // 84
    {191, u"[? /]", u"?", u"Slash", {3120, 1800, 252, 252}},                         // 85
    {226, u"[_]", u"_", u"Underscore", {3360, 1800, 252, 252}},                      // 86
    {-1, u"[Shift]", u"Shift", u"ShiftRight", {3600, 1800, 372, 252}},               // 87
    {38, u"[↑]", u"↑", u"Up", {4440, 1800, 252, 252, Border::Box, Align::Centre}},   // 88
    {97, u"テンキー[1]", u"1", u"Num1", {5040, 1800, 252, 252}},                         // 89
    {98, u"テンキー[2]", u"2", u"Num2", {5280, 1800, 252, 252}},                         // 90
    {99, u"テンキー[3]", u"3", u"Num3", {5520, 1800, 252, 252}},                         // 91
    {108, u"テンキー[Enter]", u"Enter", u"NumEnter", {5760, 1800, 252, 492}},            // 92
    {17, u"[Ctrl]", u"Ctrl", u"Ctrl", {360, 2040, 372, 252}},                        // 93
    {91, u"[Windows]", u"Win", u"Windows", {720, 2040, 372, 252}},                   // 94
    {18, u"[Alt]", u"Alt", u"Alt", {1080, 2040, 252, 252}},                          // 95
    {29, u"[無変換]", u"無", u"Muhenkan", {1320, 2040, 252, 252}},                       // 96
    {32, u"[Space]", u"", u"Space", {1560, 2040, 732, 252}},                         // 97
    {28, u"[前候補・変換]", u"前", u"Henkan", {2280, 2040, 252, 252}},                      // 98
    {242, u"[カタカナ・ひらがな]", u"ｶﾅ", u"Kana", {2520, 2040, 252, 252}},                   // 99
    {-1, u"[Alt]", u"Alt", u"AltRight", {2760, 2040, 252, 252}},                     // 100
    {-1, u"[Windows]", u"Win", u"WindowsRight", {3000, 2040, 252, 252}},             // 101
    {93, u"[右クリック・メニュー]", u"Menu", u"Menu", {3240, 2040, 372, 252}},                 // 102
    {-1, u"[Ctrl]", u"Ctrl", u"CtrlRight", {3600, 2040, 372, 252}},                  // 103
    {37, u"[←]", u"←", u"Left", {4200, 2040, 252, 252, Border::Box, Align::Centre}}, // 104
    {40, u"[↓]", u"↓", u"Down", {4440, 2040, 252, 252, Border::Box, Align::Centre}}, // 105
    {39, u"[→]", u"→", u"Right", {4680, 2040, 252, 252, Border::Box, Align::Centre}}, // 106
    {96, u"テンキー[0]", u"0", u"Num0", {5040, 2040, 492, 252}},                         // 107
    {110, u"テンキー[.]", u".", u"NumPeriod", {5520, 2040, 252, 252, Border::Box, Align::Right}}, // 108
    {-1, u"Enter", u"", u"EnterLower", {3720, 1560, 252, 252, Border::None}},        // 109
}};
// clang-format on

// Windows virtual-key codes go up to 254; a flat table makes the lookup one read.
constexpr std::array<unsigned char, 256> buildLookup()
{
    std::array<unsigned char, 256> lookup{};
    for (auto &slot : lookup) {
        slot = EnterSlot;
    }
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (Table[size_t(slot)].keyCode != NoKeyCode) {
            lookup[size_t(Table[size_t(slot)].keyCode)] = static_cast<unsigned char>(slot);
        }
    }
    return lookup;
}

constexpr std::array<unsigned char, 256> Lookup = buildLookup();

constexpr char16_t lowerCase(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

constexpr bool sameText(const char16_t *a, const char16_t *b, bool inAnyCase = false)
{
    const auto fold = [inAnyCase](char16_t c) { return inAnyCase ? lowerCase(c) : c; };
    for (; *a != 0 && fold(*a) == fold(*b); ++a, ++b) {
    }
    return fold(*a) == fold(*b);
}

constexpr bool captionOfCodeIs(int keyCode, const char16_t *caption)
{
    return sameText(Table[Lookup[size_t(keyCode)]].caption, caption);
}

// The names the play window uses must select the keys they name.
static_assert(captionOfCodeIs(KeyCodes::Shift, u"Shift") && captionOfCodeIs(KeyCodes::Ctrl, u"Ctrl")
              && captionOfCodeIs(KeyCodes::Alt, u"Alt") && captionOfCodeIs(KeyCodes::Esc, u"Esc")
              && captionOfCodeIs(KeyCodes::H, u"H") && captionOfCodeIs(KeyCodes::L, u"L")
              && captionOfCodeIs(KeyCodes::M, u"M") && captionOfCodeIs(KeyCodes::N, u"N")
              && captionOfCodeIs(KeyCodes::R, u"R") && captionOfCodeIs(KeyCodes::S, u"S")
              && captionOfCodeIs(KeyCodes::V, u"V") && captionOfCodeIs(KeyCodes::X, u"X"));

constexpr bool isFileNameCharacter(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// Every key's recordings have a name of their own, even where the disk ignores letter case.
constexpr bool fileNamesAreSafe()
{
    for (size_t slot = 0; slot < Table.size(); ++slot) {
        const char16_t *name = Table[slot].fileName;
        if (*name == 0) {
            return false;
        }
        for (const char16_t *c = name; *c != 0; ++c) {
            if (!isFileNameCharacter(*c)) {
                return false;
            }
        }
        for (size_t other = 0; other < slot; ++other) {
            if (sameText(name, Table[other].fileName, true)) {
                return false;
            }
        }
    }
    return true;
}
static_assert(fileNamesAreSafe());

bool isSlot(int slot)
{
    return slot >= 0 && slot < SlotCount;
}

} // namespace

int slotForKeyCode(int keyCode)
{
    return keyCode >= 0 && keyCode < int(Lookup.size()) ? Lookup[size_t(keyCode)] : EnterSlot;
}

int keyCodeOfSlot(int slot)
{
    return isSlot(slot) ? Table[size_t(slot)].keyCode : NoKeyCode;
}

QString keyDisplayName(int slot)
{
    return isSlot(slot) ? QString::fromUtf16(Table[size_t(slot)].displayName) : QString();
}

QString keyCaption(int slot)
{
    return isSlot(slot) ? QString::fromUtf16(Table[size_t(slot)].caption) : QString();
}

QString keyFileName(int slot)
{
    return isSlot(slot) ? QString::fromUtf16(Table[size_t(slot)].fileName) : QString();
}

KeyDrawing keyDrawing(int slot)
{
    return isSlot(slot) ? Table[size_t(slot)].drawing : KeyDrawing{};
}

} // namespace KeySlots
