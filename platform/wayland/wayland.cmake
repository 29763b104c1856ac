# SPDX-License-Identifier: GPL-3.0-or-later
# Wayland: the protocol code of the compositor's shortcut inhibitor and pointer
# confinement, generated from the XML that wayland-protocols ships, and the
# libraries the Wayland sources of the platform layer use.
enable_language(C)
pkg_check_modules(WAYLAND_CLIENT REQUIRED IMPORTED_TARGET wayland-client)
pkg_check_modules(XKBCOMMON REQUIRED IMPORTED_TARGET xkbcommon)
pkg_get_variable(ZUBELO_WAYLAND_PROTOCOLS wayland-protocols pkgdatadir)
pkg_get_variable(ZUBELO_WAYLAND_SCANNER wayland-scanner wayland_scanner)
find_package(Qt6 REQUIRED COMPONENTS Gui)
if(NOT ZUBELO_WAYLAND_PROTOCOLS OR NOT ZUBELO_WAYLAND_SCANNER)
    message(FATAL_ERROR "Zubelo needs wayland-protocols and wayland-scanner (libwayland-bin)")
endif()

set(zubelo_wayland_generated ${CMAKE_CURRENT_BINARY_DIR}/wayland-protocols)
foreach(protocol keyboard-shortcuts-inhibit pointer-constraints)
    set(xml ${ZUBELO_WAYLAND_PROTOCOLS}/unstable/${protocol}/${protocol}-unstable-v1.xml)
    set(out ${zubelo_wayland_generated}/${protocol}-unstable-v1)
    add_custom_command(OUTPUT ${out}-client-protocol.h ${out}-protocol.c
        COMMAND ${CMAKE_COMMAND} -E make_directory ${zubelo_wayland_generated}
        COMMAND ${ZUBELO_WAYLAND_SCANNER} client-header ${xml} ${out}-client-protocol.h
        COMMAND ${ZUBELO_WAYLAND_SCANNER} private-code ${xml} ${out}-protocol.c
        DEPENDS ${xml} VERBATIM)
    target_sources(zubelo_platform PRIVATE ${out}-client-protocol.h ${out}-protocol.c)
endforeach()

target_include_directories(zubelo_platform PRIVATE ${zubelo_wayland_generated})
target_link_libraries(zubelo_platform PRIVATE PkgConfig::WAYLAND_CLIENT PkgConfig::XKBCOMMON Qt6::GuiPrivate)
