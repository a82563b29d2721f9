// The configuration page's window, from the dialog template "General" in
// the driver's resources: the property grid, a frame and the two labels.
// Its behaviour is CPropertyGeneral's; the window passes the grid's
// notifications on and shows the labels.
#pragma once

#include "ui/PropertyGeneral.h"
#include "ui/win32/Sheet1.h"

#include <windows.h>

#include <exception>
#include <memory>

class CPropertyGeneralPage : public CPageLabels {
public:
    // The template's control ids.
    static constexpr int GridId = 1001;
    static constexpr int NameLabelId = 1003;
    static constexpr int DescriptionLabelId = 1004;

    CPropertyGeneralPage(CameraParameters& paramSet, CSheet1& sheet);

    // The page's description for the sheet (template and dialog procedure).
    PROPSHEETPAGEA Describe(HINSTANCE module);
    // True when the sheet was closed with OK.
    bool IsAccepted() const { return mAccepted; }
    // An error of the page that ended the dialog, or null.
    std::exception_ptr GetError() const { return mError; }

    void SetLabels(const std::string& name, const std::string& description) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();

    CameraParameters& mParamSet;
    CSheet1& mSheet;
    HWND mPage = nullptr;
    std::unique_ptr<CPropertyGeneral> mLogic;
    bool mAccepted = false;
    std::exception_ptr mError;
};
