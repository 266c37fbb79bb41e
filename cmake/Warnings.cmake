# Every target of the project builds with warnings as errors.
# Optimised Linux builds also take glibc's fortified headers, as the Debian
# package build does, so the warnings those add (an unread result of a call
# that can fail) stop the everyday build, not only the package check.
function(pavok_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
  if(NOT WIN32)
    target_compile_definitions(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
  endif()
endfunction()
