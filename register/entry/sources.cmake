# The registration object, the boundary records and the library's module.
if(WIN32)
  list(APPEND REGISTER_WIN_SOURCES entry/KVRegister.cpp)

  # KVRegister.dll: the two exports, undecorated and cdecl, and the module entry that feeds
  # the application object.
  function(kv_register_dll)
    add_library(KVRegister SHARED ${CMAKE_CURRENT_SOURCE_DIR}/entry/KVRegisterDll.cpp)
    kv_defaults(KVRegister)
    set_target_properties(KVRegister PROPERTIES PREFIX "")
    target_link_libraries(KVRegister PRIVATE kvregister)
    install(TARGETS KVRegister RUNTIME DESTINATION .)
  endfunction()
endif()
