kv_add_gtest(kvcommon_language_file_test
  SOURCES common/KVLanguageFileTest.cpp
  LIBS kvcommon_core)

# The language-file parser under libFuzzer. The corpus holds the hand-written seeds and a
# minimised set found by longer runs.
kv_add_fuzzer(kvcommon_language_file_fuzz
  SOURCES common/KVLanguageFileFuzz.cpp ${CMAKE_SOURCE_DIR}/common/KVLanguageFile.cpp
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/common/fuzz-corpus
  SECONDS 20
  OPTIONS -max_len=65536 -rss_limit_mb=2048)

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
