# KVRegisterPreview.exe run as an integrator's build runs it, on the shipped installation and on
# broken folders.
if(WIN32)
  kv_add_gtest(kvpreview_test
    SOURCES preview/KVPreviewTest.cpp preview/KVPreviewRun.cpp
    LIBS kv_test_support)
  # Wine sees the Unix root as drive Z:.
  target_compile_definitions(kvpreview_test PRIVATE
    "KV_PREVIEW_EXE=\"Z:$<TARGET_FILE:KVRegisterPreview>\""
    "KV_SHIPPED_ROOT=\"Z:${KV_INSTALL_ROOT}\"")
  add_dependencies(kvpreview_test KVRegisterPreview kv_install_root)
endif()
