kv_add_gtest(kvcommon_language_file_test
  SOURCES common/KVLanguageFileTest.cpp
  LIBS kvcommon_core)

# The language-file parser under libFuzzer, in the native tree only. The parser is compiled
# into the target itself so that libFuzzer's coverage instrumentation sees it.
if(NOT WIN32 AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_executable(kvcommon_language_file_fuzz
    common/KVLanguageFileFuzz.cpp
    ${CMAKE_SOURCE_DIR}/common/KVLanguageFile.cpp)
  kv_defaults(kvcommon_language_file_fuzz)
  target_compile_options(kvcommon_language_file_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(kvcommon_language_file_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)

  # A short smoke run: new inputs go to the build tree, the committed corpus is only read.
  # The corpus holds the hand-written seeds and a minimised set found by longer runs; to
  # run longer and fold the finds back in:
  #   build/native/tests/kvcommon_language_file_fuzz -max_total_time=600 <work dir> tests/common/fuzz-corpus
  #   build/native/tests/kvcommon_language_file_fuzz -merge=1 <new dir> tests/common/fuzz-corpus <work dir>
  set(fuzz_work ${CMAKE_CURRENT_BINARY_DIR}/language-fuzz)
  add_test(NAME kvcommon_language_file_fuzz_smoke
    COMMAND sh -c "mkdir -p '${fuzz_work}/corpus' && exec \"$0\" -max_total_time=20 -timeout=10 -max_len=65536 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix='${fuzz_work}/' '${fuzz_work}/corpus' '${CMAKE_CURRENT_SOURCE_DIR}/common/fuzz-corpus'"
            $<TARGET_FILE:kvcommon_language_file_fuzz>)
  set_tests_properties(kvcommon_language_file_fuzz_smoke PROPERTIES TIMEOUT 120)
endif()

if(WIN32)
  kv_add_gtest(kvcommon_registry_test
    SOURCES common/KVRegistryTest.cpp
    LIBS kvcommon kv_test_support)
  kv_add_gtest(kvcommon_language_table_test
    SOURCES common/KVLanguageTableTest.cpp
    LIBS kvcommon kv_test_support)
endif()
if(WIN32)
  kv_add_gtest(kvcommon_log_startup_test
    SOURCES common/KVLogStartupTest.cpp
    LIBS kvcommon kv_test_support)
endif()
