# The registration object, the boundary records and the library's module.
if(WIN32)
  list(APPEND REGISTER_WIN_SOURCES entry/KVRegister.cpp)

  # The two DLLs, both the static library kvregister behind their own exports:
  #   KVRegister.dll    KVRegisterInit and KVRegisterInternal, undecorated and cdecl, with the
  #                     records of include/KVRegisterApi.h (standard strings)
  #   KVRegisterC.dll   the plain-C exports of include/KVRegisterC.h, WINAPI, named by
  #                     KVRegisterC.def, with an import library KVRegisterC.lib in the short
  #                     form that Microsoft's linker, lld and GNU ld all read
  function(kv_register_dll)
    set(entry ${CMAKE_CURRENT_SOURCE_DIR}/entry)
    # The built-in header image comes from the art of files/files.cmake.
    set(rc ${entry}/KVRegister.rc)
    set_source_files_properties(${rc} PROPERTIES
      INCLUDE_DIRECTORIES ${KV_ART_DIR}
      OBJECT_DEPENDS ${KV_ART_DIR}/KVRegisterHeader.bmp)

    add_library(KVRegister SHARED ${entry}/KVRegisterModule.cpp ${entry}/KVRegisterDll.cpp ${rc})
    kv_version_resource(KVRegister "Korvane account registration wizard")

    # The .def is written for 32-bit callers (name@bytes); the 64-bit one has no decoration.
    set(def ${CMAKE_CURRENT_BINARY_DIR}/KVRegisterC.def)
    file(READ ${entry}/KVRegisterC.def def_text)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${entry}/KVRegisterC.def)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
      string(REGEX REPLACE "@[0-9]+" "" def_text "${def_text}")
      set(machine i386:x86-64)
    else()
      set(machine i386)
    endif()
    file(WRITE ${def} "${def_text}")
    add_library(KVRegisterC SHARED ${entry}/KVRegisterModule.cpp ${entry}/KVRegisterC.cpp ${rc} ${def})
    kv_version_resource(KVRegisterC "Korvane account registration wizard, plain-C interface")
    # The exports go out under the names without @bytes.
    target_link_options(KVRegisterC PRIVATE -Wl,--kill-at)

    # Only the packages need the import library: a tree without llvm-dlltool (tools/demo's)
    # builds and runs without it, and tools/lib/package.py reports it missing.
    find_program(KV_LLVM_DLLTOOL NAMES llvm-dlltool llvm-dlltool-14)
    set(implib)
    if(KV_LLVM_DLLTOOL)
      set(implib ${CMAKE_CURRENT_BINARY_DIR}/KVRegisterC.lib)
      add_custom_command(OUTPUT ${implib}
        COMMAND ${KV_LLVM_DLLTOOL} -m ${machine} -d ${def} -l ${implib} -k
        DEPENDS ${def}
        COMMENT "Making the import library KVRegisterC.lib")
      add_custom_target(kvregisterc_implib ALL DEPENDS ${implib})
    else()
      message(STATUS "llvm-dlltool not found (Debian package llvm): no KVRegisterC.lib")
    endif()

    foreach(dll KVRegister KVRegisterC)
      kv_defaults(${dll})
      add_dependencies(${dll} kv_art)
      set_target_properties(${dll} PROPERTIES PREFIX "")
      target_link_libraries(${dll} PRIVATE kvregister)
      kv_install_target(${dll} . runtime)
    endforeach()
    # For integrators, beside include/ and samples/ that tools/lib/package.py adds.
    install(FILES ${implib} ${def} DESTINATION lib COMPONENT tools)
  endfunction()
endif()
