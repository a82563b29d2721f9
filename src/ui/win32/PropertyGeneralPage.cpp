#include "ui/win32/PropertyGeneralPage.h"

#include "ui/win32/PropertyGrid.h"

#include <prsht.h>

#include <stdexcept>

CPropertyGeneralPage::CPropertyGeneralPage(CameraParameters& paramSet, CSheet1& sheet)
    : mParamSet(paramSet), mSheet(sheet)
{
}

PROPSHEETPAGEA CPropertyGeneralPage::Describe(HINSTANCE module)
{
    PROPSHEETPAGEA page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DEFAULT;
    page.hInstance = module;
    page.pszTemplate = "General";
    page.pfnDlgProc = &CPropertyGeneralPage::DialogProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return page;
}

INT_PTR CALLBACK CPropertyGeneralPage::DialogProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CPropertyGeneralPage*>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
        SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->mPage = page;
    }
    auto* self = reinterpret_cast<CPropertyGeneralPage*>(GetWindowLongPtrA(page, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    // Nothing may leave a dialog procedure: an error ends the dialog and is
    // raised again once the sheet has returned.
    try {
        return self->Handle(message, wParam, lParam);
    } catch (...) {
        if (!self->mError) {
            self->mError = std::current_exception();
        }
        PropSheet_PressButton(GetParent(page), PSBTN_CANCEL);
    }
    return TRUE;
}

INT_PTR CPropertyGeneralPage::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case CPropertyGrid::ItemChangedMessage:
        if (mLogic) {
            mLogic->OnItemChanged(static_cast<int>(wParam));
        }
        return TRUE;
    case CPropertyGrid::SelectionChangedMessage:
        if (mLogic) {
            mLogic->OnSelectionChanged(static_cast<int>(wParam));
        }
        return TRUE;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->code == PSN_APPLY) {
            // OK is disabled while the configuration is not valid; Enter must not get past that.
            mAccepted = mSheet.IsOkEnabled();
            SetWindowLongPtrA(mPage, DWLP_MSGRESULT, mAccepted ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void CPropertyGeneralPage::OnInitDialog()
{
    CPropertyGrid* grid = CPropertyGrid::FromHandle(GetDlgItem(mPage, GridId));
    if (grid == nullptr) {
        throw std::runtime_error("CPropertyGeneral: the page has no property grid");
    }
    mLogic = std::make_unique<CPropertyGeneral>(mParamSet, mSheet, grid->GetModel(), *this);
    mLogic->SetUp();
}

void CPropertyGeneralPage::SetLabels(const std::string& name, const std::string& description)
{
    SetDlgItemTextA(mPage, NameLabelId, name.c_str());
    SetDlgItemTextA(mPage, DescriptionLabelId, description.c_str());
}
