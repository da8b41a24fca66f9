list(APPEND VUDA32_WIN_SOURCES
  Synchronization/QCriticalSection.cpp
  Synchronization/QEvent.cpp
  Synchronization/QSynchronization.cpp
  Synchronization/QThread.cpp)
