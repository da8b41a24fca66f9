# The table parser under libFuzzer, from a few lines of the real table and broken ones. The
# corpus holds the hand-written seeds and what longer runs (tools/fuzz) added.
kv_add_fuzzer(kvcountry_table_fuzz
  SOURCES tests/KVCountryTableFuzz.cpp src/KVCountryTable.cpp
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/tests/fuzz-corpus
  SECONDS 10
  OPTIONS -max_len=2048)
