# SPDX-License-Identifier: GPL-3.0-or-later
# The click pictures: hand-drawn SVG sources here, rendered at build time into
# the picture folder of the program folder by tools/render_pictures.cpp. Included
# from the top-level CMakeLists.

# Every drawing in this folder becomes a picture, so a new one needs no edit here.
file(GLOB ZUBELO_PICTURE_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.svg)
set(ZUBELO_PICTURE_DIR ${ZUBELO_PROGRAM_DIR}/pictures)
set(ZUBELO_PICTURES)
foreach(source IN LISTS ZUBELO_PICTURE_SOURCES)
    get_filename_component(name ${source} NAME_WLE)
    set(picture ${ZUBELO_PICTURE_DIR}/${name}.jpg)
    add_custom_command(OUTPUT ${picture}
        COMMAND render_pictures ${ZUBELO_PICTURE_DIR} ${source}
        DEPENDS render_pictures ${source}
        COMMENT "Rendering the picture ${name}"
        VERBATIM)
    list(APPEND ZUBELO_PICTURES ${picture})
endforeach()
add_custom_target(pictures ALL DEPENDS ${ZUBELO_PICTURES})
