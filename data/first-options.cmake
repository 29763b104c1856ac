# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the first Option.dat from keys.txt: every key's sound, both playing
# flags off, pictures from the program folder's pictures folder, typed
# characters at 150 points and lyrics at LYRICS_SIZE.
#
#   cmake -DKEYS=keys.txt -DLYRICS_SIZE=n -DOUT=Option.dat -P first-options.cmake
# (Comments go first: the key names in them hold brackets, which CMake lists keep together.)
file(READ "${KEYS}" keys)
string(REGEX REPLACE "#[^\n]*" "" keys "${keys}")
string(REGEX MATCHALL "[^ \t\r\n]+" files "${keys}")
list(LENGTH files count)
set(options "")
foreach(file IN LISTS files)
    string(APPEND options "${file}\r\n")
endforeach()
if(NOT count EQUAL 110)
    message(FATAL_ERROR "${KEYS} names ${count} sounds, one for each of the 110 keys is needed")
endif()
file(WRITE "${OUT}" "${options}False\r\nFalse\r\npictures\r\n 150 \r\n ${LYRICS_SIZE} \r\n")
