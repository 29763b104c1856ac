// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyslots.h"

#include <array>

namespace KeySlots {

namespace {

struct Slot
{
    int keyCode;
    const char16_t *displayName;
    const char16_t *caption;
    // Letters and digits only, and no two alike in any letter case: safe as a file name on every
    // file system and in Option.dat.
    const char16_t *fileName;
};

// Indexed by slot; the same order as the lines of Option.dat.
constexpr std::array<Slot, SlotCount> Table{{
    {27, u"[Esc]", u"Esc", u"Esc"},                        // 0
    {112, u"[F1]", u"F1", u"F1"},                          // 1
    {113, u"[F2]", u"F2", u"F2"},                          // 2
    {114, u"[F3]", u"F3", u"F3"},                          // 3
    {115, u"[F4]", u"F4", u"F4"},                          // 4
    {116, u"[F5]", u"F5", u"F5"},                          // 5
    {117, u"[F6]", u"F6", u"F6"},                          // 6
    {118, u"[F7]", u"F7", u"F7"},                          // 7
    {119, u"[F8]", u"F8", u"F8"},                          // 8
    {120, u"[F9]", u"F9", u"F9"},                          // 9
    {121, u"[F10]", u"F10", u"F10"},                       // 10
    {122, u"[F11]", u"F11", u"F11"},                       // 11
    {123, u"[F12]", u"F12", u"F12"},                       // 12
    {42, u"[PrintScreen]", u"PS", u"PrintScreen"},         // 13
    {145, u"[ScrollLock]", u"SL", u"ScrollLock"},          // 14
    {19, u"[Pause]", u"Pau", u"Pause"},                    // 15
    {229, u"[半角/全角]", u"半角全角", u"HankakuZenkaku"}, // 16
    {49, u"[1]", u"1", u"1"},                              // 17
    {50, u"[2]", u"2", u"2"},                              // 18
    {51, u"[3]", u"3", u"3"},                              // 19
    {52, u"[4]", u"4", u"4"},                              // 20
    {53, u"[5]", u"5", u"5"},                              // 21
    {54, u"[6]", u"6", u"6"},                              // 22
    {55, u"[7]", u"7", u"7"},                              // 23
    {56, u"[8]", u"8", u"8"},                              // 24
    {57, u"[9]", u"9", u"9"},                              // 25
    {48, u"[0]", u"0", u"0"},                              // 26
    {189, u"[- =]", u"-", u"Minus"},                       // 27
    {222, u"[^ ~]", u"^", u"Caret"},                       // 28
    {220, u"[\\]", u"\\", u"Yen"},                         // 29
    {8, u"[Backspace]", u"BS", u"Backspace"},              // 30
    {45, u"[Insert]", u"Ins", u"Insert"},                  // 31
    {36, u"[Home]", u"Home", u"Home"},                     // 32
    {33, u"[PageUp]", u"PU", u"PageUp"},                   // 33
    {144, u"テンキー[NumLock]", u"NL", u"NumLock"},        // 34
    {111, u"テンキー[/]", u"/", u"NumSlash"},              // 35
    {106, u"テンキー[*]", u"*", u"NumStar"},               // 36
    {109, u"テンキー[-]", u"-", u"NumMinus"},              // 37
    {9, u"[Tab]", u"Tab", u"Tab"},                         // 38
    {81, u"[Q]", u"Q", u"Q"},                              // 39
    {87, u"[W]", u"W", u"W"},                              // 40
    {69, u"[E]", u"E", u"E"},                              // 41
    {82, u"[R]", u"R", u"R"},                              // 42
    {84, u"[T]", u"T", u"T"},                              // 43
    {89, u"[Y]", u"Y", u"Y"},                              // 44
    {85, u"[U]", u"U", u"U"},                              // 45
    {73, u"[I]", u"I", u"I"},                              // 46
    {79, u"[O]", u"O", u"O"},                              // 47
    {80, u"[P]", u"P", u"P"},                              // 48
    {192, u"[` @]", u"@", u"At"},                          // 49
    {219, u"[{ []", u"[", u"BracketLeft"},                 // 50
    {13, u"[Enter]", u"Enter", u"Enter"},                  // 51
    {46, u"[Delete]", u"Del", u"Delete"},                  // 52
    {35, u"[End]", u"End", u"End"},                        // 53
    {34, u"[PageDown]", u"PD", u"PageDown"},               // 54
    {103, u"テンキー[7]", u"7", u"Num7"},                  // 55
    {104, u"テンキー[8]", u"8", u"Num8"},                  // 56
    {105, u"テンキー[9]", u"9", u"Num9"},                  // 57
    {107, u"テンキー[+]", u"+", u"NumPlus"},               // 58
    {240, u"[CapsLock]", u"Caps", u"CapsLock"},            // 59
    {65, u"[A]", u"A", u"A"},                              // 60
    {83, u"[S]", u"S", u"S"},                              // 61
    {68, u"[D]", u"D", u"D"},                              // 62
    {70, u"[F]", u"F", u"F"},                              // 63
    {71, u"[G]", u"G", u"G"},                              // 64
    {72, u"[H]", u"H", u"H"},                              // 65
    {74, u"[J]", u"J", u"J"},                              // 66
    {75, u"[K]", u"K", u"K"},                              // 67
    {76, u"[L]", u"L", u"L"},                              // 68
    {187, u"[+ ;]", u"+", u"Semicolon"},                   // 69
    {186, u"[* :]", u"*", u"Colon"},                       // 70
    {221, u"[} ]]", u"]", u"BracketRight"},                // 71
    {100, u"テンキー[4]", u"4", u"Num4"},                  // 72
    {101, u"テンキー[5]", u"5", u"Num5"},                  // 73
    {102, u"テンキー[6]", u"6", u"Num6"},                  // 74
    {16, u"[Shift]", u"Shift", u"Shift"},                  // 75
    {90, u"[Z]", u"Z", u"Z"},                              // 76
    {88, u"[X]", u"X", u"X"},                              // 77
    {67, u"[C]", u"C", u"C"},                              // 78
    {86, u"[V]", u"V", u"V"},                              // 79
    {66, u"[B]", u"B", u"B"},                              // 80
    {78, u"[N]", u"N", u"N"},                              // 81
    {77, u"[M]", u"M", u"M"},                              // 82
    {188, u"[< ,]", u"<", u"Comma"},                       // 83
    {190, u"[> .]", u">", u"Period"},                      // 84
    {191, u"[? /]", u"?", u"Slash"},                       // 85
    {226, u"[_]", u"_", u"Underscore"},                    // 86
    {-1, u"[Shift]", u"Shift", u"ShiftRight"},             // 87
    {38, u"[↑]", u"↑", u"Up"},                             // 88
    {97, u"テンキー[1]", u"1", u"Num1"},                   // 89
    {98, u"テンキー[2]", u"2", u"Num2"},                   // 90
    {99, u"テンキー[3]", u"3", u"Num3"},                   // 91
    {108, u"テンキー[Enter]", u"Enter", u"NumEnter"},      // 92
    {17, u"[Ctrl]", u"Ctrl", u"Ctrl"},                     // 93
    {91, u"[Windows]", u"Win", u"Windows"},                // 94
    {18, u"[Alt]", u"Alt", u"Alt"},                        // 95
    {29, u"[無変換]", u"無", u"Muhenkan"},                 // 96
    {32, u"[Space]", u"", u"Space"},                       // 97
    {28, u"[前候補・変換]", u"前", u"Henkan"},             // 98
    {242, u"[カタカナ・ひらがな]", u"ｶﾅ", u"Kana"},        // 99
    {-1, u"[Alt]", u"Alt", u"AltRight"},                   // 100
    {-1, u"[Windows]", u"Win", u"WindowsRight"},           // 101
    {93, u"[右クリック・メニュー]", u"Menu", u"Menu"},     // 102
    {-1, u"[Ctrl]", u"Ctrl", u"CtrlRight"},                // 103
    {37, u"[←]", u"←", u"Left"},                           // 104
    {40, u"[↓]", u"↓", u"Down"},                           // 105
    {39, u"[→]", u"→", u"Right"},                          // 106
    {96, u"テンキー[0]", u"0", u"Num0"},                   // 107
    {110, u"テンキー[.]", u".", u"NumPeriod"},             // 108
    {-1, u"Enter", u"", u"EnterLower"},                    // 109
}};

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

} // namespace KeySlots
