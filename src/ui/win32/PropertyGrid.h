// The property grid's window: a custom window class that draws a
// CPropertyGridModel, turns the user's input into model calls, opens the
// editors and tells its parent window about changes.
//
// A dialog template in the driver's resources names it by its class,
//     CONTROL "", IDC_GRID, "KavrixPropertyGrid", WS_TABSTOP | WS_BORDER, x, y, cx, cy
// after RegisterWindowClass(); the owner then finds the object with FromHandle.
// The parent receives ItemChangedMessage and SelectionChangedMessage with the
// item id (-1 for none) in WPARAM.
#pragma once

#include "ui/PropertyGridModel.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class CPropertyGridEditor;

class CPropertyGrid : public CPropertyGridListener, public CPropertyGridView {
public:
    static constexpr const char* ClassName = "KavrixPropertyGrid";
    // To the parent: the user changed a row's value; the row's value was changed.
    static constexpr UINT ItemChangedMessage = WM_USER + 486;
    // To the parent: the focus moved.
    static constexpr UINT SelectionChangedMessage = WM_USER + 487;
    // From the editors to the grid: a drop-down line was chosen (LPARAM the
    // index), the edit box's text (LPARAM a const char*), a calendar day
    // (LPARAM a const SYSTEMTIME*); WPARAM is the item id.
    static constexpr UINT DropDownChoiceMessage = WM_USER + 487;
    static constexpr UINT EditTextMessage = WM_USER + 488;
    static constexpr UINT CalendarChoiceMessage = WM_USER + 489;
    // From an editor that closed without a result.
    static constexpr UINT EditorClosedMessage = WM_USER + 490;

    // Registers the grid's window classes with the module that holds this
    // code (the driver DLL); true when they are registered. Safe to repeat.
    static bool RegisterWindowClass();
    // For the module's unloading: windows of these classes must be gone.
    static void UnregisterWindowClass();
    static HINSTANCE ModuleInstance();

    // The grid behind a window of the class, or null for any other window.
    static CPropertyGrid* FromHandle(HWND window);
    // Creates a grid window as a child of parent (registering the class).
    static CPropertyGrid* Create(HWND parent, const RECT& rect, int id,
                                 DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER);

    CPropertyGridModel& GetModel() { return mModel; }
    HWND GetHandle() const { return mWindow; }
    HFONT GetFont() const { return mFont; }
    HFONT GetBoldFont() const { return mBoldFont; }

    // CPropertyGridListener: passed on to the parent window.
    void OnItemChanged(int item) override;
    void OnSelectionChanged(int item) override;
    // CPropertyGridView.
    void Redraw() override;
    void ScrollChanged() override;
    void OpenEditor(int item, GridEditWay way) override;
    void CloseEditor() override;

private:
    explicit CPropertyGrid(HWND window);
    ~CPropertyGrid() override;
    CPropertyGrid(const CPropertyGrid&) = delete;
    CPropertyGrid& operator=(const CPropertyGrid&) = delete;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OnPaint();
    void Paint(HDC dc);
    void PaintSection(HDC dc, const GridSection& section, int entry, bool focused);
    void PaintItem(HDC dc, const GridItem& item, int entry, bool focused);
    void PaintButton(HDC dc, const GridItem& item);
    void OnVerticalScroll(WPARAM wParam);
    bool OnSetCursor();

    // Editors.
    void OpenInPlaceEditor(int item, GridEditWay way);
    void RunModalEditor(int item);
    void RetireEditor();
    std::string OkText() const;
    std::string CancelText() const;
    GridRect ValueRect(int item) const;

    HWND mWindow;
    CPropertyGridModel mModel;
    HFONT mFont = nullptr;
    HFONT mBoldFont = nullptr;
    bool mOwnsFont = false;
    bool mDestroying = false;
    bool mReleasingCapture = false;
    std::unique_ptr<CPropertyGridEditor> mEditor;
    // Editors that reported from inside their own window procedure; destroyed
    // once that has returned.
    std::vector<std::unique_ptr<CPropertyGridEditor>> mRetired;
    COLORREF mCustomColors[16] = {};
};
