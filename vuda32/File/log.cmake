# The diagnostic log.
list(APPEND VUDA32_CORE_SOURCES File/QLogLine.cpp)
list(APPEND VUDA32_WIN_SOURCES File/QLog.cpp)
