// Shows the property grid with a row of every kind, for screenshots:
//     grid-demo [list|edit|calendar|button|flat]
// opens that editor (or focuses a row with a "..." button, or shows the flat list), prints "ready LEFT TOP RIGHT BOTTOM"
// with the window's screen rectangle once it is drawn, and runs until closed.
#include "GridSample.h"

#include "ui/win32/PropertyGrid.h"

#include <cstdio>
#include <cstring>

namespace {

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void Pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}

int main(int argc, char** argv)
{
    const char* mode = argc > 1 ? argv[1] : "list";
    if (!CPropertyGrid::RegisterWindowClass()) {
        std::fprintf(stderr, "grid-demo: the window classes could not be registered\n");
        return 1;
    }
    WNDCLASSEXA host{};
    host.cbSize = sizeof host;
    host.lpfnWndProc = HostProc;
    host.hInstance = GetModuleHandleA(nullptr);
    host.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    host.lpszClassName = "KavrixGridDemo";
    RegisterClassExA(&host);
    const HWND window = CreateWindowExA(0, host.lpszClassName, "Property grid", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                                        40, 470, 440, nullptr, nullptr, host.hInstance, nullptr);
    CPropertyGrid* grid = CPropertyGrid::Create(window, RECT{8, 8, 446, 392}, 100);
    if (grid == nullptr) {
        std::fprintf(stderr, "grid-demo: no grid window\n");
        return 1;
    }
    CPropertyGridModel& model = grid->GetModel();
    const GridSample sample = FillSample(model);
    model.SetItemValue(sample.mPixelFormat, std::string("Mono10"));
    SetForegroundWindow(window);
    SetFocus(grid->GetHandle());
    if (std::strcmp(mode, "flat") == 0) {
        model.SetDisplayMode(GridDisplayMode::Flat);
        model.SetFocusedItem(sample.mWidth);
    } else if (std::strcmp(mode, "edit") == 0) {
        model.SetFocusedItem(sample.mExposure);
        model.OpenEditor(sample.mExposure);
    } else if (std::strcmp(mode, "button") == 0) {
        model.SetFocusedItem(sample.mNotes);
    } else if (std::strcmp(mode, "calendar") == 0) {
        model.SetFocusedItem(sample.mCalibrated);
        model.OpenEditor(sample.mCalibrated);
    } else {
        model.SetFocusedItem(sample.mPixelFormat);
        model.OpenEditor(sample.mPixelFormat);
    }
    UpdateWindow(window);
    Pump();
    RECT rect{};
    GetWindowRect(window, &rect);
    std::printf("ready %ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    std::fflush(stdout);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
