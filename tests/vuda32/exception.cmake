kv_add_gtest(vuda32_exception_test
  SOURCES vuda32/QExceptionTest.cpp
  LIBS vuda32_core)

if(WIN32)
  kv_add_gtest(vuda32_exception_win_test
    SOURCES vuda32/QExceptionReportWinTest.cpp
    LIBS vuda32_core kv_test_support)
endif()
