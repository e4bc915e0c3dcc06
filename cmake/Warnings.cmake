# es_warnings(<target>): the project's warning set, -Werror when ES_WERROR is on.
function(es_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${ES_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
      $<$<BOOL:${ES_WERROR}>:-Werror>)
  endif()
endfunction()
