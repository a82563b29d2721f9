#include "ui/win32/PropertyGrid.h"

#include "ui/win32/PropertyGridEditor.h"
#include "ui/win32/PropertyGridCombo.h"
#include "ui/win32/PropertyGridMonthCalCtrl.h"
#include "ui/win32/Win32Support.h"

#include "ui/GridDateText.h"

#include <commctrl.h>
#include <windowsx.h>

#include <new>

namespace {

// Posted to itself once retired editors may be destroyed.
constexpr UINT FreeRetiredMessage = WM_USER + 491;

// The window property that holds the grid object.
const char* const ObjectProperty = "KavrixPropertyGrid.Object";

// Where the grid finds its object between WM_NCCREATE and WM_NCDESTROY.
CPropertyGrid* Attached(HWND window)
{
    return static_cast<CPropertyGrid*>(GetPropA(window, ObjectProperty));
}

std::string DateText(const GridDateTime& date, bool withTime)
{
    const SYSTEMTIME time = Win32Support::ToSystemTime(date);
    char text[128] = {};
    std::string result;
    if (GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, sizeof text) > 0) {
        result = text;
    }
    if (withTime && GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, text, sizeof text) > 0) {
        result += std::string(" ") + text;
    }
    return result.empty() ? GridDateText::FormatIso(date, withTime) : result;
}

}

HINSTANCE CPropertyGrid::ModuleInstance()
{
    HMODULE module = nullptr;
    // The module that holds this code: the driver DLL, not the host's program.
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&CPropertyGrid::WindowProc), &module);
    return module;
}

bool CPropertyGrid::RegisterWindowClass()
{
    const HINSTANCE instance = ModuleInstance();
    if (!Win32Support::RegisterClassOnce(instance, ClassName, &CPropertyGrid::WindowProc, CS_DBLCLKS)) {
        return false;
    }
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    return CPropertyGridCombo::RegisterWindowClass(instance) && CPropertyGridMonthCalCtrl::RegisterWindowClass(instance);
}

void CPropertyGrid::UnregisterWindowClass()
{
    const HINSTANCE instance = ModuleInstance();
    UnregisterClassA(ClassName, instance);
    CPropertyGridCombo::UnregisterWindowClass(instance);
    CPropertyGridMonthCalCtrl::UnregisterWindowClass(instance);
}

CPropertyGrid* CPropertyGrid::FromHandle(HWND window)
{
    return window != nullptr && IsWindow(window) ? Attached(window) : nullptr;
}

CPropertyGrid* CPropertyGrid::Create(HWND parent, const RECT& rect, int id, DWORD style)
{
    if (!RegisterWindowClass()) {
        return nullptr;
    }
    const HWND window = CreateWindowExA(0, ClassName, "", style | WS_CHILD, rect.left, rect.top,
                                        rect.right - rect.left, rect.bottom - rect.top, parent,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
    return FromHandle(window);
}

CPropertyGrid::CPropertyGrid(HWND window) : mWindow(window)
{
    mModel.SetListener(this);
    mModel.SetView(this);
    mModel.SetDateFormatter(DateText);
}

CPropertyGrid::~CPropertyGrid()
{
    if (mOwnsFont && mFont != nullptr) {
        DeleteObject(mFont);
    }
    if (mBoldFont != nullptr) {
        DeleteObject(mBoldFont);
    }
}

LRESULT CALLBACK CPropertyGrid::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        // new can throw; nothing may leave a window procedure.
        CPropertyGrid* grid = new (std::nothrow) CPropertyGrid(window);
        if (grid == nullptr || !SetPropA(window, ObjectProperty, grid)) {
            delete grid;
            return FALSE;
        }
    }
    CPropertyGrid* grid = Attached(window);
    if (grid == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        RemovePropA(window, ObjectProperty);
        delete grid;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    try {
        return grid->Handle(message, wParam, lParam);
    } catch (...) {
        // An allocation failure while drawing or editing costs that one message, not the host.
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CPropertyGrid::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_DESTROY:
        mDestroying = true;
        if (mEditor) {
            mEditor->Abandon();
        }
        mEditor.reset();
        mRetired.clear();
        break;
    case WM_SIZE:
        mModel.SetClientSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        // Painted whole, off screen.
        return 1;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(mFont);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Redraw();
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_UP:
            mModel.OnKeyDown(GridKey::Up);
            return 0;
        case VK_DOWN:
            mModel.OnKeyDown(GridKey::Down);
            return 0;
        case VK_LEFT:
            mModel.OnKeyDown(GridKey::Left);
            return 0;
        case VK_RIGHT:
            mModel.OnKeyDown(GridKey::Right);
            return 0;
        case VK_F2:
            mModel.OnKeyDown(GridKey::Edit);
            return 0;
        default:
            break;
        }
        break;
    case WM_CHAR:
        mModel.OnChar(static_cast<char>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(mWindow);
        SetCapture(mWindow);
        mModel.OnMouseDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == mWindow) {
            // Our own release is no lost capture.
            mReleasingCapture = true;
            ReleaseCapture();
            mReleasingCapture = false;
        }
        mModel.OnMouseUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        SetFocus(mWindow);
        mModel.OnDoubleClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_CAPTURECHANGED:
        // A drag or a press ends without reaching any button.
        if (!mReleasingCapture && (mModel.IsDraggingDivider() || mModel.IsButtonPressed())) {
            mModel.OnMouseUp(-1, -1);
        }
        return 0;
    case WM_MOUSEMOVE:
        mModel.OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && OnSetCursor()) {
            return TRUE;
        }
        break;
    case WM_VSCROLL:
        OnVerticalScroll(wParam);
        return 0;
    case WM_MOUSEWHEEL:
        mModel.OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case DropDownChoiceMessage:
        mModel.OnDropDownChoice(static_cast<int>(wParam), static_cast<int>(lParam));
        RetireEditor();
        return 0;
    case EditTextMessage:
        mModel.OnEditBoxText(static_cast<int>(wParam), reinterpret_cast<const char*>(lParam));
        RetireEditor();
        return 0;
    case CalendarChoiceMessage: {
        mModel.OnCalendarChoice(static_cast<int>(wParam),
                                Win32Support::ToGridDate(*reinterpret_cast<const SYSTEMTIME*>(lParam)));
        RetireEditor();
        return 0;
    }
    case EditorClosedMessage:
        if (mEditor && mEditor->GetItem() == static_cast<int>(wParam)) {
            mModel.OnEditorClosed();
        }
        RetireEditor();
        return 0;
    case FreeRetiredMessage:
        // The retired editors' window procedures have returned by now.
        mRetired.clear();
        return 0;
    default:
        break;
    }
    return DefWindowProcA(mWindow, message, wParam, lParam);
}

