# Checks of the files cmake/Install.cmake installs: the manual pages, the menu
# entry and the software-centre metadata are well formed, the committed icon
# files are what the dialog's icon makes, the release notes name this
# version, and pavok-cli's shell completion completes. Read by Install.cmake
# when the tests are built.

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
  add_test(NAME packaging_desktop_entry
    COMMAND ${PAVOK_DESKTOP_FILE_VALIDATE} ${pavok_packaging}/${pavok_app_id}.desktop)
endif()

# Software centres take metadata with no errors or warnings, and infos are
# refused here too. Without appstreamcli the check fails and says why.
find_program(PAVOK_APPSTREAMCLI appstreamcli)
set(metainfo ${pavok_packaging}/${pavok_app_id}.metainfo.xml)
if(PAVOK_APPSTREAMCLI)
  add_test(NAME packaging_metainfo COMMAND ${PAVOK_APPSTREAMCLI} validate --no-net --strict --explain ${metainfo})
else()
  add_test(NAME packaging_metainfo
    COMMAND bash -c "echo 'appstreamcli is missing: scripts/install-deps.sh installs it (appstream)' >&2; exit 1")
endif()

add_test(NAME packaging_release_notes_name_the_version
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/packaging/release-notes-test.sh ${PROJECT_VERSION} ${metainfo}
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})

if(TARGET pavok-cli)
  add_test(NAME packaging_bash_completion
    COMMAND bash ${PROJECT_SOURCE_DIR}/tests/packaging/pavok-cli-completion-test.sh
            ${pavok_packaging}/bash-completion/pavok-cli $<TARGET_FILE:pavok-cli>)
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
