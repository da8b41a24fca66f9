# Whole runs of KVRegister.dll and KVRegisterC.dll as a host drives them, with the wizard
# driver playing the user; the host of KVRegisterC.dll is written in C (KVCHost.c).
if(WIN32)
  kv_add_gtest(kvregister_e2e_test
    SOURCES e2e/KVRegisterE2ETest.cpp e2e/KVRegisterStressTest.cpp
            e2e/KVRegisterCTest.cpp e2e/KVCHost.c
    LIBS kvwizard_driver kv_test_countrycodes kvcountry_core)
  # The C host is compiled as strict C99, as an integrator's C compiler would see the header.
  set_target_properties(kvregister_e2e_test PROPERTIES C_STANDARD 99 C_STANDARD_REQUIRED ON C_EXTENSIONS OFF)
  set_source_files_properties(e2e/KVCHost.c PROPERTIES COMPILE_OPTIONS "-pedantic-errors")
  # A host whose process ends with the library loaded and a run open.
  add_executable(kv_exit_host e2e/KVExitHost.cpp)
  kv_defaults(kv_exit_host)
  target_include_directories(kv_exit_host PRIVATE ${CMAKE_SOURCE_DIR})
  # Wine sees the Unix root as drive Z:.
  target_compile_definitions(kvregister_e2e_test PRIVATE
    "KV_REGISTER_DLL=\"Z:$<TARGET_FILE:KVRegister>\""
    "KV_REGISTERC_DLL=\"Z:$<TARGET_FILE:KVRegisterC>\""
    "KV_COUNTRY_DLL=\"Z:$<TARGET_FILE:KVCountryCodes>\""
    "KV_PAGES_DIR=\"Z:${CMAKE_BINARY_DIR}/pages\""
    "KV_EXIT_HOST=\"Z:$<TARGET_FILE:kv_exit_host>\"")
  add_dependencies(kvregister_e2e_test KVRegister KVRegisterC KVCountryCodes kv_exit_host)
  set_tests_properties(kvregister_e2e_test PROPERTIES TIMEOUT 600)
endif()
