# The preview at display scales: its report handed between processes everywhere; under Wine
# KVRegisterPreview.exe at 96 DPI with the other suites and at 120, 144 and 192 DPI in prefixes
# of their own (tools/lib/wine-dpi.sh).
kv_add_gtest(kvpreview_report_test
  SOURCES preview/KVPreviewReportTest.cpp
  LIBS kvpreview_core)

if(WIN32)
  # What both preview suites run: KVRegisterPreview.exe and the shipped installation. Wine sees
  # the Unix root as drive Z:.
  add_library(kv_preview_run STATIC preview/KVPreviewRun.cpp)
  kv_defaults(kv_preview_run)
  target_link_libraries(kv_preview_run PUBLIC kv_test_support GTest::gtest)
  target_compile_definitions(kv_preview_run PUBLIC
    "KV_PREVIEW_EXE=\"Z:$<TARGET_FILE:KVRegisterPreview>\""
    "KV_SHIPPED_ROOT=\"Z:${KV_INSTALL_ROOT}\"")
  add_dependencies(kv_preview_run KVRegisterPreview kv_install_root)

  kv_add_gtest(kvpreview_dpi_test
    SOURCES preview/KVPreviewDpiTest.cpp
    LIBS kv_preview_run)
  foreach(dpi 120 144 192)
    add_test(NAME kvpreview_dpi_test_${dpi}
      COMMAND bash ${CMAKE_SOURCE_DIR}/tools/lib/wine-dpi.sh ${dpi} $<TARGET_FILE:kvpreview_dpi_test>)
    # The first run makes the prefix.
    set_tests_properties(kvpreview_dpi_test_${dpi} PROPERTIES
      ENVIRONMENT "KV_EXPECT_DPI=${dpi};GTEST_OUTPUT=xml:Z:${KV_GTEST_RESULTS}/kvpreview_dpi_test_${dpi}.xml"
      TIMEOUT 600)
    kv_wine_display_lock(kvpreview_dpi_test_${dpi} kv_wine_dpi${dpi})
  endforeach()
endif()
