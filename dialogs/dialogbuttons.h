// SPDX-License-Identifier: GPL-3.0-or-later
// What the settings dialogs' buttons share.
#pragma once

#include <initializer_list>

class QPushButton;

namespace DialogButtons {

// None of them is the default button: Enter never closes the dialog.
void keepFromEnter(std::initializer_list<QPushButton *> buttons);

} // namespace DialogButtons
