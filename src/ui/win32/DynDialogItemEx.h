// One control of a dialog built at run time: its window class, caption,
// styles, rectangle in dialog units and id.
#pragma once

#include <windows.h>

#include <string>

class CDynDialogItemEx {
public:
    CDynDialogItemEx(std::string windowClass, std::string caption, DWORD style, DWORD extendedStyle,
                     const RECT& dialogUnits, WORD id);

    const std::string& GetWindowClass() const { return mWindowClass; }
    const std::string& GetCaption() const { return mCaption; }
    DWORD GetStyle() const { return mStyle; }
    DWORD GetExtendedStyle() const { return mExtendedStyle; }
    const RECT& GetRect() const { return mRect; }
    WORD GetId() const { return mId; }

private:
    std::string mWindowClass;
    std::string mCaption;
    DWORD mStyle;
    DWORD mExtendedStyle;
    RECT mRect; // in dialog units
    WORD mId;
};