void CPropertyGrid::OnCreate()
{
    // Arrows and the scroll bar are the grid's; its editors draw over it.
    SetWindowLongPtrA(mWindow, GWL_STYLE, GetWindowLongPtrA(mWindow, GWL_STYLE) | WS_CLIPCHILDREN);
    const HWND parent = GetParent(mWindow);
    mFont = parent != nullptr ? reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0)) : nullptr;
    LOGFONTA font{};
    if (mFont == nullptr || GetObjectA(mFont, sizeof font, &font) == 0) {
        const HDC screen = GetDC(nullptr);
        font = LOGFONTA{};
        font.lfHeight = -MulDiv(85, GetDeviceCaps(screen, LOGPIXELSY), 720);
        font.lfWeight = FW_NORMAL;
        font.lfCharSet = DEFAULT_CHARSET;
        lstrcpynA(font.lfFaceName, "Tahoma", LF_FACESIZE);
        ReleaseDC(nullptr, screen);
        mFont = CreateFontIndirectA(&font);
        mOwnsFont = true;
    }
    font.lfWeight = FW_BOLD;
    mBoldFont = CreateFontIndirectA(&font);

    const HDC dc = GetDC(mWindow);
    const HGDIOBJ old = SelectObject(dc, mFont);
    SIZE size{};
    GetTextExtentPoint32A(dc, "Gg", 2, &size);
    SelectObject(dc, old);
    ReleaseDC(mWindow, dc);
    mModel.SetRowHeight(size.cy + 4);

    ShowScrollBar(mWindow, SB_VERT, TRUE);
    RECT client{};
    GetClientRect(mWindow, &client);
    mModel.SetClientSize(client.right, client.bottom);
}

void CPropertyGrid::RetireEditor()
{
    if (!mEditor) {
        return;
    }
    mEditor->Abandon();
    // A hidden window keeps the focus: it comes back to the grid first.
    const HWND editor = mEditor->GetHandle();
    const HWND focus = GetFocus();
    if (!mDestroying && focus != nullptr && (focus == editor || IsChild(editor, focus))) {
        SetFocus(mWindow);
    }
    ShowWindow(editor, SW_HIDE);
    mRetired.push_back(std::move(mEditor));
    PostMessageA(mWindow, FreeRetiredMessage, 0, 0);
}

void CPropertyGrid::OnItemChanged(int item)
{
    SendMessageA(GetParent(mWindow), ItemChangedMessage, static_cast<WPARAM>(item), 0);
}

void CPropertyGrid::OnSelectionChanged(int item)
{
    SendMessageA(GetParent(mWindow), SelectionChangedMessage, static_cast<WPARAM>(item), 0);
}

void CPropertyGrid::Redraw()
{
    InvalidateRect(mWindow, nullptr, FALSE);
}

void CPropertyGrid::ScrollChanged()
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = mModel.GetContentHeight() - 1;
    info.nPage = static_cast<UINT>(mModel.GetClientHeight());
    info.nPos = mModel.GetScrollPos();
    SetScrollInfo(mWindow, SB_VERT, &info, TRUE);
    // An editor sits on its row; it is moved along or closed.
    if (mEditor) {
        const GridRect rect = ValueRect(mEditor->GetItem());
        if (rect.bottom <= 0 || rect.top >= mModel.GetClientHeight()) {
            CloseEditor();
            mModel.OnEditorClosed();
        }
    }
    Redraw();
}

void CPropertyGrid::OnVerticalScroll(WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case SB_LINEUP:
        mModel.OnScroll(GridScrollAction::LineUp);
        break;
    case SB_LINEDOWN:
        mModel.OnScroll(GridScrollAction::LineDown);
        break;
    case SB_PAGEUP:
        mModel.OnScroll(GridScrollAction::PageUp);
        break;
    case SB_PAGEDOWN:
        mModel.OnScroll(GridScrollAction::PageDown);
        break;
    case SB_TOP:
        mModel.OnScroll(GridScrollAction::Top);
        break;
    case SB_BOTTOM:
        mModel.OnScroll(GridScrollAction::Bottom);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The 32-bit position; the message carries only 16 bits of it.
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(mWindow, SB_VERT, &info);
        mModel.OnScroll(GridScrollAction::Thumb, info.nTrackPos);
        break;
    }
    default:
        break;
    }
}

bool CPropertyGrid::OnSetCursor()
{
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(mWindow, &point);
    if (mModel.CursorAt(point.x, point.y) == GridCursor::SizeWestEast) {
        SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
        return true;
    }
    return false;
}
