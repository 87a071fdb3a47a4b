# Finds OpenCV with its package configuration when one is installed, or else
# from the headers and libraries of the requested modules alone (Debian's
# per-module -dev packages ship no configuration file). Defines
# OpenCV_INCLUDE_DIRS, OpenCV_LIBS and an imported target opencv_<module> for
# each requested component.
find_package(OpenCV CONFIG QUIET COMPONENTS ${OpenCV_FIND_COMPONENTS})
if(OpenCV_FOUND)
  return()
endif()

find_path(OpenCV_INCLUDE_DIR opencv2/core.hpp PATH_SUFFIXES opencv4)
set(OpenCV_INCLUDE_DIRS ${OpenCV_INCLUDE_DIR})
set(OpenCV_LIBS "")
set(_opencv_missing "")
foreach(_module IN LISTS OpenCV_FIND_COMPONENTS)
  find_library(OpenCV_${_module}_LIBRARY opencv_${_module})
  if(OpenCV_${_module}_LIBRARY AND OpenCV_INCLUDE_DIR)
    if(NOT TARGET opencv_${_module})
      add_library(opencv_${_module} UNKNOWN IMPORTED)
      set_target_properties(opencv_${_module} PROPERTIES
        IMPORTED_LOCATION ${OpenCV_${_module}_LIBRARY}
        INTERFACE_INCLUDE_DIRECTORIES ${OpenCV_INCLUDE_DIR})
    endif()
    list(APPEND OpenCV_LIBS opencv_${_module})
  else()
    list(APPEND _opencv_missing ${_module})
  endif()
endforeach()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(OpenCV
  REQUIRED_VARS OpenCV_INCLUDE_DIR OpenCV_LIBS
  REASON_FAILURE_MESSAGE "missing modules: ${_opencv_missing}")
if(_opencv_missing)
  set(OpenCV_FOUND FALSE)
endif()
