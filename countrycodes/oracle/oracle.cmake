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
else()
  message(WARNING "libphonenumber-dev or libprotobuf-dev missing: kvcountry_oracle_test not built")
endif()
