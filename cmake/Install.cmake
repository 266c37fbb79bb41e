# What `cmake --install` puts where. Programs are installed when they are
# part of the build; the desktop integration (menu entry, icons, udev rule,
# manual page) on Linux only.

include(GNUInstallDirs)

foreach(program pavok pavok-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/Windows.cmake)
endif()
if(NOT UNIX OR APPLE)
  return()
endif()

set(pavok_packaging ${PROJECT_SOURCE_DIR}/packaging)

# The dialog's menu entry and its icon in the sizes desktops look for.
if(TARGET pavok)
  install(FILES ${pavok_packaging}/pavok.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(DIRECTORY ${pavok_packaging}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
  install(FILES ${pavok_packaging}/icons/pavok.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# udev reads rules from /usr/lib/udev/rules.d (and /etc/udev/rules.d), not
# from below other prefixes; a /usr/local install only parks the rule there.
set(PAVOK_UDEV_RULES_DIR lib/udev/rules.d CACHE STRING "Where the adapter's udev rule goes, below the prefix")
install(FILES ${pavok_packaging}/60-pavok.rules DESTINATION ${PAVOK_UDEV_RULES_DIR})

# Manual pages carry the version and are installed compressed, as Debian
# keeps them.
find_program(PAVOK_GZIP gzip)
set(pavok_man_pages)
foreach(program pavok pavok-cli)
  if(NOT TARGET ${program} OR NOT EXISTS ${pavok_packaging}/${program}.1)
    continue()
  endif()
  set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1)
  configure_file(${pavok_packaging}/${program}.1 ${page} @ONLY)
  if(PAVOK_GZIP)
    add_custom_command(OUTPUT ${page}.gz
      COMMAND ${PAVOK_GZIP} -9 -n -c ${page} > ${page}.gz
      DEPENDS ${page} ${pavok_packaging}/${program}.1
      COMMENT "Compressing the manual page of ${program}")
    set(page ${page}.gz)
  endif()
  list(APPEND pavok_man_pages ${page})
endforeach()
if(pavok_man_pages)
  add_custom_target(pavok_man_pages ALL DEPENDS ${pavok_man_pages})
  install(FILES ${pavok_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# Checks of the files above: the manual pages and the menu entry are well
# formed, and the committed icon files are what the dialog's icon makes.
if(PAVOK_BUILD_TESTS)
  find_program(PAVOK_GROFF groff)
  if(PAVOK_GROFF)
    foreach(page IN LISTS pavok_man_pages)
      string(REGEX REPLACE "\\.gz$" "" page "${page}")
      get_filename_component(name ${page} NAME)
      add_test(NAME packaging_man_page_${name}
        COMMAND bash -c "! LC_ALL=C.UTF-8 \"$0\" -k -man -Tutf8 -ww -z \"$1\" 2>&1 | grep ." ${PAVOK_GROFF} ${page})
    endforeach()
  endif()
  find_program(PAVOK_DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(PAVOK_DESKTOP_FILE_VALIDATE)
    add_test(NAME packaging_desktop_entry COMMAND ${PAVOK_DESKTOP_FILE_VALIDATE} ${pavok_packaging}/pavok.desktop)
  endif()
  find_package(Python3 COMPONENTS Interpreter)
  if(Python3_Interpreter_FOUND AND EXISTS ${PROJECT_SOURCE_DIR}/res/icons/chip32.xpm)
    set(made ${CMAKE_CURRENT_BINARY_DIR}/icons-check)
    add_test(NAME packaging_icons_up_to_date
      COMMAND bash -c [[rm -rf "$1" && "$0" packaging/icons/make-icons.py --out "$1" >/dev/null &&
                        diff -r packaging/icons/hicolor "$1/packaging/icons/hicolor" &&
                        cmp packaging/icons/pavok.svg "$1/packaging/icons/pavok.svg" &&
                        cmp res/windows/pavok.ico "$1/res/windows/pavok.ico"]]
              ${Python3_EXECUTABLE} ${made}
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
  endif()
endif()
