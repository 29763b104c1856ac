# SPDX-License-Identifier: GPL-3.0-or-later
# The starter content of the program folder, all made at build time from the
# sources in data/: songs and sounds from ABC with abc2midi, lyrics in
# Shift-JIS, WAVE sounds from tools/make_sounds.cpp, and the first Option.dat.
# data/keys.txt, the key table of that Option.dat, decides what is made.
# Included from the top-level CMakeLists.
set(ZUBELO_DATA ${CMAKE_CURRENT_LIST_DIR})

# Lyrics size of the first Option.dat: the longest verse fills a 1280 x 800
# screen without scrolling (tst_content measures it in the play window).
set(ZUBELO_LYRICS_FONT_SIZE 72)
# The folders the content lies in, for packaging.
set(ZUBELO_CONTENT_DIRS songs sounds notes pictures)

find_program(ZUBELO_ABC2MIDI abc2midi REQUIRED) # Debian package abcmidi

# zubelo_abc(ABC TUNE MIDI): one tune of an ABC file becomes a MIDI file;
# TUNE is the tune's X: number, or empty for a file of one tune.
set(ZUBELO_CONTENT)
function(zubelo_abc abc tune midi)
    file(RELATIVE_PATH name ${ZUBELO_PROGRAM_DIR} ${midi})
    add_custom_command(OUTPUT ${midi}
        COMMAND ${CMAKE_COMMAND} -DABC2MIDI=${ZUBELO_ABC2MIDI} -DABC=${abc} -DTUNE=${tune} -DMIDI=${midi}
                -P ${ZUBELO_DATA}/abc2midi.cmake
        DEPENDS ${abc} ${ZUBELO_DATA}/abc2midi.cmake
        COMMENT "Writing the song ${name}"
        VERBATIM)
    set(ZUBELO_CONTENT ${ZUBELO_CONTENT} ${midi} PARENT_SCOPE)
endfunction()

# The tunes of a file of many, by title: tune_<title> is the tune's X: number.
function(zubelo_read_tunes abc)
    file(STRINGS ${abc} fields REGEX "^[XT]:")
    foreach(field IN LISTS fields)
        if(field MATCHES "^X:[ ]*([0-9]+)")
            set(number ${CMAKE_MATCH_1})
        elseif(field MATCHES "^T:[ ]*(.+)$")
            set(tune_${CMAKE_MATCH_1} ${number} PARENT_SCOPE)
        endif()
    endforeach()
endfunction()

# The click songs, beside the executable.
zubelo_read_tunes(${ZUBELO_DATA}/clicks.abc)
foreach(click ClickLeft ClickRight ClickMiddle)
    zubelo_abc(${ZUBELO_DATA}/clicks.abc ${tune_${click}} ${ZUBELO_PROGRAM_DIR}/${click}.mid)
endforeach()

# The WAVE sounds of the project's own generator (tools/make_sounds.cpp).
set(ZUBELO_WAVE_SOUNDS boing pop slide fall drip bubbles)
list(TRANSFORM ZUBELO_WAVE_SOUNDS PREPEND ${ZUBELO_PROGRAM_DIR}/sounds/ OUTPUT_VARIABLE waves)
list(TRANSFORM waves APPEND .wav)
add_custom_command(OUTPUT ${waves}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZUBELO_PROGRAM_DIR}/sounds
    COMMAND make_sounds ${ZUBELO_PROGRAM_DIR}/sounds
    DEPENDS make_sounds
    COMMENT "Writing the WAVE sounds")
list(APPEND ZUBELO_CONTENT ${waves})

