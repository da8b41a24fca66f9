kv_add_gtest(vuda32_log_line_test
  SOURCES vuda32/QLogLineTest.cpp
  LIBS vuda32_core)
