list(APPEND DRIVER_CORE_SOURCES KVPng.cpp KVRgbImage.cpp)
if(WIN32)
  list(APPEND DRIVER_WIN_SOURCES KVWizardDriver.cpp KVWizardPictures.cpp)
endif()
