#include "ui/win32/PropertyGridCombo.h"

#include "ui/win32/PropertyGrid.h"
#include "ui/win32/Win32Support.h"

#include <windowsx.h>

#include <algorithm>

bool CPropertyGridCombo::RegisterWindowClass(HINSTANCE instance)
{
    return Win32Support::RegisterClassOnce(instance, ClassName, &CPropertyGridCombo::WindowProc);
}

void CPropertyGridCombo::UnregisterWindowClass(HINSTANCE instance)
{
    UnregisterClassA(ClassName, instance);
}

CPropertyGridCombo::CPropertyGridCombo(HWND grid, int item, const RECT& value, std::vector<std::string> options,
                                       int selected, HFONT font, int lineHeight)
    : CPropertyGridEditor(grid, item), mOptions(std::move(options)), mFont(font), mLineHeight(lineHeight),
      mHighlight(selected)
{
    RECT client{};
    GetClientRect(grid, &client);
    const int count = std::max(static_cast<int>(mOptions.size()), 1);
    // The list stays inside the grid: below the row, else above it, with as
    // many lines as fit.
    const int below = client.bottom - value.bottom - 2;
    const int above = value.top - 2;
    const bool down = below >= count * mLineHeight || below >= above;
    const int room = std::max(down ? below : above, mLineHeight);
    mVisibleLines = std::max(std::min(count, room / mLineHeight), 1);
    const int height = mVisibleLines * mLineHeight + 2;
    const int top = down ? value.bottom : value.top - height;
    if (mHighlight >= mVisibleLines) {
        mFirstVisible = mHighlight - mVisibleLines + 1;
    }
    mWindow = CreateWindowExA(0, ClassName, "", WS_CHILD | WS_BORDER, value.left, top, value.right - value.left,
                              height, grid, nullptr, CPropertyGrid::ModuleInstance(), this);
    if (mWindow != nullptr) {
        SetWindowPos(mWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        SetFocus(mWindow);
    }
}

CPropertyGridCombo::~CPropertyGridCombo()
{
    if (mWindow != nullptr) {
        Abandon();
        SetWindowLongPtrA(mWindow, GWLP_USERDATA, 0);
        DestroyWindow(mWindow);
    }
}

LRESULT CALLBACK CPropertyGridCombo::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<CPropertyGridCombo*>(create->lpCreateParams)->mWindow = window;
    }
    auto* list = reinterpret_cast<CPropertyGridCombo*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (list == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    try {
        return list->Handle(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int CPropertyGridCombo::LineAt(int y) const
{
    const int line = mFirstVisible + y / mLineHeight;
    return y >= 0 && line < static_cast<int>(mOptions.size()) ? line : -1;
}

void CPropertyGridCombo::Highlight(int line)
{
    const int count = static_cast<int>(mOptions.size());
    if (count == 0) {
        return;
    }
    mHighlight = std::clamp(line, 0, count - 1);
    if (mHighlight < mFirstVisible) {
        mFirstVisible = mHighlight;
    } else if (mHighlight >= mFirstVisible + mVisibleLines) {
        mFirstVisible = mHighlight - mVisibleLines + 1;
    }
    InvalidateRect(mWindow, nullptr, FALSE);
}

void CPropertyGridCombo::Choose(int line)
{
    if (line >= 0 && line < static_cast<int>(mOptions.size())) {
        Report(CPropertyGrid::DropDownChoiceMessage, line);
    }
}

LRESULT CPropertyGridCombo::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_UP:
        case VK_LEFT:
            Highlight(mHighlight < 0 ? 0 : mHighlight - 1);
            return 0;
        case VK_DOWN:
        case VK_RIGHT:
            Highlight(mHighlight + 1);
            return 0;
        case VK_RETURN:
            Choose(mHighlight);
            return 0;
        case VK_ESCAPE:
            Report(CPropertyGrid::EditorClosedMessage, 0);
            return 0;
        default:
            break;
        }
        break;
    case WM_CHAR:
        return 0;
    case WM_MOUSEMOVE: {
        const int line = LineAt(GET_Y_LPARAM(lParam));
        if (line >= 0 && line != mHighlight) {
            Highlight(line);
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
        Choose(LineAt(GET_Y_LPARAM(lParam)));
        return 0;
    case WM_MOUSEWHEEL: {
        const int maxFirst = std::max(static_cast<int>(mOptions.size()) - mVisibleLines, 0);
        mFirstVisible = std::clamp(mFirstVisible - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA, 0, maxFirst);
        InvalidateRect(mWindow, nullptr, FALSE);
        return 0;
    }
    case WM_KILLFOCUS:
        Report(CPropertyGrid::EditorClosedMessage, 0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(mWindow, message, wParam, lParam);
}

void CPropertyGridCombo::Paint()
{
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(mWindow, &paint);
    RECT client{};
    GetClientRect(mWindow, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    const HGDIOBJ oldFont = SelectObject(dc, mFont);
    SetBkMode(dc, TRANSPARENT);
    for (int line = mFirstVisible; line < static_cast<int>(mOptions.size()); ++line) {
        const int top = (line - mFirstVisible) * mLineHeight;
        if (top >= client.bottom) {
            break;
        }
        RECT rect{0, top, client.right, top + mLineHeight};
        if (line == mHighlight) {
            FillRect(dc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        }
        rect.left += 3;
        const std::string& text = mOptions[static_cast<std::size_t>(line)];
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    SelectObject(dc, oldFont);
    EndPaint(mWindow, &paint);
}
