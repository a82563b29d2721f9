// The one-line edit box over a row's value. Enter or Tab (and, with Ctrl,
// the arrow and page keys) give the focus back to the grid, Escape restores
// the prefilled text; whenever the box loses the focus or closes it hands its
// text to the grid, once.
#pragma once

#include "ui/win32/PropertyGridEditor.h"

#include <string>

class CPropertyGridInPlaceEdit : public CPropertyGridEditor {
public:
    CPropertyGridInPlaceEdit(HWND grid, int item, const RECT& rect, const std::string& text, HFONT font);
    ~CPropertyGridInPlaceEdit() override;

    void Close() override;
    HWND GetHandle() const override { return mWindow; }

private:
    static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void HandBack();

    HWND mWindow = nullptr;
    std::string mInitialText;
};
