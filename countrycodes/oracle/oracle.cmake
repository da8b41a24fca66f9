# Native only: the comparisons with Debian's libphonenumber and with google-libphonenumber.
find_path(KV_PHONENUMBER_INCLUDE phonenumbers/phonenumberutil.h)
find_library(KV_PHONENUMBER_LIB phonenumber)
find_library(KV_PROTOBUF_LITE_LIB protobuf-lite)

add_library(kvcountry_corpus STATIC ${CMAKE_CURRENT_LIST_DIR}/KVCorpus.cpp)
kv_defaults(kvcountry_corpus)
target_link_libraries(kvcountry_corpus PUBLIC kvcountry_core)

if(KV_PHONENUMBER_INCLUDE AND KV_PHONENUMBER_LIB AND KV_PROTOBUF_LITE_LIB)
  kv_add_gtest(kvcountry_oracle_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/KVOracleTest.cpp ${CMAKE_CURRENT_LIST_DIR}/KVDebianTable.cpp
    LIBS kvcountry_corpus ${KV_PHONENUMBER_LIB} ${KV_PROTOBUF_LITE_LIB})

  # Not a test: prints our cost against libphonenumber's (see docs/benchmarks.md). Built
  # without the tree's sanitizers, as libphonenumber is.
  add_executable(kvcountry_bench ${CMAKE_CURRENT_SOURCE_DIR}/bench/KVCountryBench.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/src/KVCountryTable.cpp ${CMAKE_CURRENT_SOURCE_DIR}/src/KVNumberRules.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/src/KVEmbeddedTable.cpp)
  kv_defaults(kvcountry_bench)
  target_compile_options(kvcountry_bench PRIVATE -fno-sanitize=all -O2)
  set_property(TARGET kvcountry_bench PROPERTY LINK_OPTIONS "")
  target_link_libraries(kvcountry_bench PRIVATE ${KV_PHONENUMBER_LIB} ${KV_PROTOBUF_LITE_LIB})
else()
  message(WARNING "libphonenumber-dev or libprotobuf-dev missing: kvcountry_oracle_test not built")
endif()

add_executable(kvcountry_eval ${CMAKE_CURRENT_LIST_DIR}/KVCorpusEval.cpp)
kv_defaults(kvcountry_eval)
target_link_libraries(kvcountry_eval PRIVATE kvcountry_corpus)

# google-libphonenumber from the npm packages in this folder (tools/setup.d installs them).
find_program(KV_NODE node)
if(KV_NODE)
  add_test(NAME kvcountry_google_compare
    COMMAND ${KV_NODE} ${CMAKE_CURRENT_LIST_DIR}/compare.js $<TARGET_FILE:kvcountry_eval>
            ${CMAKE_CURRENT_SOURCE_DIR}/data/countries.kvcc)
  set_tests_properties(kvcountry_google_compare PROPERTIES TIMEOUT 300)
endif()
