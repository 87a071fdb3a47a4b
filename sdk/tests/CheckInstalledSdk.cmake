# Installs the SDK component of a build tree into a fresh prefix, builds a
# plain C program against the installed ZDQApi.h and libZDQApi64u.so alone,
# and runs it: it must report the SDK version.
#
#   cmake -DBUILD_DIR=<tree> -DPREFIX=<folder> -DLIBDIR=<lib folder name>
#         -DCC=<C compiler> -DSOURCE=<program.c> [-DFLAGS=<flag;...>]
#         -P CheckInstalledSdk.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                        --component sdk
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install into ${PREFIX} failed")
endif()
foreach(file include/ZDQApi.h include/MT_ZDQBayerFilter.h include/window/PlatWindow.h
             ${LIBDIR}/libZDQApi64u.so ${LIBDIR}/libMT_ZDQBayerFilter_x64.so
             ${LIBDIR}/libvarnu_window.so)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "${file} is not installed")
  endif()
endforeach()

set(program ${PREFIX}/installed-sdk-check)
execute_process(COMMAND ${CC} -std=c11 -Wall -Wextra -Werror ${FLAGS} ${SOURCE}
                        -I${PREFIX}/include -L${PREFIX}/${LIBDIR} -lZDQApi64u
                        -Wl,-rpath,${PREFIX}/${LIBDIR} -o ${program}
                RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the C program does not build against the installed SDK:\n${errors}")
endif()
execute_process(COMMAND ${program} RESULT_VARIABLE result OUTPUT_VARIABLE output
                ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR NOT output MATCHES "SDK version: [0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+")
  message(FATAL_ERROR "the installed SDK's program failed (${result}):\n${output}${errors}")
endif()
message(STATUS "installed SDK: ${output}")
