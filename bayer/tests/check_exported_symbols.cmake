# Compares the dynamic symbols a shared library defines with a list of names.
#   cmake -DNM=<nm> -DLIBRARY=<lib.so> -DEXPECTED=<names.txt> -P check_exported_symbols.cmake
execute_process(COMMAND ${NM} -D --defined-only --format=posix ${LIBRARY}
                OUTPUT_VARIABLE nm_output RESULT_VARIABLE nm_result)
if(NOT nm_result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REPLACE "\n" ";" nm_lines "${nm_output}")
set(defined "")
foreach(line IN LISTS nm_lines)
  if(line MATCHES "^([^ ]+) ")
    list(APPEND defined "${CMAKE_MATCH_1}")
  endif()
endforeach()
list(SORT defined)

file(STRINGS ${EXPECTED} expected)
list(SORT expected)

set(extra ${defined})
list(REMOVE_ITEM extra ${expected})
set(missing ${expected})
list(REMOVE_ITEM missing ${defined})
if(extra OR missing)
  message(FATAL_ERROR "Exported symbols differ.\n  not expected: ${extra}\n  missing: ${missing}")
endif()
list(LENGTH defined count)
message(STATUS "${count} exported symbols, as expected")
