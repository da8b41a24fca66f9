list(APPEND VUDA32_CORE_SOURCES
  Exception/QException.cpp
  Exception/QErrorTexts.cpp
  Exception/QErrorReport.cpp)
if(WIN32)
  list(APPEND VUDA32_CORE_SOURCES Exception/QErrorReportWin.cpp)
else()
  list(APPEND VUDA32_CORE_SOURCES Exception/QErrorReportNative.cpp)
endif()
