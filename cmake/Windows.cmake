# Windows parts of the build: the driver transport, and the programs'
# version record, icon and manifest. Read only when building for Windows.

# The Windows driver transport joins the device library, and so does the
# CH341A transport, over its maker's DLL instead of libusb.
target_sources(pavok_device PRIVATE
  ${PROJECT_SOURCE_DIR}/device/WinDriverTransport.cpp
  ${PROJECT_SOURCE_DIR}/device/UsbConnection.cpp
  ${PROJECT_SOURCE_DIR}/device/Ch341aTransport.cpp
  ${PROJECT_SOURCE_DIR}/device/Ch341aDll.cpp)
target_compile_definitions(pavok_device PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)

# The version strings come from res/Version.h, so the record and the programs
# never disagree.
function(pavok_read_version_string name out)
  file(STRINGS ${PROJECT_SOURCE_DIR}/res/Version.h line REGEX "${name} = \"[^\"]*\"")
  string(REGEX MATCH "\"([^\"]*)\"" unused "${line}")
  if(NOT CMAKE_MATCH_1)
    message(FATAL_ERROR "res/Version.h has no ${name}")
  endif()
  set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

pavok_read_version_string(kProductName PAVOK_PRODUCT_NAME)
pavok_read_version_string(kFileVersion PAVOK_FILE_VERSION)
pavok_read_version_string(kProductVersion PAVOK_PRODUCT_VERSION)
pavok_read_version_string(kFileDescription PAVOK_FILE_DESCRIPTION)
string(REPLACE "." "," PAVOK_RC_FILE_VERSION "${PAVOK_FILE_VERSION}")
string(REPLACE "." "," PAVOK_RC_PRODUCT_VERSION "${PAVOK_PRODUCT_VERSION}")

# pavok_windows_resources(TARGET DESCRIPTION): gives a program the version
# record, with its own file name and description, the icon and the manifest.
function(pavok_windows_resources target description)
  set(PAVOK_RC_FILE_NAME "${target}.exe")
  set(PAVOK_RC_INTERNAL_NAME "${target}")
  set(PAVOK_RC_DESCRIPTION "${description}")
  set(PAVOK_RC_ICON "${PROJECT_SOURCE_DIR}/res/windows/pavok.ico")
  set(PAVOK_RC_MANIFEST "${PROJECT_SOURCE_DIR}/res/windows/pavok.manifest")
  set(rc ${CMAKE_BINARY_DIR}/res/windows/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/res/windows/pavok.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${PAVOK_RC_ICON} ${PAVOK_RC_MANIFEST})
endfunction()

if(TARGET pavok-cli)
  pavok_windows_resources(pavok-cli "${PAVOK_FILE_DESCRIPTION} (command line)")
endif()
if(TARGET pavok)
  pavok_windows_resources(pavok "${PAVOK_FILE_DESCRIPTION}")
  # The dialog opens no console window beside itself.
  set_target_properties(pavok PROPERTIES WIN32_EXECUTABLE ON)
endif()

# The time pavok.exe takes to its first painted frame (scripts/windows-cross.sh
# prints it).
if(TARGET pavok)
  add_executable(pavok_first_frame ${PROJECT_SOURCE_DIR}/bench/win32/FirstFrame.cpp)
  target_link_options(pavok_first_frame PRIVATE -municode)
  pavok_warnings(pavok_first_frame)
endif()

if(PAVOK_BUILD_TESTS)
  pavok_add_test(win_driver_transport_test ${PROJECT_SOURCE_DIR}/tests/device/WinDriverTransportTest.cpp)
  pavok_add_test(windows_resource_test ${PROJECT_SOURCE_DIR}/tests/windows/WindowsResourceTest.cpp LIBS version)
  pavok_windows_resources(windows_resource_test "Pavok resource test")
  if(TARGET pavok_win32)
    pavok_add_test(native_dialog_test ${PROJECT_SOURCE_DIR}/tests/windows/NativeDialogTest.cpp
                   ${PROJECT_SOURCE_DIR}/tests/windows/DialogDriver.cpp LIBS pavok_win32)
    pavok_windows_resources(native_dialog_test "Pavok dialog test")
    # The program's own start: its version, and a chip image it cannot use.
    add_test(NAME pavok_exe_version COMMAND pavok --version)
    set_tests_properties(pavok_exe_version PROPERTIES PASS_REGULAR_EXPRESSION "file version ${PAVOK_FILE_VERSION}")
    add_test(NAME pavok_exe_unusable_chip_image COMMAND pavok --emulate --chip-image ${PROJECT_SOURCE_DIR})
    set_tests_properties(pavok_exe_unusable_chip_image PROPERTIES WILL_FAIL ON)
  endif()
endif()

# The stand-in for the CH341A maker's DLL, under its name beside the test
# programs and pavok-cli.exe, and a DLL of the other bitness under the same
# name.
if(PAVOK_BUILD_TESTS)
  add_library(ch341a_stand_in SHARED
    ${PROJECT_SOURCE_DIR}/tests/windows/Ch341aStandInDll.cpp
    ${PROJECT_SOURCE_DIR}/tests/usb/Ch341aStreamBus.cpp
    ${PROJECT_SOURCE_DIR}/tests/usb/I2cEeprom.cpp)
  target_include_directories(ch341a_stand_in PRIVATE ${PROJECT_SOURCE_DIR}/tests/usb)
  target_link_libraries(ch341a_stand_in PRIVATE pavok_core)
  target_link_options(ch341a_stand_in PRIVATE -static)
  set_target_properties(ch341a_stand_in PROPERTIES PREFIX "" OUTPUT_NAME CH341DLLA64 SUFFIX ".DLL"
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  pavok_warnings(ch341a_stand_in)
  add_custom_command(TARGET ch341a_stand_in POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:ch341a_stand_in> $<TARGET_FILE_DIR:pavok-cli>)

  set(wrong_bitness ${CMAKE_BINARY_DIR}/wrong-bitness/CH341DLLA64.DLL)
  find_program(PAVOK_I686_GCC i686-w64-mingw32-gcc)
  if(PAVOK_I686_GCC)
    add_custom_command(OUTPUT ${wrong_bitness}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/wrong-bitness
      COMMAND ${PAVOK_I686_GCC} -shared -o ${wrong_bitness} -xc /dev/null
      COMMENT "A 32-bit DLL under the 64-bit CH341A DLL's name")
  else()
    # Without the 32-bit compiler: a file that is no DLL of this bitness either.
    file(WRITE ${wrong_bitness} "not a DLL")
  endif()
  add_custom_target(ch341a_wrong_bitness ALL DEPENDS ${wrong_bitness})

  pavok_add_test(ch341a_dll_test ${PROJECT_SOURCE_DIR}/tests/windows/Ch341aDllTest.cpp
                 ${PROJECT_SOURCE_DIR}/tests/app/CliTestSupport.cpp LIBS pavok_cli_lib)
  target_include_directories(ch341a_dll_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/app)
  add_dependencies(ch341a_dll_test ch341a_stand_in ch341a_wrong_bitness)
endif()
