# What `cmake --install` puts where. Programs are installed when they are
# part of the build; the desktop integration (menu entry, software-centre
# metadata, icons, udev rule, manual pages, shell completion) and the package
# documentation (copyright, changelog) on Linux only.

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
# The dialog's id in desktops and software centres, in reverse-DNS form: the
# name of its menu entry and of its AppStream metainfo.
set(pavok_app_id org.example.pavok)

# The dialog's menu entry, what software centres show of it, and its icon in
# the sizes desktops look for.
if(TARGET pavok)
  install(FILES ${pavok_packaging}/${pavok_app_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${pavok_packaging}/${pavok_app_id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(DIRECTORY ${pavok_packaging}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
  install(FILES ${pavok_packaging}/icons/pavok.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# udev reads rules from /usr/lib/udev/rules.d (and /etc/udev/rules.d), not
# from below other prefixes; a /usr/local install only parks the rule there.
set(PAVOK_UDEV_RULES_DIR lib/udev/rules.d CACHE STRING "Where the adapter's udev rule goes, below the prefix")
install(FILES ${pavok_packaging}/60-pavok.rules DESTINATION ${PAVOK_UDEV_RULES_DIR})

# bash-completion loads a program's completion by the program's name.
if(TARGET pavok-cli)
  install(FILES ${pavok_packaging}/bash-completion/pavok-cli
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
endif()

# Manual pages and the changelog are installed compressed, as Debian keeps
# them (gzip -9n: the same bytes on every build). pavok_compressed(FILE OUT)
# sets OUT to what to install for FILE: FILE.gz, or FILE itself without gzip.
find_program(PAVOK_GZIP gzip)
set(pavok_compressed_files)
function(pavok_compressed file out)
  if(NOT PAVOK_GZIP)
    set(${out} ${file} PARENT_SCOPE)
    return()
  endif()
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${file}.gz
    COMMAND ${PAVOK_GZIP} -9 -n -c ${file} > ${file}.gz
    DEPENDS ${file}
    COMMENT "Compressing ${name}")
  set(pavok_compressed_files ${pavok_compressed_files} ${file}.gz PARENT_SCOPE)
  set(${out} ${file}.gz PARENT_SCOPE)
endfunction()

# The manual pages carry the version.
set(pavok_man_pages)
foreach(program pavok pavok-cli)
  if(NOT TARGET ${program} OR NOT EXISTS ${pavok_packaging}/${program}.1)
    continue()
  endif()
  set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1)
  configure_file(${pavok_packaging}/${program}.1 ${page} @ONLY)
  pavok_compressed(${page} page)
  list(APPEND pavok_man_pages ${page})
endforeach()
if(pavok_man_pages)
  install(FILES ${pavok_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The package's own documentation: the terms of every file (machine-readable
# copyright) and the changelog, where Debian looks for them.
set(pavok_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/pavok)
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/doc/changelog)
configure_file(${pavok_packaging}/debian/changelog ${changelog} COPYONLY)
pavok_compressed(${changelog} changelog)
install(FILES ${pavok_packaging}/debian/copyright ${changelog} DESTINATION ${pavok_doc_dir})
if(pavok_compressed_files)
  add_custom_target(pavok_compressed_files ALL DEPENDS ${pavok_compressed_files})
endif()

if(PAVOK_BUILD_TESTS)
  include(${CMAKE_CURRENT_LIST_DIR}/PackagingChecks.cmake)
endif()
