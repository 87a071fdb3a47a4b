# Checks the dynamic symbol table of a shared library: the symbols it
# defines, the loader's _init/_fini aside, must be
#   - with PATTERN: the (demangled) names matching PATTERN, at least one, and
#     with EXPECTED exactly EXPECTED of them;
#   - with LIST: exactly the names of the file LIST, one a line, as the
#     linker sees them (C++ names mangled).
#
#   cmake -DLIBRARY=<file> -DNM=<nm> -DPATTERN=<regex> [-DEXPECTED=<n>]
#         -P CheckExportedSymbols.cmake
#   cmake -DLIBRARY=<file> -DNM=<nm> -DLIST=<names.txt> -P CheckExportedSymbols.cmake
if(DEFINED LIST)
  set(demangle "")
else()
  set(demangle -C)
endif()
execute_process(COMMAND ${NM} -D ${demangle} --defined-only ${LIBRARY}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REPLACE "\n" ";" lines "${symbols}")
set(defined "")
foreach(line IN LISTS lines)
  if(line MATCHES "^[0-9a-fA-F]* +[A-Za-z] +(.+)$")
    set(name "${CMAKE_MATCH_1}")
    if(NOT name MATCHES "^_(init|fini)$")
      list(APPEND defined "${name}")
    endif()
  endif()
endforeach()

if(DEFINED LIST)
  file(STRINGS ${LIST} expected)
  set(extra ${defined})
  if(expected)
    list(REMOVE_ITEM extra ${expected})
  endif()
  set(missing ${expected})
  if(defined)
    list(REMOVE_ITEM missing ${defined})
  endif()
  if(extra OR missing)
    string(REPLACE ";" "\n  " extra "${extra}")
    string(REPLACE ";" "\n  " missing "${missing}")
    message(FATAL_ERROR "symbols of ${LIBRARY} differ from ${LIST}\n"
                        "not listed:\n  ${extra}\nmissing:\n  ${missing}")
  endif()
  list(LENGTH defined count)
  message(STATUS "${count} exported symbols, as listed")
  return()
endif()

set(exports 0)
set(strays "")
foreach(name IN LISTS defined)
  if(name MATCHES "${PATTERN}")
    math(EXPR exports "${exports} + 1")
  else()
    list(APPEND strays "${name}")
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