# Everything keys.txt names.
zubelo_read_tunes(${ZUBELO_DATA}/sounds/sounds.abc)
# (Comments go first: the key names in them hold brackets, which CMake lists keep together.)
file(READ ${ZUBELO_DATA}/keys.txt keys)
string(REGEX REPLACE "#[^\n]*" "" keys "${keys}")
string(REGEX MATCHALL "[^ \t\n]+" key_files "${keys}")
list(REMOVE_DUPLICATES key_files)
# Read here, so an edit of them configures the build again.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${ZUBELO_DATA}/keys.txt ${ZUBELO_DATA}/sounds/sounds.abc ${ZUBELO_DATA}/clicks.abc)
foreach(file IN LISTS key_files)
    set(target ${ZUBELO_PROGRAM_DIR}/${file})
    if(file MATCHES "^songs/([^/]+)\\.mid$")
        set(song ${ZUBELO_DATA}/songs/${CMAKE_MATCH_1})
        zubelo_abc(${song}.abc "" ${target})
        if(EXISTS ${song}.txt)
            set(lyrics ${ZUBELO_PROGRAM_DIR}/songs/${CMAKE_MATCH_1}.txt)
            add_custom_command(OUTPUT ${lyrics}
                COMMAND ${CMAKE_COMMAND} -DIN=${song}.txt -DOUT=${lyrics} -P ${ZUBELO_DATA}/lyrics.cmake
                DEPENDS ${song}.txt ${ZUBELO_DATA}/lyrics.cmake
                COMMENT "Writing the lyrics songs/${CMAKE_MATCH_1}.txt"
                VERBATIM)
            list(APPEND ZUBELO_CONTENT ${lyrics})
        endif()
    elseif(file MATCHES "^sounds/([^/]+)\\.mid$")
        if(NOT DEFINED tune_${CMAKE_MATCH_1})
            message(FATAL_ERROR "data/keys.txt: no tune titled ${CMAKE_MATCH_1} in data/sounds/sounds.abc")
        endif()
        zubelo_abc(${ZUBELO_DATA}/sounds/sounds.abc ${tune_${CMAKE_MATCH_1}} ${target})
    elseif(file MATCHES "^notes/[^/]+\\.mid$")
        add_custom_command(OUTPUT ${target}
            COMMAND ${CMAKE_COMMAND} -DABC2MIDI=${ZUBELO_ABC2MIDI} -DMIDI=${target} -DABC_FOLDER=${CMAKE_BINARY_DIR}/notes
                    -P ${ZUBELO_DATA}/note.cmake
            DEPENDS ${ZUBELO_DATA}/note.cmake ${ZUBELO_DATA}/abc2midi.cmake
            COMMENT "Writing the note ${file}"
            VERBATIM)
        list(APPEND ZUBELO_CONTENT ${target})
    elseif(NOT target IN_LIST waves)
        message(FATAL_ERROR "data/keys.txt: nothing here makes ${file}")
    endif()
endforeach()

add_custom_command(OUTPUT ${ZUBELO_FIRST_OPTIONS}
    COMMAND ${CMAKE_COMMAND} -DKEYS=${ZUBELO_DATA}/keys.txt -DLYRICS_SIZE=${ZUBELO_LYRICS_FONT_SIZE}
            -DOUT=${ZUBELO_FIRST_OPTIONS} -P ${ZUBELO_DATA}/first-options.cmake
    DEPENDS ${ZUBELO_DATA}/keys.txt ${ZUBELO_DATA}/first-options.cmake
    COMMENT "Writing the first Option.dat"
    VERBATIM)
add_custom_target(content ALL DEPENDS ${ZUBELO_CONTENT} ${ZUBELO_FIRST_OPTIONS})

# A program folder gets the first Option.dat only when it has none.
add_custom_target(program_folder ALL
    COMMAND ${CMAKE_COMMAND} -DPROGRAM_DIR=${ZUBELO_PROGRAM_DIR} -DFIRST_OPTIONS=${ZUBELO_FIRST_OPTIONS}
            -P ${ZUBELO_DATA}/default-options.cmake
    COMMENT "Preparing the program folder"
    VERBATIM)
add_dependencies(program_folder content)
add_dependencies(zubelo program_folder)
