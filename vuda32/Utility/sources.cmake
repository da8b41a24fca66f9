list(APPEND VUDA32_WIN_SOURCES
  Utility/QAccelerator.cpp
  Utility/QRaise.cpp
  Utility/QRect.cpp)
