# varnu_add_test(<target> [TIMEOUT seconds] [ENVIRONMENT VAR=value ...])
#
# Registers one test executable as one CTest test. The cases inside an
# executable run one after another; executables run in parallel. Each
# executable gets a private runtime folder (XDG_RUNTIME_DIR), so named claims
# and lock files of parallel tests never meet, and a scratch folder
# (VARNU_TEST_SCRATCH) of its own. The executable carries that environment
# too: started without CTest, it sets it and starts again, so it runs the way
# CTest runs it.
set(VARNU_TEST_ENVIRONMENT_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/TestEnvironment.cpp.in)
function(varnu_add_test target)
  cmake_parse_arguments(ARG "" "TIMEOUT" "ENVIRONMENT" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set(run_dir ${CMAKE_BINARY_DIR}/test-run/${target})
  file(MAKE_DIRECTORY ${run_dir}/xdg ${run_dir}/scratch)
  file(CHMOD ${run_dir}/xdg DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  set(environment XDG_RUNTIME_DIR=${run_dir}/xdg VARNU_TEST_SCRATCH=${run_dir}/scratch
                  QT_QPA_PLATFORM=offscreen VARNU_REPORT_VIEWER=none ${ARG_ENVIRONMENT})
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "${environment}")

  # The same environment compiled into the executable, for runs without CTest.
  set(VARNU_TEST_TARGET ${target})
  set(VARNU_TEST_ENVIRONMENT_ENTRIES "")
  foreach(entry IN LISTS environment)
    string(REPLACE "\\" "\\\\" entry "${entry}")
    string(REPLACE "\"" "\\\"" entry "${entry}")
    string(APPEND VARNU_TEST_ENVIRONMENT_ENTRIES "\"${entry}\", ")
  endforeach()
  set(source ${CMAKE_BINARY_DIR}/test-environment/${target}.cpp)
  configure_file(${VARNU_TEST_ENVIRONMENT_TEMPLATE} ${source} @ONLY)
  target_sources(${target} PRIVATE ${source})
endfunction()
