// SPDX-License-Identifier: GPL-3.0-or-later
// The settings' warning category, selectable with QT_LOGGING_RULES ("zubelo.settings.warning=false").
// The settings log on their own so that they need nothing but Qt Core.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcSettings) // zubelo.settings: Option.dat and its text encoding
