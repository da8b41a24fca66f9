# The wizard at the display's scale, end to end with the shipped installation: with the other
# suites at 96 DPI, and again at 144 DPI in a Wine prefix of its own (tools/lib/wine-dpi.sh).
if(WIN32)
  kv_add_gtest(kvregister_dpi_test
    SOURCES e2e/KVRegisterDpiTest.cpp
    LIBS kvwizard_driver kv_test_countrycodes kvregister_core vuda32)
  # Wine sees the Unix root as drive Z:.
  target_compile_definitions(kvregister_dpi_test PRIVATE
    "KV_REGISTER_DLL=\"Z:$<TARGET_FILE:KVRegister>\""
    "KV_COUNTRY_DLL=\"Z:$<TARGET_FILE:KVCountryCodes>\""
    "KV_SHIPPED_ROOT=\"Z:${KV_INSTALL_ROOT}\""
    "KV_PAGES_DIR=\"Z:${CMAKE_BINARY_DIR}/pages\"")
  add_dependencies(kvregister_dpi_test KVRegister KVCountryCodes kv_install_root)

  add_test(NAME kvregister_dpi_test_144
    COMMAND bash ${CMAKE_SOURCE_DIR}/tools/lib/wine-dpi.sh 144 $<TARGET_FILE:kvregister_dpi_test>)
  # The first run makes the prefix, which takes a minute or two.
  set_tests_properties(kvregister_dpi_test_144 PROPERTIES
    ENVIRONMENT "KV_EXPECT_DPI=144;GTEST_OUTPUT=xml:Z:${KV_GTEST_RESULTS}/kvregister_dpi_test_144.xml"
    TIMEOUT 900)
  kv_wine_display_lock(kvregister_dpi_test_144 kv_wine_dpi144)
endif()
