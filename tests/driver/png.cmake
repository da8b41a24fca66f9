# The PNG writer of the driver, read back by python3's zlib: an independent decoder.
if(NOT WIN32)
  find_package(Python3 COMPONENTS Interpreter)
  add_executable(kvpng_sample driver/KVPngSample.cpp)
  kv_defaults(kvpng_sample)
  target_link_libraries(kvpng_sample PRIVATE kvwizard_driver_core)
  if(Python3_FOUND)
    add_test(NAME kvpng_python_check
      COMMAND sh -c "\"$<TARGET_FILE:kvpng_sample>\" \"$1\" && \"${Python3_EXECUTABLE}\" \"${CMAKE_CURRENT_SOURCE_DIR}/driver/KVPngCheck.py\" \"$1\""
        kvpng ${CMAKE_CURRENT_BINARY_DIR}/kvpng_sample.png)
  endif()
endif()

kv_add_gtest(kvrgbimage_test
  SOURCES driver/KVRgbImageTest.cpp
  LIBS kvwizard_driver_core)
