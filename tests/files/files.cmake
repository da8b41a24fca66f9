# The files installed beside the DLLs, checked as the wizard will read them.
kv_add_gtest(kvregister_files_test
  SOURCES files/KVInstalledFilesTest.cpp
  LIBS kvcommon_core)
target_compile_definitions(kvregister_files_test PRIVATE
  "KV_FILES_DIR=\"$<$<BOOL:${WIN32}>:Z:>${CMAKE_SOURCE_DIR}/register/files\"")
