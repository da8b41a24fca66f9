# The wizard window's speed as a host meets it, against bare Win32 in the same run. It runs
# from a copy of the built installation (install-root), which Wine reaches as drive Z:.
if(WIN32)
  add_executable(KVWizardBench KVWizardBench.cpp)
  target_compile_definitions(KVWizardBench PRIVATE "KV_INSTALL_ROOT=\"Z:${KV_INSTALL_ROOT}\"")
  target_link_libraries(KVWizardBench PRIVATE kvwizard_driver kv_test_support)
  kv_defaults(KVWizardBench)
  add_dependencies(KVWizardBench kv_install_root)
endif()
