# SPDX-License-Identifier: GPL-3.0-or-later
# The build's copy step gives a new program folder the first Option.dat, and
# leaves a parent's own Option.dat alone on every later build.
set(folder "${WORK}/program")
file(REMOVE_RECURSE "${folder}")
set(copy ${CMAKE_COMMAND} -DPROGRAM_DIR=${folder} -DFIRST_OPTIONS=${FIRST_OPTIONS} -P ${SCRIPT})
execute_process(COMMAND ${copy} RESULT_VARIABLE result)
file(SHA256 "${FIRST_OPTIONS}" first)
file(SHA256 "${folder}/Option.dat" given)
if(NOT result EQUAL 0 OR NOT given STREQUAL first)
    message(FATAL_ERROR "a new program folder did not get the first Option.dat")
endif()
file(WRITE "${folder}/Option.dat" "a parent's own settings\r\n")
file(SHA256 "${folder}/Option.dat" own)
execute_process(COMMAND ${copy} RESULT_VARIABLE result)
file(SHA256 "${folder}/Option.dat" kept)
if(NOT result EQUAL 0 OR NOT kept STREQUAL own)
    message(FATAL_ERROR "a rebuild overwrote a parent's Option.dat")
endif()
