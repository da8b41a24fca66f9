# The wizard window: its pages, its saved place and its place at the registration object's seam.
list(APPEND REGISTER_CORE_SOURCES
  view/KVWindowPosition.cpp)
if(WIN32)
  list(APPEND REGISTER_WIN_SOURCES
    view/KVComponentContainer.cpp
    view/KVCountryList.cpp
    view/KVRegisterView.cpp
    view/KVRegisterViewPages.cpp
    view/KVRegisterViewWindow.cpp
    view/KVWizardClass.cpp
    view/KVWizardHeader.cpp)
endif()
