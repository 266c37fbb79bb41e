# pavok, the dialog program. It takes the adapter options from
# pavok_app_common, which app/CMakeLists.txt defines before including this.
if(NOT TARGET pavok_app_common)
  message(STATUS "pavok: no pavok_app_common target yet, the dialog program is not built")
  return()
endif()

find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_executable(pavok ProgrammerApp.cpp)
target_link_libraries(pavok PRIVATE pavok_ui pavok_app_common)
pavok_warnings(pavok)
