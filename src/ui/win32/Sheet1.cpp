#include "ui/win32/Sheet1.h"

#include <commctrl.h>

namespace {

constexpr int StatusBarId = 0x4001;
// The property sheet's own Apply button.
constexpr int ApplyButtonId = 0x3021;

RECT ChildRect(HWND parent, HWND child)
{
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}

CSheet1::CSheet1(const std::string& title, HWND parent) : mTitle(title), mParent(parent) {}

void CSheet1::SetUp(HWND sheet)
{
    mSheet = sheet;
    for (const int id : {ApplyButtonId, IDHELP}) {
        if (const HWND button = GetDlgItem(sheet, id)) {
            ShowWindow(button, SW_HIDE);
        }
    }
    const HWND ok = GetDlgItem(sheet, IDOK);
    const HWND cancel = GetDlgItem(sheet, IDCANCEL);
    const HWND tabs = PropSheet_GetTabControl(sheet);
    if (ok == nullptr || cancel == nullptr) {
        return;
    }
    const RECT okRect = ChildRect(sheet, ok);
    const int buttonWidth = okRect.right - okRect.left;
    const int buttonHeight = okRect.bottom - okRect.top;
    RECT client{};
    GetClientRect(sheet, &client);
    const int top = tabs != nullptr ? ChildRect(sheet, tabs).top : okRect.top;
    // The row under the page gives way to a column beside it.
    const int left = client.right + 15 / 2;
    SetWindowPos(ok, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(cancel, nullptr, left, top + buttonHeight + 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    mStatusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, sheet,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(StatusBarId)),
                                 reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(sheet, GWLP_HINSTANCE)), nullptr);
    RECT barRect{};
    if (mStatusBar != nullptr) {
        GetWindowRect(mStatusBar, &barRect);
    }
    RECT sheetRect{};
    GetWindowRect(sheet, &sheetRect);
    SetWindowPos(sheet, nullptr, 0, 0, sheetRect.right - sheetRect.left + buttonWidth + 15,
                 sheetRect.bottom - sheetRect.top - (buttonHeight + 5) + (barRect.bottom - barRect.top),
                 SWP_NOMOVE | SWP_NOZORDER);
    if (mStatusBar != nullptr) {
        // The bar places itself along the bottom of the resized sheet.
        SendMessageA(mStatusBar, WM_SIZE, 0, 0);
    }
    EnableWindow(ok, mOkEnabled ? TRUE : FALSE);
}

void CSheet1::EnableOK(bool enabled)
{
    mOkEnabled = enabled;
    if (mSheet != nullptr) {
        EnableWindow(GetDlgItem(mSheet, IDOK), enabled ? TRUE : FALSE);
    }
    if (enabled) {
        ClearStatus();
    }
}

void CSheet1::ShowStatus(const std::string& pageCaption, const std::string& message)
{
    SetStatusText(StatusText(pageCaption, message));
}

void CSheet1::ClearStatus()
{
    SetStatusText("");
}

void CSheet1::SetStatusText(const std::string& text)
{
    if (mStatusBar != nullptr) {
        SendMessageA(mStatusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}
