# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the build's ABC step on a song with a bar one beat short (line 7):
# it must fail, name the file and line, and leave no MIDI file behind.
file(WRITE "${MIDI}" "left from an earlier build")
execute_process(COMMAND ${CMAKE_COMMAND} -DABC=${ABC} -DMIDI=${MIDI} -P ${WRAPPER}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(result EQUAL 0)
    message(FATAL_ERROR "the broken song passed:\n${output}")
endif()
if(NOT output MATCHES "mistake\\.abc:7:")
    message(FATAL_ERROR "the message names no file and line:\n${output}")
endif()
if(EXISTS "${MIDI}")
    message(FATAL_ERROR "a MIDI file was left for the broken song")
endif()
