# What `cmake --install` puts where. The programs are installed only when
# they are part of the build; the desktop files only on Linux.

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/Windows.cmake)
endif()
