# Runs the parameter-storage check in two processes against one simulated
# camera whose memory lives in a file: the first programs the settings, the
# second (a new process, the camera plugged anew from the file) reads them
# back. -DPROGRAM=<check program> -DWORK_DIR=<scratch folder>.
file(MAKE_DIRECTORY ${WORK_DIR})
set(memory_file ${WORK_DIR}/camera-memory.bin)
set(config ${WORK_DIR}/param-storage.ini)
file(REMOVE ${memory_file})
file(WRITE ${config} "; A monochrome 2592 x 1944 camera whose memory holds the parameter block.
[camera0]
device_type = 32
serial = 3
firmware_version = 1.0
colour = mono
scene = pattern
timing = instant
memory_file = camera-memory.bin
")
set(ENV{MLUSBIMAGER_CONFIG} ${config})
foreach(step program verify)
  execute_process(COMMAND ${PROGRAM} ${step} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the ${step} run failed: ${result}")
  endif()
  if(NOT EXISTS ${memory_file})
    message(FATAL_ERROR "the ${step} run left no memory file")
  endif()
endforeach()
