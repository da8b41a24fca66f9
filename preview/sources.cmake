# The checks and the report need no window; the pages are shown and measured on Win32.
list(APPEND PREVIEW_CORE_SOURCES KVPreviewReport.cpp KVPreviewChecks.cpp)
if(WIN32)
  list(APPEND PREVIEW_WIN_SOURCES KVPreview.cpp)

  # KVRegisterPreview.exe carries the wizard's built-in header image, as KVRegister.dll does:
  # the window loads it from the module of the application object.
  function(kv_preview_program)
    set(rc ${CMAKE_SOURCE_DIR}/register/entry/KVRegister.rc)
    add_executable(KVRegisterPreview ${CMAKE_CURRENT_SOURCE_DIR}/KVPreviewMain.cpp ${rc})
    kv_defaults(KVRegisterPreview)
    kv_version_resource(KVRegisterPreview "Korvane preview of the registration wizard's pages")
    set_source_files_properties(${rc} PROPERTIES
      INCLUDE_DIRECTORIES ${KV_ART_DIR}
      OBJECT_DEPENDS ${KV_ART_DIR}/KVRegisterHeader.bmp)
    add_dependencies(KVRegisterPreview kv_art)
    target_link_libraries(KVRegisterPreview PRIVATE kvpreview)
    kv_install_target(KVRegisterPreview tools tools)
  endfunction()
endif()
