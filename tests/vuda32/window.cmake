if(WIN32)
  add_library(kv_window_test_support STATIC vuda32/window/QWindowTestSupport.cpp)
  kv_defaults(kv_window_test_support)
  target_link_libraries(kv_window_test_support PUBLIC vuda32 GTest::gtest)

  kv_add_gtest(vuda32_application_test
    SOURCES vuda32/window/QDllTest.cpp
    LIBS kv_test_support vuda32)

  kv_add_gtest(vuda32_window_test
    SOURCES vuda32/window/QWinBaseTest.cpp vuda32/window/QControlsTest.cpp
    LIBS kv_test_support kv_window_test_support vuda32)

  kv_add_gtest(vuda32_gdi_test
    SOURCES vuda32/window/QGdiTest.cpp
    LIBS kv_test_support kv_window_test_support vuda32)
endif()
