if(WIN32)
  kv_add_gtest(vuda32_application_test
    SOURCES vuda32/window/QDllTest.cpp
    LIBS kv_test_support vuda32)
endif()
