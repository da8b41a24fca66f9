list(APPEND VUDA32_WIN_SOURCES
  Application/QDll.cpp
  Application/QGlobalData.cpp
  Application/QSwallowedError.cpp
  Application/QWindowsHook.cpp
  Application/QWinThread.cpp)
