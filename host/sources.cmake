# The reference host: a simulated server and the command line (platform-free), and the
# program around them.
list(APPEND HOST_CORE_SOURCES KVSimServer.cpp KVHostOptions.cpp KVHostReport.cpp)
if(WIN32)
  list(APPEND HOST_WIN_SOURCES KVAutopilot.cpp)
endif()
