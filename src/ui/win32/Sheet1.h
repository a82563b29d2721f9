// The configuration dialog's property sheet: OK and Cancel beside the page
// instead of under it, no Apply or Help, and a status bar along the bottom
// that shows why the configuration is not valid.
#pragma once

#include "ui/ConfigurationSheet.h"

#include <windows.h>

#include <string>

class CSheet1 : public CConfigurationSheet {
public:
    CSheet1(const std::string& title, HWND parent);

    // Lays the sheet out once its window exists (the sheet's initialization).
    void SetUp(HWND sheet);

    void EnableOK(bool enabled) override;
    void ShowStatus(const std::string& pageCaption, const std::string& message) override;
    void ClearStatus() override;

    bool IsOkEnabled() const { return mOkEnabled; }
    const std::string& GetTitle() const { return mTitle; }
    HWND GetParent() const { return mParent; }

private:
    void SetStatusText(const std::string& text);

    std::string mTitle;
    HWND mParent;
    HWND mSheet = nullptr;
    HWND mStatusBar = nullptr;
    bool mOkEnabled = true;
};
