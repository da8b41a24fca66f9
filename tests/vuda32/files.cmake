if(WIN32)
  kv_add_gtest(vuda32_file_test
    SOURCES vuda32/QFileTest.cpp
    LIBS vuda32 kv_test_support)
  kv_add_gtest(vuda32_regedit_test
    SOURCES vuda32/QRegEditTest.cpp
    LIBS vuda32 kv_test_support)
endif()
