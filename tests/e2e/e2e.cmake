# Whole runs of KVRegister.dll as a host drives them, with the wizard driver playing the user.
if(WIN32)
  kv_add_gtest(kvregister_e2e_test
    SOURCES e2e/KVRegisterE2ETest.cpp e2e/KVRegisterStressTest.cpp e2e/KVWizardHost.cpp
    LIBS kvwizard_driver kv_test_countrycodes)
  # Wine sees the Unix root as drive Z:.
  target_compile_definitions(kvregister_e2e_test PRIVATE
    "KV_REGISTER_DLL=\"Z:$<TARGET_FILE:KVRegister>\""
    "KV_COUNTRY_DLL=\"Z:$<TARGET_FILE:KVCountryCodes>\""
    "KV_PAGES_DIR=\"Z:${CMAKE_BINARY_DIR}/pages\"")
  add_dependencies(kvregister_e2e_test KVRegister KVCountryCodes)
  set_tests_properties(kvregister_e2e_test PROPERTIES TIMEOUT 600)
endif()
