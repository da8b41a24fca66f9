kv_add_gtest(vuda32_log_line_test
  SOURCES vuda32/QLogLineTest.cpp
  LIBS vuda32_core)

if(WIN32)
  kv_add_gtest(vuda32_log_test
    SOURCES vuda32/QLogTest.cpp
    LIBS vuda32 kv_test_support)
endif()
