// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogbuttons.h"

#include <QPushButton>

namespace DialogButtons {

void keepFromEnter(std::initializer_list<QPushButton *> buttons)
{
    for (QPushButton *button : buttons) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

} // namespace DialogButtons
