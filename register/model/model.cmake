# The wizard model: page machine, hand-off and waiting, results, input checks.
list(APPEND REGISTER_CORE_SOURCES
  model/KVInputRules.cpp)
if(WIN32)
  list(APPEND REGISTER_WIN_SOURCES
    model/KVRegisterModel.cpp)
endif()
