# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the first Option.dat of a new program folder: no songs yet, both playing
# flags off, pictures from the program folder, big typed characters.
if(NOT EXISTS "${PROGRAM_DIR}/Option.dat")
    file(MAKE_DIRECTORY "${PROGRAM_DIR}")
    string(REPEAT "\r\n" 110 songs)
    file(WRITE "${PROGRAM_DIR}/Option.dat" "${songs}False\r\nFalse\r\n\r\n 150 \r\n 36 \r\n")
endif()
