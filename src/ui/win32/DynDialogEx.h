// A modal dialog described at run time: a caption, a font and a list of
// controls, turned into the platform's in-memory dialog template by DoModal.
#pragma once

#include "ui/win32/DynDialogItemEx.h"

#include <windows.h>

#include <string>
#include <vector>

class CDynDialogEx {
public:
    // The dialog's size in dialog units.
    CDynDialogEx(HWND parent, std::string caption, int width, int height);
    virtual ~CDynDialogEx() = default;
    CDynDialogEx(const CDynDialogEx&) = delete;
    CDynDialogEx& operator=(const CDynDialogEx&) = delete;

    void AddItem(CDynDialogItemEx item);
    // Without it: the parent window's font, else the main window's, else
    // "MS Sans Serif" at 8 points.
    void SetFont(const std::string& faceName, int points);
    // IDOK or IDCANCEL; -1 when the template could not be built (the user is
    // told in a message box) or the dialog could not be shown.
    INT_PTR DoModal();

protected:
    // Set the controls up; the dialog's window exists.
    virtual void OnInitDialog(HWND /*dialog*/) {}
    // Read the controls before the dialog closes with OK.
    virtual void OnOK(HWND /*dialog*/) {}

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void ChooseFont();
    std::vector<WORD> BuildTemplate() const;

    HWND mParent;
    std::string mCaption;
    int mWidth;
    int mHeight;
    std::string mFaceName;
    int mPoints = 0;
    std::vector<CDynDialogItemEx> mItems;
};
