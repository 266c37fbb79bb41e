# Read right after project() in the Windows cross build (see the toolchain
# file). Debian ships GoogleTest and CLI11 built or packaged for Linux only;
# here they come from the sources Debian ships, and find_package() finds them
# through CMake's redirect directory, so the project's own find_package()
# calls stay as they are.
include(FetchContent)

# GoogleTest from /usr/src/googletest, built with the project's compiler.
set(PAVOK_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
FetchContent_Declare(GTest SOURCE_DIR ${PAVOK_GOOGLETEST_SOURCE} OVERRIDE_FIND_PACKAGE)
FetchContent_MakeAvailable(GTest)

# CLI11 is header-only: offer its headers alone, never all of /usr/include,
# whose Linux C headers would shadow MinGW's.
set(PAVOK_CLI11_HEADERS /usr/include/CLI CACHE PATH "CLI11 headers for the cross build")
if(EXISTS ${PAVOK_CLI11_HEADERS}/CLI.hpp)
  set(pavok_cli11_root ${CMAKE_BINARY_DIR}/cli11-include)
  file(MAKE_DIRECTORY ${pavok_cli11_root})
  file(CREATE_LINK ${PAVOK_CLI11_HEADERS} ${pavok_cli11_root}/CLI SYMBOLIC)
  file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/cli11-config.cmake
    "if(NOT TARGET CLI11::CLI11)\n"
    "  add_library(CLI11::CLI11 INTERFACE IMPORTED)\n"
    "  set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES \"${pavok_cli11_root}\")\n"
    "endif()\n"
    "set(CLI11_FOUND TRUE)\n")
  file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/cli11-config-version.cmake
    "set(PACKAGE_VERSION_COMPATIBLE TRUE)\nset(PACKAGE_VERSION_EXACT FALSE)\n")
endif()
