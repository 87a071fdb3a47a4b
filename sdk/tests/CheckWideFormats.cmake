# Fails when a wide string literal (L"...") in the SDK's sources holds a
# "%s"-style conversion without the l length: with the C library's wide
# printf functions "%s" takes a narrow string, so a wide argument prints
# garbage or crashes. Wide texts are formatted with "%ls".
file(GLOB_RECURSE sources ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.c)
set(offences "")
foreach(source IN LISTS sources)
  file(STRINGS ${source} lines REGEX "L\"")
  foreach(line IN LISTS lines)
    string(REGEX MATCHALL "L\"([^\"\\\\]|\\\\.)*\"" literals "${line}")
    foreach(literal IN LISTS literals)
      # A conversion: '%', flags, width, precision, then 's' with no length
      # ("%%" is a plain percent sign).
      string(REPLACE "%%" "" stripped "${literal}")
      if(stripped MATCHES "%[-+ #0]*[0-9*]*(\\.[0-9*]*)?h?s")
        list(APPEND offences "${source}: ${literal}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(offences)
  string(REPLACE ";" "\n  " offences "${offences}")
  message(FATAL_ERROR "wide formats with %s (use %ls):\n  ${offences}")
endif()
