#include "ui/win32/PropertyGridInPlaceEdit.h"

#include "ui/win32/PropertyGrid.h"
#include "ui/win32/Win32Support.h"

#include <commctrl.h>

CPropertyGridInPlaceEdit::CPropertyGridInPlaceEdit(HWND grid, int item, const RECT& rect, const std::string& text,
                                                   HFONT font)
    : CPropertyGridEditor(grid, item), mInitialText(text)
{
    mWindow = CreateWindowExA(0, "EDIT", text.c_str(), WS_CHILD | ES_AUTOHSCROLL, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, grid, nullptr,
                              CPropertyGrid::ModuleInstance(), nullptr);
    if (mWindow == nullptr) {
        return;
    }
    SetWindowSubclass(mWindow, &CPropertyGridInPlaceEdit::Subclass, 0, reinterpret_cast<DWORD_PTR>(this));
    SendMessageA(mWindow, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(mWindow, EM_SETSEL, 0, -1);
    ShowWindow(mWindow, SW_SHOW);
    SetFocus(mWindow);
}

CPropertyGridInPlaceEdit::~CPropertyGridInPlaceEdit()
{
    if (mWindow != nullptr) {
        // Destroying a focused box moves the focus; it has reported or been abandoned by now.
        Abandon();
        RemoveWindowSubclass(mWindow, &CPropertyGridInPlaceEdit::Subclass, 0);
        DestroyWindow(mWindow);
    }
}

void CPropertyGridInPlaceEdit::HandBack()
{
    if (HasReported() || mWindow == nullptr) {
        return;
    }
    const std::string text = Win32Support::WindowText(mWindow);
    Report(CPropertyGrid::EditTextMessage, reinterpret_cast<LPARAM>(text.c_str()));
}

void CPropertyGridInPlaceEdit::Close()
{
    HandBack();
}

LRESULT CALLBACK CPropertyGridInPlaceEdit::Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                    UINT_PTR /*id*/, DWORD_PTR self)
{
    auto* edit = reinterpret_cast<CPropertyGridInPlaceEdit*>(self);
    try {
        return edit->Handle(message, wParam, lParam);
    } catch (...) {
        return DefSubclassProc(window, message, wParam, lParam);
    }
}

LRESULT CPropertyGridInPlaceEdit::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        // Enter, Tab and Escape belong to the box, not to the dialog's buttons.
        return DefSubclassProc(mWindow, message, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN: {
        const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
        switch (wParam) {
        case VK_RETURN:
        case VK_TAB:
            SetFocus(mGrid);
            return 0;
        case VK_ESCAPE:
            SetWindowTextA(mWindow, mInitialText.c_str());
            SetFocus(mGrid);
            return 0;
        case VK_UP:
        case VK_DOWN:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_PRIOR:
        case VK_NEXT:
            if (control) {
                SetFocus(mGrid);
                return 0;
            }
            break;
        default:
            break;
        }
        break;
    }
    case WM_CHAR:
        // No beep for the keys that closed the box.
        if (wParam == VK_RETURN || wParam == VK_TAB || wParam == VK_ESCAPE) {
            return 0;
        }
        break;
    case WM_KILLFOCUS: {
        const LRESULT result = DefSubclassProc(mWindow, message, wParam, lParam);
        HandBack();
        return result;
    }
    default:
        break;
    }
    return DefSubclassProc(mWindow, message, wParam, lParam);
}
