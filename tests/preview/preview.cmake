# KVRegisterPreview.exe run as an integrator's build runs it, on the shipped installation and on
# broken folders (kv_preview_run: tests/preview/dpi.cmake).
if(WIN32)
  kv_add_gtest(kvpreview_test
    SOURCES preview/KVPreviewTest.cpp
    LIBS kv_preview_run)
endif()
