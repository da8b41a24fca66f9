# What the installation folder holds beside the two DLLs: the form layout, the language files
# and the pictures. The build tree gets the same layout in install-root/ (target
# kv_install_root), so that a test can point InstallRoot at a complete installation.
if(WIN32)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  # The DLL's built-in header image and the pictures' previews, which are not installed.
  set(KV_ART_DIR ${CMAKE_CURRENT_BINARY_DIR}/art)
  # Programs elsewhere that carry the built-in image too (the preview) find it here.
  set(KV_ART_DIR ${KV_ART_DIR} PARENT_SCOPE)

  set(kv_icons ${KV_INSTALL_ROOT}/Icons/ApplicationLarge.ico ${KV_INSTALL_ROOT}/Icons/ApplicationSmall.ico)
  set(kv_bitmaps ${KV_INSTALL_ROOT}/Bitmaps/Register.bmp)
  set(kv_art_script ${CMAKE_SOURCE_DIR}/tools/art/make_art.py)
  add_custom_command(
    OUTPUT ${kv_icons} ${kv_bitmaps} ${KV_ART_DIR}/KVRegisterHeader.bmp
    COMMAND ${Python3_EXECUTABLE} ${kv_art_script} ${KV_INSTALL_ROOT} ${KV_ART_DIR}
    DEPENDS ${kv_art_script}
    COMMENT "Drawing the icons and header images")
  add_custom_target(kv_art DEPENDS ${kv_icons} ${kv_bitmaps} ${KV_ART_DIR}/KVRegisterHeader.bmp)

  set(kv_text_files register.cfg register.lang registercompany.lang)
  set(kv_root_copies)
  foreach(name IN LISTS kv_text_files)
    add_custom_command(
      OUTPUT ${KV_INSTALL_ROOT}/${name}
      COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/${name} ${KV_INSTALL_ROOT}/${name}
      DEPENDS ${CMAKE_CURRENT_LIST_DIR}/${name})
    list(APPEND kv_root_copies ${KV_INSTALL_ROOT}/${name})
  endforeach()
  foreach(dll KVRegister KVCountryCodes)
    add_custom_command(
      OUTPUT ${KV_INSTALL_ROOT}/${dll}.dll
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${dll}> ${KV_INSTALL_ROOT}/${dll}.dll
      DEPENDS ${dll})
    list(APPEND kv_root_copies ${KV_INSTALL_ROOT}/${dll}.dll)
  endforeach()
  add_custom_target(kv_install_root ALL DEPENDS ${kv_root_copies})
  add_dependencies(kv_install_root kv_art)

  list(TRANSFORM kv_text_files PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
  install(FILES ${kv_text_files} DESTINATION . COMPONENT runtime)
  install(FILES ${kv_icons} DESTINATION Icons COMPONENT runtime)
  install(FILES ${kv_bitmaps} DESTINATION Bitmaps COMPONENT runtime)
  add_dependencies(kv_runtime kv_art)
endif()
