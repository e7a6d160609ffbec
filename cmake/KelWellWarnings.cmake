# Warnings for our own code; generated stubs get none of these.
function(kelwell_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual -Wno-unused-parameter)
  if(KELWELL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
