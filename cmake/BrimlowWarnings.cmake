# Every Brimlow target compiles with the same warnings; CI turns them into errors.
function(brimlow_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${BRIMLOW_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
                                             $<$<BOOL:${BRIMLOW_WERROR}>:-Werror>)
  endif()
endfunction()
