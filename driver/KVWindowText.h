// What a window shows, read from any thread.
//   KVWindowClass   the window's class name
//   KVWindowText    its text; a thread that does not answer reads as empty
#pragma once

#include <windows.h>

#include <string>

std::string KVWindowClass(HWND window);
std::string KVWindowText(HWND window);
