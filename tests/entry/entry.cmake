# The registration object, driven whole runs at a time, and the DLL as a host loads it.
if(WIN32)
  kv_add_gtest(kvregister_entry_test
    SOURCES entry/KVRegisterTest.cpp
    LIBS kvregister kv_test_support)

  kv_add_gtest(kvregister_dll_test
    SOURCES entry/KVRegisterDllTest.cpp
    LIBS kv_test_support)
  # Wine sees the Unix root as drive Z:.
  target_compile_definitions(kvregister_dll_test PRIVATE
    "KV_REGISTER_DLL=\"Z:$<TARGET_FILE:KVRegister>\""
    "KV_REGISTERC_DLL=\"Z:$<TARGET_FILE:KVRegisterC>\""
    "KV_COUNTRY_DLL=\"Z:$<TARGET_FILE:KVCountryCodes>\""
    "KV_HOST_EXE=\"Z:$<TARGET_FILE:KVRegisterHost>\""
    "KV_PREVIEW_EXE=\"Z:$<TARGET_FILE:KVRegisterPreview>\""
    "KV_VERSION=\"${KV_VERSION}\"")
  target_link_libraries(kvregister_dll_test PRIVATE version)
  add_dependencies(kvregister_dll_test KVRegister KVRegisterC KVCountryCodes KVRegisterHost KVRegisterPreview)
endif()
