kv_add_gtest(vuda32_exception_test
  SOURCES vuda32/QExceptionTest.cpp
  LIBS vuda32_core)
