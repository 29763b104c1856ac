// SPDX-License-Identifier: GPL-3.0-or-later
// Tests that change the system (the speaker volume, the keyboard, the screen) run only against the
// private X and sound servers of scripts/with-test-services.sh, never against a developer's own desktop.
// when: whether this test, or this row, changes the system.
#pragma once

#include <QtTest>

#define PRIVATE_SERVICES_OR_SKIP(when)                                                                       \
    if ((when) && qEnvironmentVariableIsEmpty("ZUBELO_TEST_SERVICES")) {                                     \
        QSKIP("it changes the system (sound server, volume, input): it runs only in "                        \
              "scripts/with-test-services.sh");                                                              \
    }
