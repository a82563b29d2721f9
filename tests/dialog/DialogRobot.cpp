#include "DialogRobot.h"

#include <commctrl.h>
#include <prsht.h>

#include <chrono>
#include <thread>

namespace {

constexpr int GridId = 1001;
constexpr int NameLabelId = 1003;
constexpr int DescriptionLabelId = 1004;

std::string TextOf(HWND window)
{
    char text[512] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

bool StartsWithName(const std::string& label, const std::string& name)
{
    return label.compare(0, name.size(), name) == 0 && (label.size() == name.size() || label[name.size()] == ' ');
}

template <typename Condition>
bool WaitFor(Condition condition, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}

HWND DialogRobot::WaitForWindow(const std::string& title, int timeoutMs)
{
    HWND window = nullptr;
    WaitFor([&] { return (window = FindWindowA(nullptr, title.c_str())) != nullptr && IsWindowVisible(window); },
            timeoutMs);
    return window;
}

DialogRobot::DialogRobot(HWND sheet) : mSheet(sheet) {}

HWND DialogRobot::Page() const
{
    return reinterpret_cast<HWND>(SendMessageA(mSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

HWND DialogRobot::Grid() const
{
    return GetDlgItem(Page(), GridId);
}

std::string DialogRobot::NameLabel() const
{
    return TextOf(GetDlgItem(Page(), NameLabelId));
}

std::string DialogRobot::DescriptionLabel() const
{
    return TextOf(GetDlgItem(Page(), DescriptionLabelId));
}

std::string DialogRobot::Status() const
{
    const HWND bar = FindChild(mSheet, STATUSCLASSNAMEA);
    char text[512] = {};
    if (bar != nullptr) {
        SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    }
    return text;
}

bool DialogRobot::IsOkEnabled() const
{
    return IsWindowEnabled(GetDlgItem(mSheet, IDOK)) != FALSE;
}

HWND DialogRobot::FindChild(HWND parent, const char* className) const
{
    return FindWindowExA(parent, nullptr, className, nullptr);
}

void DialogRobot::Key(int virtualKey) const
{
    SendMessageA(Grid(), WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 0);
}

bool DialogRobot::SelectRow(const std::string& name)
{
    if (StartsWithName(NameLabel(), name)) {
        return true;
    }
    for (int step = 0; step < 400; ++step) {
        Key(VK_DOWN);
        if (StartsWithName(NameLabel(), name)) {
            return true;
        }
    }
    return false;
}

bool DialogRobot::Type(const std::string& text) const
{
    Key(VK_F2);
    const HWND edit = FindChild(Grid(), "Edit");
    if (edit == nullptr) {
        return false;
    }
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    return WaitFor([&] { return FindChild(Grid(), "Edit") == nullptr || !IsWindowVisible(edit); }, 5000);
}

bool DialogRobot::Choose(int index) const
{
    Key(VK_F2);
    const HWND list = FindChild(Grid(), "KavrixPropertyGridList");
    if (list == nullptr) {
        return false;
    }
    for (int up = 0; up < 64; ++up) {
        SendMessageA(list, WM_KEYDOWN, VK_UP, 0);
    }
    for (int down = 0; down < index; ++down) {
        SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
    }
    SendMessageA(list, WM_KEYDOWN, VK_RETURN, 0);
    return true;
}

void DialogRobot::PressOk() const
{
    PostMessageA(GetDlgItem(mSheet, IDOK), BM_CLICK, 0, 0);
}

void DialogRobot::PressCancel() const
{
    PostMessageA(GetDlgItem(mSheet, IDCANCEL), BM_CLICK, 0, 0);
}

bool DialogRobot::WaitClosed(int timeoutMs) const
{
    return WaitFor([this] { return IsWindow(mSheet) == FALSE; }, timeoutMs);
}
