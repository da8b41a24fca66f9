# The wizard model: its platform-free rules everywhere, its Win32 behaviour under Wine.
kv_add_gtest(kvregister_rules_test
  SOURCES model/KVInputRulesTest.cpp
  LIBS kvregister_core)

# A fuzzer needs clang's libFuzzer: the native tree only. ctest gives it a short smoke run.
if(NOT WIN32 AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_executable(kvregister_rules_fuzz model/KVInputRulesFuzz.cpp)
  kv_defaults(kvregister_rules_fuzz)
  target_compile_options(kvregister_rules_fuzz PRIVATE -fsanitize=fuzzer)
  target_link_options(kvregister_rules_fuzz PRIVATE -fsanitize=fuzzer)
  target_link_libraries(kvregister_rules_fuzz PRIVATE kvregister_core)
  add_test(NAME kvregister_rules_fuzz_smoke
    COMMAND kvregister_rules_fuzz -max_total_time=10 -max_len=256)
endif()

if(WIN32)
  # The scripted user at the window, and reading a test's log.
  add_library(kv_test_model STATIC model/KVScriptedWindow.cpp model/KVTestLog.cpp)
  kv_defaults(kv_test_model)
  target_link_libraries(kv_test_model PUBLIC kvregister kv_test_countrycodes)

  kv_add_gtest(kvregister_model_test
    SOURCES model/KVRegisterModelTest.cpp
    LIBS kv_test_model)
endif()
