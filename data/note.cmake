# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the one-note song of a letter key: the instrument and pitch are in the
# file's name, e.g. notes/marimba-C4.mid is middle C on a marimba.
#
#   cmake -DMIDI=.../notes/marimba-C4.mid -DABC_FOLDER=... -P note.cmake
get_filename_component(name "${MIDI}" NAME_WE)
if(NOT name MATCHES "^([a-z]+)-([A-G])([2-7])$")
    message(FATAL_ERROR "${MIDI}: a note is named INSTRUMENT-PITCH, e.g. marimba-C4")
endif()
set(instrument ${CMAKE_MATCH_1})
set(letter ${CMAKE_MATCH_2})
set(octave ${CMAKE_MATCH_3})

# General MIDI instruments that ring clearly on one short note.
set(program_glockenspiel 9)
set(program_musicbox 10)
set(program_vibraphone 11)
set(program_marimba 12)
set(program_xylophone 13)
set(program_celesta 8)
if(NOT DEFINED program_${instrument})
    message(FATAL_ERROR "${MIDI}: no instrument called ${instrument}")
endif()

# ABC writes octave 4 in capitals (C is middle C), octave 5 in small letters,
# and marks each octave further with a comma (down) or an apostrophe (up).
if(octave LESS 5)
    set(note ${letter})
    math(EXPR marks "4 - ${octave}")
    string(REPEAT "," ${marks} suffix)
else()
    string(TOLOWER ${letter} note)
    math(EXPR marks "${octave} - 5")
    string(REPEAT "'" ${marks} suffix)
endif()

set(ABC "${ABC_FOLDER}/${name}.abc")
file(WRITE "${ABC}" "X:1\nT:${instrument} ${letter}${octave}\nM:none\nL:1/4\nQ:1/4=120\nK:C\n"
                    "%%MIDI program ${program_${instrument}}\n${note}${suffix}2 |]\n")
include(${CMAKE_CURRENT_LIST_DIR}/abc2midi.cmake)
