# Every target of the project builds with warnings as errors.
function(pavok_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()
