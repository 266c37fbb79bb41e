# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers.
#   cmake -S . -B build-windows -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DPAVOK_BUILD_GUI=OFF -DPAVOK_BUILD_BENCH=OFF
# The test programs run through Wine, so ctest works in the build directory.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PAVOK_MINGW_TRIPLET x86_64-w64-mingw32)
# The POSIX thread model gives std::thread and std::mutex; everything is
# linked statically so the programs need no MinGW DLLs beside them.
set(CMAKE_C_COMPILER ${PAVOK_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PAVOK_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${PAVOK_MINGW_TRIPLET}-windres)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_FIND_ROOT_PATH /usr/${PAVOK_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs and anything else CMake runs go through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/windows-wine.sh)

# Right after project(): GoogleTest built from Debian's sources, and CLI11's
# headers without the rest of /usr/include.
set(CMAKE_PROJECT_Pavok_INCLUDE ${CMAKE_CURRENT_LIST_DIR}/WindowsPackages.cmake)
