# The wizard at a display scale: the factor everywhere (against the system's MulDiv on Win32).
kv_add_gtest(kvdpi_scale_test
  SOURCES view/KVDpiScaleTest.cpp
  LIBS kvregister_core)
