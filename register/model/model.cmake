# The wizard model: page machine, hand-off and waiting, results, input checks.
list(APPEND REGISTER_CORE_SOURCES
  model/KVInputRules.cpp)
