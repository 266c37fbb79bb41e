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

# The dialog after start-up in each language, as README shows it: drawn off
# screen by the program itself (which needs to run here, so not in a cross build).
if(NOT CMAKE_CROSSCOMPILING)
  set(pavok_screenshots)
  foreach(language ru ${pavok_languages})
    set(png ${PROJECT_BINARY_DIR}/docs/screenshot-${language}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/docs
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
              $<TARGET_FILE:pavok> --emulate --language ${language} --screenshot ${png}
      DEPENDS pavok
      COMMENT "Drawing the dialog in ${language}")
    list(APPEND pavok_screenshots ${png})
  endforeach()
  add_custom_target(screenshots ALL DEPENDS ${pavok_screenshots})
endif()
