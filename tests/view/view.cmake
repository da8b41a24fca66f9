# The wizard window: the register.cfg reader everywhere.
kv_add_gtest(kvregister_config_test
  SOURCES view/KVRegisterConfigTest.cpp
  LIBS kvregister_core)
