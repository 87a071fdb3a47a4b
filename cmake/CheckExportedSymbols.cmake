# Fails when the dynamic symbol table of LIBRARY defines anything but the
# symbols whose (demangled) names match PATTERN and the loader's _init/_fini,
# or when none matches, or, with EXPECTED, when not exactly EXPECTED match.
#
#   cmake -DLIBRARY=<file> -DNM=<nm> -DPATTERN=<regex> [-DEXPECTED=<n>]
#         -P CheckExportedSymbols.cmake
execute_process(COMMAND ${NM} -D -C --defined-only ${LIBRARY}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REPLACE "\n" ";" lines "${symbols}")
set(exports 0)
set(strays "")
foreach(line IN LISTS lines)
  if(line MATCHES "^[0-9a-fA-F]* +[A-Za-z] +(.+)$")
    set(name "${CMAKE_MATCH_1}")
    if(name MATCHES "${PATTERN}")
      math(EXPR exports "${exports} + 1")
    elseif(NOT name MATCHES "^_(init|fini)$")
      list(APPEND strays "${name}")
    endif()
  endif()
endforeach()
if(strays)
  string(REPLACE ";" "\n  " strays "${strays}")
  message(FATAL_ERROR "symbols of ${LIBRARY} besides ${PATTERN}:\n  ${strays}")
endif()
if(exports EQUAL 0)
  message(FATAL_ERROR "no ${PATTERN} symbols in ${LIBRARY}")
endif()
if(DEFINED EXPECTED AND NOT exports EQUAL EXPECTED)
  message(FATAL_ERROR "${exports} ${PATTERN} symbols in ${LIBRARY}, expected ${EXPECTED}")
endif()
message(STATUS "${exports} exports, nothing else")
