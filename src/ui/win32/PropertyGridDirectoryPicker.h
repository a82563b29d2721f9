// The folder chooser of folder rows, titled "Choose a directory" and opened
// at the row's folder.
#pragma once

#include <windows.h>

#include <string>

class CPropertyGridDirectoryPicker {
public:
    explicit CPropertyGridDirectoryPicker(std::string title = "Choose a directory");
    // True with the chosen folder in path; false (path unchanged) on Cancel.
    bool Pick(HWND owner, std::string& path) const;

private:
    static int CALLBACK Callback(HWND window, UINT message, LPARAM lParam, LPARAM data);

    std::string mTitle;
};
