# SPDX-License-Identifier: GPL-3.0-or-later
# The icon: one drawing, data/zubelo.svg, rendered at build time into PNG files at
# the sizes of the desktop's icon theme. The window takes the small ones, the
# package all of them. Included from the top-level CMakeLists.
set(ZUBELO_ICON_SIZES 16 24 32 48 64 128 256)
set(window_sizes 16 32 48 64)
set(ZUBELO_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(ZUBELO_ICONS)
set(ZUBELO_WINDOW_ICONS)
foreach(size IN LISTS ZUBELO_ICON_SIZES)
    list(APPEND ZUBELO_ICONS ${ZUBELO_ICON_DIR}/${size}x${size}.png)
    if(size IN_LIST window_sizes)
        list(APPEND ZUBELO_WINDOW_ICONS ${ZUBELO_ICON_DIR}/${size}x${size}.png)
    endif()
endforeach()
add_custom_command(OUTPUT ${ZUBELO_ICONS}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZUBELO_ICON_DIR}
    COMMAND render_icon ${CMAKE_CURRENT_LIST_DIR}/zubelo.svg ${ZUBELO_ICON_DIR} ${ZUBELO_ICON_SIZES}
    DEPENDS render_icon ${CMAKE_CURRENT_LIST_DIR}/zubelo.svg
    COMMENT "Rendering the icons"
    VERBATIM)
add_custom_target(icons ALL DEPENDS ${ZUBELO_ICONS})
