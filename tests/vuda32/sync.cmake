if(WIN32)
  kv_add_gtest(vuda32_sync_test
    SOURCES vuda32/QEventTest.cpp vuda32/QThreadTest.cpp
    LIBS vuda32 kv_test_support)
endif()
