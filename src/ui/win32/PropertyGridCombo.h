// The drop-down list under a row's value: one line per option, the current
// choice highlighted. A click or Enter chooses; the arrow keys move the
// highlight without wrapping; Escape or losing the focus closes it without a
// choice.
#pragma once

#include "ui/win32/PropertyGridEditor.h"

#include <string>
#include <vector>

class CPropertyGridCombo : public CPropertyGridEditor {
public:
    static constexpr const char* ClassName = "KavrixPropertyGridList";
    static bool RegisterWindowClass(HINSTANCE instance);
    static void UnregisterWindowClass(HINSTANCE instance);

    // Opens under (or, where there is no room, over) the value rectangle.
    CPropertyGridCombo(HWND grid, int item, const RECT& value, std::vector<std::string> options, int selected,
                       HFONT font, int lineHeight);
    ~CPropertyGridCombo() override;

    void Close() override {}
    HWND GetHandle() const override { return mWindow; }
    int GetHighlight() const { return mHighlight; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void Highlight(int line);
    void Choose(int line);
    int LineAt(int y) const;

    HWND mWindow = nullptr;
    std::vector<std::string> mOptions;
    HFONT mFont;
    int mLineHeight;
    int mHighlight;
    int mFirstVisible = 0;
    int mVisibleLines = 1;
};
