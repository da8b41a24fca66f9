# What the model and the window need of their run.
list(APPEND COMMON_CORE_SOURCES KVRunContext.cpp)
