# Language texts, registry settings and the log's start-up.
list(APPEND COMMON_CORE_SOURCES KVLanguageFile.cpp)
