# The wizard at a display scale: the DPI-awareness declaration of our own programs, and the
# text-fit measurement that the preview and the tests share.
if(WIN32)
  list(APPEND DRIVER_WIN_SOURCES KVDpiAwareness.cpp KVTextFit.cpp KVWindowText.cpp)
endif()
