list(APPEND VUDA32_WIN_SOURCES
  WindowControls/QButton.cpp
  WindowControls/QCombobox.cpp
  WindowControls/QControlText.cpp
  WindowControls/QEdit.cpp
  WindowControls/QStatic.cpp)
