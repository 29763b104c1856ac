# SPDX-License-Identifier: GPL-3.0-or-later
# Lyrics are kept as UTF-8 here and given to the toy as its lyrics files are
# read: Shift-JIS with CR LF line ends, the last line too.
#
#   cmake -DIN=song.txt -DOUT=.../song.txt -P lyrics.cmake
find_program(ICONV iconv)
if(NOT ICONV)
    message(FATAL_ERROR "iconv is missing (Debian package libc-bin)")
endif()
file(READ "${IN}" text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REGEX REPLACE "\n+$" "" text "${text}")
string(APPEND text "\n")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}.utf8" "${text}")
execute_process(COMMAND "${ICONV}" -f UTF-8 -t CP932 "${OUT}.utf8"
    OUTPUT_FILE "${OUT}" RESULT_VARIABLE result ERROR_VARIABLE error)
file(REMOVE "${OUT}.utf8")
if(NOT result EQUAL 0)
    file(REMOVE "${OUT}")
    message(FATAL_ERROR "${IN}: not UTF-8 text that Shift-JIS can hold: ${error}")
endif()
