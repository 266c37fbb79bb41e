# Read right after project() in the Windows cross build (see the toolchain
# file). Debian ships GoogleTest built for Linux and CLI11 among the Linux
# headers; here both come from what Debian ships, so the project's own
# find_package() calls and includes stay as they are.
include(FetchContent)

# GoogleTest from /usr/src/googletest, built with the project's compiler.
set(PAVOK_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
FetchContent_Declare(GTest SOURCE_DIR ${PAVOK_GOOGLETEST_SOURCE} OVERRIDE_FIND_PACKAGE)
FetchContent_MakeAvailable(GTest)

# CLI11 is header-only: its headers alone join the include path, never all
# of /usr/include, whose Linux C headers would shadow MinGW's.
set(PAVOK_CLI11_HEADERS /usr/include/CLI CACHE PATH "CLI11 headers for the cross build")
if(EXISTS ${PAVOK_CLI11_HEADERS}/CLI.hpp)
  set(pavok_cli11_root ${CMAKE_BINARY_DIR}/cli11-include)
  file(MAKE_DIRECTORY ${pavok_cli11_root})
  file(CREATE_LINK ${PAVOK_CLI11_HEADERS} ${pavok_cli11_root}/CLI SYMBOLIC)
  include_directories(SYSTEM ${pavok_cli11_root})
endif()
