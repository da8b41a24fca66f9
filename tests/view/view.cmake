# The wizard window: the register.cfg reader everywhere.
kv_add_gtest(kvregister_config_test
  SOURCES view/KVRegisterConfigTest.cpp
  LIBS kvregister_core)

# The reader under libFuzzer, from a few hand-written files.
kv_add_fuzzer(kvregister_config_fuzz
  SOURCES view/KVRegisterConfigFuzz.cpp ${CMAKE_SOURCE_DIR}/register/view/KVRegisterConfig.cpp
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/view/fuzz-corpus
  SECONDS 10
  OPTIONS -max_len=4096)
