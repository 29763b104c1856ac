// SPDX-License-Identifier: GPL-3.0-or-later
// The Japanese fonts of the program's windows, with free stand-ins where the
// original Windows fonts are not installed.
#pragma once

#include <QFont>

namespace JapaneseFont {

// "ＭＳ Ｐゴシック" (proportional): captions, labels, buttons.
QFont proportional(double points);

// "ＭＳ ゴシック" (fixed pitch): the big text box.
QFont monospaced(double points);

} // namespace JapaneseFont
