list(APPEND VUDA32_WIN_SOURCES
  Gdi/QBitmap.cpp
  Gdi/QBrush.cpp
  Gdi/QClientDC.cpp
  Gdi/QDC.cpp
  Gdi/QFont.cpp
  Gdi/QGDIObject.cpp
  Gdi/QMemDC.cpp
  Gdi/QPaintDC.cpp)
