# The cooled camera of the western-blot page: the library's forwarders, the
# frame buffers and the grab and show threads (varnu_tucsen, below the
# application controller).
add_library(varnu_tucsen STATIC
  ${CMAKE_CURRENT_LIST_DIR}/TucsenCamCtrl.cpp ${CMAKE_CURRENT_LIST_DIR}/TucsenCamCtrl.h
  ${CMAKE_CURRENT_LIST_DIR}/TucsenCamCtrlForwarders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TucsenImageHeader.cpp ${CMAKE_CURRENT_LIST_DIR}/TucsenImageHeader.h
  ${CMAKE_CURRENT_LIST_DIR}/TucsenGrabThread.cpp ${CMAKE_CURRENT_LIST_DIR}/TucsenGrabThread.h
  ${CMAKE_CURRENT_LIST_DIR}/TucsenShowThread.cpp ${CMAKE_CURRENT_LIST_DIR}/TucsenShowThread.h)
target_include_directories(varnu_tucsen PUBLIC ${VARNU_CORE_INCLUDE_ROOT})
target_link_libraries(varnu_tucsen PUBLIC CamCore Qt5::Core)
varnu_target_defaults(varnu_tucsen)

# The western-blot captures: the capture thread with its picture operations
# and files, and the exposure-time estimation (varnu_tucsen_capture, above the application controller).
find_package(OpenCV REQUIRED COMPONENTS core imgproc imgcodecs)
add_library(varnu_tucsen_capture STATIC
  ${CMAKE_CURRENT_LIST_DIR}/TucsenPictureOps.cpp ${CMAKE_CURRENT_LIST_DIR}/TucsenPictureOps.h
  ${CMAKE_CURRENT_LIST_DIR}/TucsenPictureFiles.cpp ${CMAKE_CURRENT_LIST_DIR}/TucsenPictureFiles.h
  ${CMAKE_CURRENT_LIST_DIR}/TucsenCapThread.cpp ${CMAKE_CURRENT_LIST_DIR}/TucsenCapThread.h
  ${CMAKE_CURRENT_LIST_DIR}/EstimateExpTimeThread.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EstimateExpTimeThread.h)
target_include_directories(varnu_tucsen_capture PUBLIC ${VARNU_CORE_INCLUDE_ROOT})
target_include_directories(varnu_tucsen_capture SYSTEM PUBLIC ${OpenCV_INCLUDE_DIRS})
target_link_libraries(varnu_tucsen_capture PUBLIC varnu_tucsen varnu_core ${OpenCV_LIBS})
varnu_target_defaults(varnu_tucsen_capture)
