# SPDX-License-Identifier: GPL-3.0-or-later
# Gives a program folder the first Option.dat, only when it has none: a
# parent's own settings survive every rebuild.
#
#   cmake -DPROGRAM_DIR=... -DFIRST_OPTIONS=.../Option.dat -P default-options.cmake
if(NOT EXISTS "${PROGRAM_DIR}/Option.dat")
    file(MAKE_DIRECTORY "${PROGRAM_DIR}")
    file(COPY_FILE "${FIRST_OPTIONS}" "${PROGRAM_DIR}/Option.dat")
endif()
