# Language texts, registry settings and the log's start-up.
list(APPEND COMMON_CORE_SOURCES KVLanguageFile.cpp)
list(APPEND COMMON_WIN_SOURCES
  KVRegistry.cpp
  KVLanguageTable.cpp
  KVLanguageTableInstance.cpp
  KVLogStartup.cpp)
