// The configuration dialog on Windows: a modal property sheet with the page
// "General" from the driver's own resources.
#include "ui/ConfigurationDialog.h"

#include "ui/win32/PropertyGeneralPage.h"
#include "ui/win32/PropertyGrid.h"
#include "ui/win32/Sheet1.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstdint>
#include <stdexcept>

namespace {

// The sheet being set up on this thread; a host may open a dialog from
// inside another's modal loop, so each run keeps the one it replaced.
thread_local CSheet1* tCurrentSheet = nullptr;

int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM)
{
    if (message == PSCB_INITIALIZED && tCurrentSheet != nullptr) {
        tCurrentSheet->SetUp(sheet);
    }
    return 0;
}

// The host passes its window handle as an int; handles keep their sign when widened.
HWND ParentWindow(int parentWindow)
{
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(parentWindow));
}

class CurrentSheet {
public:
    explicit CurrentSheet(CSheet1& sheet) : mPrevious(tCurrentSheet) { tCurrentSheet = &sheet; }
    ~CurrentSheet() { tCurrentSheet = mPrevious; }
    CurrentSheet(const CurrentSheet&) = delete;
    CurrentSheet& operator=(const CurrentSheet&) = delete;

private:
    CSheet1* mPrevious;
};

}

namespace ConfigurationDialog {

bool IsAvailable()
{
    return true;
}

bool ConfirmWhileGrabbing(const std::string& title, int parentWindow)
{
    return MessageBoxA(ParentWindow(parentWindow),
                       "Configuring camera properties while inspection is running may cause undesired effects. "
                       "Continue anyway ?",
                       title.c_str(), MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
}

bool Run(CameraParameters& params, const std::string& title, int parentWindow)
{
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    if (!CPropertyGrid::RegisterWindowClass()) {
        throw std::runtime_error("Failed to register the property grid's window class");
    }
    const HINSTANCE module = CPropertyGrid::ModuleInstance();
    CSheet1 sheet(title, ParentWindow(parentWindow));
    CPropertyGeneralPage page(params, sheet);
    PROPSHEETPAGEA pageDescription = page.Describe(module);

    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP | PSH_USECALLBACK;
    header.hwndParent = sheet.GetParent();
    header.hInstance = module;
    header.pszCaption = sheet.GetTitle().c_str();
    header.nPages = 1;
    header.ppsp = &pageDescription;
    header.pfnCallback = &SheetCallback;
    const CurrentSheet current(sheet);
    if (PropertySheetA(&header) < 0) {
        throw std::runtime_error("Failed to show the configuration dialog");
    }
    if (page.GetError()) {
        std::rethrow_exception(page.GetError());
    }
    return page.IsAccepted();
}

}
