// The platform's file, colour and font choosers, started from a row's value.
#pragma once

#include "ui/GridValue.h"

#include <windows.h>

#include <string>

namespace PropertyGridChoosers {

// filter as "Text files (*.txt)|*.txt|All files (*.*)|*.*|"; empty: all files.
bool ChooseFile(HWND owner, const std::string& filter, std::string& path);
// customColors: the chooser's 16 custom colours, kept by the grid between runs.
bool ChooseColour(HWND owner, COLORREF* customColors, GridColor& color);
bool ChooseFontFor(HWND owner, GridFont& font);

}
