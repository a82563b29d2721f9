#include "ui/win32/PropertyGridMonthCalCtrl.h"

#include "ui/win32/PropertyGrid.h"
#include "ui/win32/Win32Support.h"

#include <commctrl.h>

bool CPropertyGridMonthCalCtrl::RegisterWindowClass(HINSTANCE instance)
{
    return Win32Support::RegisterClassOnce(instance, ClassName, &CPropertyGridMonthCalCtrl::WindowProc, 0,
                                           GetSysColorBrush(COLOR_WINDOW));
}

void CPropertyGridMonthCalCtrl::UnregisterWindowClass(HINSTANCE instance)
{
    UnregisterClassA(ClassName, instance);
}

CPropertyGridMonthCalCtrl::CPropertyGridMonthCalCtrl(HWND grid, int item, const RECT& value, const SYSTEMTIME& date,
                                                     HFONT font)
    : CPropertyGridEditor(grid, item)
{
    // A popup, so the calendar may reach past the grid and the dialog.
    const HWND owner = GetAncestor(grid, GA_ROOT);
    mWindow = CreateWindowExA(WS_EX_TOOLWINDOW, ClassName, "", WS_POPUP | WS_BORDER, 0, 0, 10, 10, owner, nullptr,
                              CPropertyGrid::ModuleInstance(), this);
    if (mWindow == nullptr) {
        return;
    }
    mCalendar = CreateWindowExA(0, MONTHCAL_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, mWindow, nullptr,
                                CPropertyGrid::ModuleInstance(), nullptr);
    if (mCalendar == nullptr) {
        return;
    }
    SendMessageA(mCalendar, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(mCalendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&date));
    RECT size{};
    SendMessageA(mCalendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&size));
    const int width = size.right - size.left;
    const int height = size.bottom - size.top;
    SetWindowPos(mCalendar, nullptr, 0, 0, width, height, SWP_NOZORDER);
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOOLWINDOW);
    POINT corner{value.right, value.bottom};
    ClientToScreen(grid, &corner);
    const int frameWidth = frame.right - frame.left;
    SetWindowPos(mWindow, HWND_TOP, corner.x - frameWidth, corner.y, frameWidth, frame.bottom - frame.top,
                 SWP_SHOWWINDOW);
    SetWindowSubclass(mCalendar, &CPropertyGridMonthCalCtrl::CalendarSubclass, 0, reinterpret_cast<DWORD_PTR>(this));
    SetFocus(mCalendar);
}

CPropertyGridMonthCalCtrl::~CPropertyGridMonthCalCtrl()
{
    if (mWindow != nullptr) {
        Abandon();
        if (mCalendar != nullptr) {
            RemoveWindowSubclass(mCalendar, &CPropertyGridMonthCalCtrl::CalendarSubclass, 0);
        }
        SetWindowLongPtrA(mWindow, GWLP_USERDATA, 0);
        DestroyWindow(mWindow);
    }
}

LRESULT CALLBACK CPropertyGridMonthCalCtrl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* calendar = reinterpret_cast<CPropertyGridMonthCalCtrl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (calendar == nullptr || calendar->mWindow == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    try {
        return calendar->Handle(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK CPropertyGridMonthCalCtrl::CalendarSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                             UINT_PTR /*id*/, DWORD_PTR self)
{
    auto* calendar = reinterpret_cast<CPropertyGridMonthCalCtrl*>(self);
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            calendar->ChooseCurrent();
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            calendar->Report(CPropertyGrid::EditorClosedMessage, 0);
            return 0;
        }
        break;
    case WM_KILLFOCUS:
        calendar->LeaveWhenFocusIsElsewhere(reinterpret_cast<HWND>(wParam));
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void CPropertyGridMonthCalCtrl::LeaveWhenFocusIsElsewhere(HWND focus)
{
    // The calendar's own parts may take the focus for a moment.
    if (focus != nullptr && (focus == mWindow || IsChild(mWindow, focus))) {
        return;
    }
    Report(CPropertyGrid::EditorClosedMessage, 0);
}

void CPropertyGridMonthCalCtrl::ChooseCurrent()
{
    SYSTEMTIME chosen{};
    if (SendMessageA(mCalendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&chosen)) != 0) {
        Report(CPropertyGrid::CalendarChoiceMessage, reinterpret_cast<LPARAM>(&chosen));
    }
}

LRESULT CPropertyGridMonthCalCtrl::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == mCalendar && header->code == MCN_SELECT) {
            SYSTEMTIME chosen = reinterpret_cast<const NMSELCHANGE*>(lParam)->stSelStart;
            Report(CPropertyGrid::CalendarChoiceMessage, reinterpret_cast<LPARAM>(&chosen));
            return 0;
        }
        break;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            LeaveWhenFocusIsElsewhere(reinterpret_cast<HWND>(lParam));
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(mWindow, message, wParam, lParam);
}
