list(APPEND VUDA32_WIN_SOURCES
  File/QFile.cpp
  File/QMemBuf.cpp)
