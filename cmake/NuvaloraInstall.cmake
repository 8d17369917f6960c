# Installing Nuvalora Sex Planner as a desktop program, for one user:
#
#   cmake --install <build> --prefix ~/.local
#
# The program keeps its dates (month.dat) beside itself, so it goes into a
# folder of its own that the user can write, <prefix>/lib/nuvalora; a link in
# <prefix>/bin starts it from a terminal (the program follows the link back to
# its folder). The desktop finds it through a menu entry, an icon in the
# hicolor theme and an AppStream description; software centres want the
# description's file named after its reverse-domain ID (the maker's domain is
# dravik.test), while the menu entry is named after the program, as the
# running program reports it (nuvalora.desktop).

include(GNUInstallDirs)

set(NUVALORA_PROGRAM_DIR "${CMAKE_INSTALL_LIBDIR}/nuvalora")
get_filename_component(nuvalora_packaging "${CMAKE_CURRENT_LIST_DIR}/../packaging" ABSOLUTE)
set(nuvalora_packaging_out "${CMAKE_BINARY_DIR}/packaging")
file(MAKE_DIRECTORY "${nuvalora_packaging_out}/bin")

install(TARGETS nuvalora RUNTIME DESTINATION "${NUVALORA_PROGRAM_DIR}")

# The launcher link, relative so that the installed tree can be moved whole.
if(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}" OR IS_ABSOLUTE "${NUVALORA_PROGRAM_DIR}")
    message(FATAL_ERROR "Nuvalora installs under one prefix: give CMAKE_INSTALL_BINDIR and "
                        "CMAKE_INSTALL_LIBDIR relative to it")
endif()
file(RELATIVE_PATH nuvalora_link_target "/prefix/${CMAKE_INSTALL_BINDIR}"
     "/prefix/${NUVALORA_PROGRAM_DIR}/nuvalora")
file(CREATE_LINK "${nuvalora_link_target}" "${nuvalora_packaging_out}/bin/nuvalora" SYMBOLIC)
install(FILES "${nuvalora_packaging_out}/bin/nuvalora" DESTINATION "${CMAKE_INSTALL_BINDIR}")

# The icon theme wants PNG; the program's icon is a BMP, converted at build
# time. Menus, docks and software centres want larger icons than the 16x16
# picture: it also goes in at whole multiples of its size, each pixel a block.
add_executable(nuvalora_pngicon "${nuvalora_packaging}/pngicon.cpp")
target_link_libraries(nuvalora_pngicon PRIVATE Qt6::Gui)
get_filename_component(nuvalora_icon_bmp "${CMAKE_CURRENT_LIST_DIR}/../resources/pictures/icon.bmp"
                       ABSOLUTE)
set(nuvalora_icon_pngs "")
foreach(size 16 32 48 64 128 256)
    set(theme_size "${size}x${size}")
    set(png "${nuvalora_packaging_out}/icons/${theme_size}/nuvalora.png")
    file(MAKE_DIRECTORY "${nuvalora_packaging_out}/icons/${theme_size}")
    add_custom_command(OUTPUT "${png}"
        COMMAND nuvalora_pngicon "${nuvalora_icon_bmp}" "${png}" ${size}
        DEPENDS nuvalora_pngicon "${nuvalora_icon_bmp}"
        COMMENT "Converting the program icon to a ${theme_size} PNG for the desktop"
        VERBATIM)
    list(APPEND nuvalora_icon_pngs "${png}")
    install(FILES "${png}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${theme_size}/apps")
endforeach()
add_custom_target(nuvalora_desktop_icon ALL DEPENDS ${nuvalora_icon_pngs})
# Whoever builds the program can install it.
add_dependencies(nuvalora nuvalora_desktop_icon)

# The menu entry starts the program by its full installed path, which is known
# only when installing (--prefix), so it is written then.
install(CODE "
    set(NUVALORA_PROGRAM_DIR \"${NUVALORA_PROGRAM_DIR}\")
    set(NUVALORA_APPLICATIONS_DIR \"${CMAKE_INSTALL_DATADIR}/applications\")
    set(NUVALORA_DESKTOP_IN \"${nuvalora_packaging}/nuvalora.desktop.in\")
    set(NUVALORA_DESKTOP_OUT \"${nuvalora_packaging_out}/nuvalora.desktop\")
    include(\"${nuvalora_packaging}/desktopentry.cmake\")
")

install(FILES "${nuvalora_packaging}/test.dravik.nuvalora.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
