# The registration object, the boundary records and the library's module.
if(WIN32)
  list(APPEND REGISTER_WIN_SOURCES entry/KVRegister.cpp)

  # KVRegister.dll: the two exports, undecorated and cdecl, and the module entry that feeds
  # the application object.
  function(kv_register_dll)
    set(rc ${CMAKE_CURRENT_SOURCE_DIR}/entry/KVRegister.rc)
    add_library(KVRegister SHARED ${CMAKE_CURRENT_SOURCE_DIR}/entry/KVRegisterDll.cpp ${rc})
    kv_defaults(KVRegister)
    kv_version_resource(KVRegister "Korvane account registration wizard")
    # The built-in header image comes from the art of files/files.cmake.
    set_source_files_properties(${rc} PROPERTIES
      INCLUDE_DIRECTORIES ${KV_ART_DIR}
      OBJECT_DEPENDS ${KV_ART_DIR}/KVRegisterHeader.bmp)
    add_dependencies(KVRegister kv_art)
    set_target_properties(KVRegister PROPERTIES PREFIX "")
    target_link_libraries(KVRegister PRIVATE kvregister)
    kv_install_target(KVRegister . runtime)
  endfunction()
endif()
