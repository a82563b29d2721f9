#include "ui/win32/DynDialogItemEx.h"

#include <utility>

CDynDialogItemEx::CDynDialogItemEx(std::string windowClass, std::string caption, DWORD style, DWORD extendedStyle,
                                   const RECT& dialogUnits, WORD id)
    : mWindowClass(std::move(windowClass)), mCaption(std::move(caption)), mStyle(style),
      mExtendedStyle(extendedStyle), mRect(dialogUnits), mId(id)
{
}
