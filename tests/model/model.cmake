# The wizard model: its platform-free rules everywhere, its Win32 behaviour under Wine.
kv_add_gtest(kvregister_rules_test
  SOURCES model/KVInputRulesTest.cpp
  LIBS kvregister_core)

# The e-mail and number rules under libFuzzer. The corpus holds a few typed values and what
# longer runs (tools/fuzz) added.
kv_add_fuzzer(kvregister_rules_fuzz
  SOURCES model/KVInputRulesFuzz.cpp ${CMAKE_SOURCE_DIR}/register/model/KVInputRules.cpp
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/model/fuzz-corpus
  SECONDS 10
  OPTIONS -max_len=256)

if(WIN32)
  # The scripted user at the window.
  add_library(kv_test_model STATIC model/KVScriptedWindow.cpp)
  kv_defaults(kv_test_model)
  target_link_libraries(kv_test_model PUBLIC kvregister kv_test_countrycodes)

  kv_add_gtest(kvregister_model_test
    SOURCES model/KVRegisterModelTest.cpp
    LIBS kv_test_model)
endif()
