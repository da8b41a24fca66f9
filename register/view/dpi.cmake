# The wizard window at a display scale: the factor is platform-free, the layout record Win32.
list(APPEND REGISTER_CORE_SOURCES
  view/KVDpiScale.cpp)
if(WIN32)
  list(APPEND REGISTER_WIN_SOURCES
    view/KVDpiLayout.cpp)
endif()
