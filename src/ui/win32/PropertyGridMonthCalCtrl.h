// The month calendar that drops down under a date row's value, right-aligned
// with it. Choosing a day, or Enter, hands the date to the grid; Escape or
// the focus going to another window closes it without a change.
#pragma once

#include "ui/win32/PropertyGridEditor.h"

class CPropertyGridMonthCalCtrl : public CPropertyGridEditor {
public:
    // The popup frame that holds the platform's calendar control.
    static constexpr const char* ClassName = "KavrixPropertyGridCalendar";
    static bool RegisterWindowClass(HINSTANCE instance);
    static void UnregisterWindowClass(HINSTANCE instance);

    // value is the value rectangle in the grid's client coordinates.
    CPropertyGridMonthCalCtrl(HWND grid, int item, const RECT& value, const SYSTEMTIME& date, HFONT font);
    ~CPropertyGridMonthCalCtrl() override;

    void Close() override {}
    HWND GetHandle() const override { return mWindow; }
    HWND GetCalendar() const { return mCalendar; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CalendarSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                             DWORD_PTR self);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void ChooseCurrent();
    void LeaveWhenFocusIsElsewhere(HWND focus);

    HWND mWindow = nullptr;
    HWND mCalendar = nullptr;
};
