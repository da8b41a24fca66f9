# The wizard model's platform-free rules; its Win32 behaviour is driven end to end (tests/e2e).
kv_add_gtest(kvregister_rules_test
  SOURCES model/KVInputRulesTest.cpp
  LIBS kvregister_core)

# The model between the host's thread and a thread that plays the window.
if(WIN32)
  kv_add_gtest(kvregister_model_test
    SOURCES model/KVRegisterModelTest.cpp
    LIBS kvregister kv_test_support kv_test_countrycodes)
endif()

# The e-mail and number rules under libFuzzer. The corpus holds a few typed values and what
# longer runs (tools/fuzz) added.
kv_add_fuzzer(kvregister_rules_fuzz
  SOURCES model/KVInputRulesFuzz.cpp ${CMAKE_SOURCE_DIR}/register/model/KVInputRules.cpp
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/model/fuzz-corpus
  SECONDS 10
  OPTIONS -max_len=256)
