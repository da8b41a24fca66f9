# The wizard window: the register.cfg reader is platform-free.
list(APPEND REGISTER_CORE_SOURCES
  view/KVRegisterConfig.cpp)
