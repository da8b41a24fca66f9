# The diagnostic log.
list(APPEND VUDA32_CORE_SOURCES File/QLogLine.cpp)
