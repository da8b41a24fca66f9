// Text of a control.
//   WindowText   the whole window text of a native window, empty when it has none
#pragma once

#include <windows.h>

#include <string>

std::string WindowText(HWND hwnd);
