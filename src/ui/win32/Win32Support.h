// Small Win32 services the grid's windows share.
#pragma once

#include "ui/GridValue.h"

#include <windows.h>

#include <string>

namespace Win32Support {

// Registers a window class of the module once; true when it is registered.
bool RegisterClassOnce(HINSTANCE instance, const char* name, WNDPROC procedure, UINT style = 0,
                       HBRUSH background = nullptr);

// The window's text (ANSI), whatever its length.
std::string WindowText(HWND window);

SYSTEMTIME ToSystemTime(const GridDateTime& date);
GridDateTime ToGridDate(const SYSTEMTIME& time);

}
