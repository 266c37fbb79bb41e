# GoogleTest and CLI11 for Windows builds, read right after project(): the
# cross build's toolchain file names this file, and a native Windows build
# passes -DCMAKE_PROJECT_Pavok_INCLUDE=cmake/WindowsPackages.cmake. The
# project's own find_package() calls and includes stay as they are.
include(FetchContent)

# GoogleTest built from its sources with the project's compiler; Debian ships
# them in /usr/src/googletest. find_package(GTest) then finds this build.
set(PAVOK_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
FetchContent_Declare(GTest SOURCE_DIR ${PAVOK_GOOGLETEST_SOURCE} OVERRIDE_FIND_PACKAGE)
FetchContent_MakeAvailable(GTest)

# CLI11 is header-only and included as <CLI/CLI.hpp>. A directory holding
# only its CLI/ folder joins the include path, never all of /usr/include,
# whose Linux C headers would shadow MinGW's.
set(PAVOK_CLI11_INCLUDE_DIR "" CACHE PATH "Directory holding CLI11's CLI/ headers (default: Debian's)")
set(pavok_cli11_include ${PAVOK_CLI11_INCLUDE_DIR})
if(NOT pavok_cli11_include AND EXISTS /usr/include/CLI/CLI.hpp)
  set(pavok_cli11_include ${CMAKE_BINARY_DIR}/cli11-include)
  file(MAKE_DIRECTORY ${pavok_cli11_include})
  file(CREATE_LINK /usr/include/CLI ${pavok_cli11_include}/CLI SYMBOLIC)
endif()
if(pavok_cli11_include)
  include_directories(SYSTEM ${pavok_cli11_include})
endif()
