list(APPEND VUDA32_WIN_SOURCES
  Window/QWinBase.cpp
  Window/QWinClass.cpp)
