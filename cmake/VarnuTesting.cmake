# varnu_add_test(<target> [TIMEOUT seconds] [ENVIRONMENT VAR=value ...])
#
# Registers one test executable as one CTest test. The cases inside an
# executable run one after another; executables run in parallel. Each
# executable gets a private runtime folder (XDG_RUNTIME_DIR), so named claims
# and lock files of parallel tests never meet, and a scratch folder
# (VARNU_TEST_SCRATCH) of its own.
function(varnu_add_test target)
  cmake_parse_arguments(ARG "" "TIMEOUT" "ENVIRONMENT" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set(run_dir ${CMAKE_BINARY_DIR}/test-run/${target})
  file(MAKE_DIRECTORY ${run_dir}/xdg ${run_dir}/scratch)
  file(CHMOD ${run_dir}/xdg DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "XDG_RUNTIME_DIR=${run_dir}/xdg;VARNU_TEST_SCRATCH=${run_dir}/scratch;QT_QPA_PLATFORM=offscreen;VARNU_REPORT_VIEWER=none;${ARG_ENVIRONMENT}")
endfunction()
