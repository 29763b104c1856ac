# SPDX-License-Identifier: GPL-3.0-or-later
# Turns one tune of an ABC file into a MIDI file with abc2midi, and fails when
# abc2midi finds anything wrong. abc2midi itself reports its errors and warnings
# but still writes a file and exits with 0, so a typing mistake in a song would
# otherwise become a wrong or empty song without anyone noticing.
#
#   cmake -DABC=file.abc [-DTUNE=n] -DMIDI=out.mid -P abc2midi.cmake
if(NOT ABC OR NOT MIDI)
    message(FATAL_ERROR "usage: cmake -DABC=file.abc [-DTUNE=n] -DMIDI=out.mid -P abc2midi.cmake")
endif()
find_program(ABC2MIDI abc2midi)
if(NOT ABC2MIDI)
    message(FATAL_ERROR "abc2midi is missing (Debian package abcmidi)")
endif()

get_filename_component(folder "${MIDI}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
file(REMOVE "${MIDI}")
execute_process(COMMAND "${ABC2MIDI}" "${ABC}" ${TUNE} -o "${MIDI}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)

# abc2midi says "Error in line-char 12-5 : ..." or "Warning in line-char ...".
string(REPLACE "\n" ";" lines "${output}")
set(problems "")
foreach(line IN LISTS lines)
    if(line MATCHES "^(Error|Warning) in line-char ([0-9]+)-([0-9]+) : (.*)$")
        string(APPEND problems "${ABC}:${CMAKE_MATCH_2}:${CMAKE_MATCH_3}: ${CMAKE_MATCH_4}\n")
    elseif(line MATCHES "^(Error|Warning)")
        string(APPEND problems "${ABC}: ${line}\n")
    endif()
endforeach()
if(NOT result EQUAL 0 AND problems STREQUAL "")
    set(problems "${ABC}: abc2midi failed (${result})\n")
endif()
if(problems STREQUAL "" AND NOT EXISTS "${MIDI}")
    set(problems "${ABC}: abc2midi wrote no song\n")
endif()
if(NOT problems STREQUAL "")
    file(REMOVE "${MIDI}")
    message(FATAL_ERROR "The song ${ABC} ${TUNE} has mistakes:\n${problems}")
endif()
