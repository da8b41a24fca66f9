list(APPEND VUDA32_WIN_SOURCES System/QRegEdit.cpp)
