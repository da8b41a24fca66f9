# The wrapper of the sibling country-code library.
if(WIN32)
  list(APPEND COMMON_WIN_SOURCES
    KVCountryCodesWrapper.cpp
    KVCountryCodesWrapperInstance.cpp)
endif()
