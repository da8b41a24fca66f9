# The country-code wrapper, tested with three small libraries built here and with none; the
# real KVCountryCodes.dll serves it in the whole runs of tests/e2e.
if(WIN32)
  foreach(variant scripted nocountries initfails)
    add_library(kvtest_cc_${variant} SHARED common/KVTestCountryCodes.cpp)
    kv_defaults(kvtest_cc_${variant})
    set_target_properties(kvtest_cc_${variant} PROPERTIES PREFIX "")
  endforeach()
  target_compile_definitions(kvtest_cc_nocountries PRIVATE KVTEST_NO_COUNTRIES)
  target_compile_definitions(kvtest_cc_initfails PRIVATE KVTEST_INIT_RESULT=5)

  add_library(kv_test_countrycodes STATIC common/KVTestCountryLibrary.cpp)
  kv_defaults(kv_test_countrycodes)
  target_link_libraries(kv_test_countrycodes PUBLIC kv_test_support)
  add_dependencies(kv_test_countrycodes kvtest_cc_scripted kvtest_cc_nocountries kvtest_cc_initfails)

  kv_add_gtest(kvcommon_countrycodes_test
    SOURCES common/KVCountryCodesWrapperTest.cpp
    LIBS kvcommon kv_test_countrycodes)
endif()
