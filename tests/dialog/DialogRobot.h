// The user of the configuration dialog, on a thread of its own while the
// host's thread runs the dialog's modal loop: it finds the windows and works
// them with window messages and keystrokes, as a person at the keyboard does.
#pragma once

#include <windows.h>

#include <string>

class DialogRobot {
public:
    // The top-level window of that title, waited for up to timeoutMs; null
    // when none appeared.
    static HWND WaitForWindow(const std::string& title, int timeoutMs = 20000);

    explicit DialogRobot(HWND sheet);

    HWND Sheet() const { return mSheet; }
    HWND Grid() const;
    std::string NameLabel() const;
    std::string DescriptionLabel() const;
    std::string Status() const;
    bool IsOkEnabled() const;

    // Moves the grid's focus down (wrapping) until the row of that name is
    // selected; false when no row has it.
    bool SelectRow(const std::string& name);
    void Key(int virtualKey) const;
    // The selected row's edit box: the text typed over its content, then Enter.
    bool Type(const std::string& text) const;
    // The selected row's drop-down list: the option at that index chosen with
    // the arrow keys and Enter.
    bool Choose(int index) const;

    void PressOk() const;
    void PressCancel() const;
    // Waits until the sheet is gone.
    bool WaitClosed(int timeoutMs = 20000) const;

private:
    HWND Page() const;
    HWND FindChild(HWND parent, const char* className) const;

    HWND mSheet;
};
