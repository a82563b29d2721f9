// Which editor a row gets, where it opens, and how its result reaches the model.
#include "ui/win32/PropertyGrid.h"

#include "ui/PropertyGridCustomItem.h"
#include "ui/win32/PropertyGridChoosers.h"
#include "ui/win32/PropertyGridCombo.h"
#include "ui/win32/PropertyGridDialogs.h"
#include "ui/win32/PropertyGridDirectoryPicker.h"
#include "ui/win32/PropertyGridInPlaceEdit.h"
#include "ui/win32/PropertyGridMonthCalCtrl.h"
#include "ui/win32/Win32Support.h"

#include <vector>

namespace {

// The button texts of the modal dialogs: the grid's own, else those of the
// window it sits in (a page's OK and Cancel are on its sheet), else the defaults.
std::string DialogButtonText(HWND grid, const std::string& own, int id, const char* fallback)
{
    if (!own.empty()) {
        return own;
    }
    for (HWND window = GetParent(grid); window != nullptr; window = GetParent(window)) {
        std::string caption = Win32Support::WindowText(GetDlgItem(window, id));
        if (!caption.empty()) {
            return caption;
        }
        if ((GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) == 0) {
            break;
        }
    }
    return fallback;
}

}

std::string CPropertyGrid::OkText() const
{
    return DialogButtonText(mWindow, mModel.GetSettings().okText, IDOK, "OK");
}

std::string CPropertyGrid::CancelText() const
{
    return DialogButtonText(mWindow, mModel.GetSettings().cancelText, IDCANCEL, "Cancel");
}

GridRect CPropertyGrid::ValueRect(int item) const
{
    const std::vector<GridEntry>& entries = mModel.GetEntries();
    for (std::size_t at = 0; at < entries.size(); ++at) {
        if (!entries[at].mIsSection && entries[at].mId == item) {
            const int top = mModel.GetEntryTop(static_cast<int>(at));
            return GridRect{mModel.GetDividerX() + 1, top, mModel.GetClientWidth(), top + mModel.GetRowHeight()};
        }
    }
    return GridRect{0, -1, 0, -1};
}

void CPropertyGrid::OpenEditor(int item, GridEditWay way)
{
    if (mDestroying) {
        mModel.OnEditorClosed();
        return;
    }
    if (way == GridEditWay::Modal) {
        RunModalEditor(item);
    } else {
        OpenInPlaceEditor(item, way);
    }
}

void CPropertyGrid::OpenInPlaceEditor(int item, GridEditWay way)
{
    const GridRect value = ValueRect(item);
    const RECT rect{value.left, value.top, value.right, value.bottom};
    const int rowHeight = mModel.GetRowHeight();
    switch (way) {
    case GridEditWay::EditBox: {
        // Inside the row's lines, text where the value's text was drawn.
        const RECT box{rect.left + 3, rect.top + 1, rect.right - 1, rect.bottom - 1};
        mEditor = std::make_unique<CPropertyGridInPlaceEdit>(mWindow, item, box, mModel.GetEditText(item), mFont);
        break;
    }
    case GridEditWay::DropDown:
        mEditor = std::make_unique<CPropertyGridCombo>(mWindow, item, rect, mModel.GetDropDownOptions(item),
                                                       mModel.GetDropDownSelection(item), mFont, rowHeight);
        break;
    case GridEditWay::Calendar: {
        GridDateTime date;
        if (!mModel.GetItemValue(item, date)) {
            date = GridDateTime{};
            SYSTEMTIME today{};
            GetLocalTime(&today);
            date.year = today.wYear;
            date.month = today.wMonth;
            date.day = today.wDay;
        }
        mEditor = std::make_unique<CPropertyGridMonthCalCtrl>(mWindow, item, rect, Win32Support::ToSystemTime(date),
                                                              mFont);
        break;
    }
    case GridEditWay::Modal:
    case GridEditWay::None:
        break;
    }
    if (!mEditor || mEditor->GetHandle() == nullptr) {
        mEditor.reset();
        mModel.OnEditorClosed();
    }
}

void CPropertyGrid::CloseEditor()
{
    if (!mEditor) {
        return;
    }
    // An edit box hands its text back, which retires it; the lists just go.
    mEditor->Close();
    RetireEditor();
}

void CPropertyGrid::RunModalEditor(int item)
{
    const GridItem* row = mModel.FindItem(item);
    if (row == nullptr) {
        mModel.OnEditorClosed();
        return;
    }
    const HWND owner = GetAncestor(mWindow, GA_ROOT);
    const GridSettings& settings = mModel.GetSettings();
    bool accepted = false;
    GridValue result = row->mValue;
    switch (row->mKind) {
    case GridKind::Text: {
        CPropertyGridTextDialog dialog(owner, row->mName, row->mUndefined ? "" : std::get<std::string>(row->mValue),
                                       OkText(), CancelText());
        accepted = dialog.DoModal() == IDOK;
        result = dialog.GetText();
        break;
    }
    case GridKind::DateTime: {
        CPropertyGridDateTimeDialog dialog(owner, row->mName, std::get<GridDateTime>(row->mValue),
                                           settings.dateLabel, settings.timeLabel, OkText(), CancelText());
        accepted = dialog.DoModal() == IDOK;
        result = dialog.GetValue();
        break;
    }
    case GridKind::File: {
        std::string path = std::get<std::string>(row->mValue);
        accepted = PropertyGridChoosers::ChooseFile(owner, row->mOptions.empty() ? "" : row->mOptions[0], path);
        result = path;
        break;
    }
    case GridKind::Folder: {
        std::string path = std::get<std::string>(row->mValue);
        accepted = CPropertyGridDirectoryPicker().Pick(owner, path);
        result = path;
        break;
    }
    case GridKind::Color: {
        GridColor color = std::get<GridColor>(row->mValue);
        accepted = PropertyGridChoosers::ChooseColour(owner, mCustomColors, color);
        result = color;
        break;
    }
    case GridKind::Font: {
        GridFont font = std::get<GridFont>(row->mValue);
        accepted = PropertyGridChoosers::ChooseFontFor(owner, font);
        result = font;
        break;
    }
    case GridKind::Custom:
        accepted = std::get<std::shared_ptr<CPropertyGridCustomItem>>(row->mValue)->EditModal(owner);
        break;
    default:
        break;
    }
    // The row may have been refused or changed while the dialog ran; the model checks again.
    if (accepted && !mDestroying) {
        mModel.OnModalResult(item, result);
    } else {
        mModel.OnEditorClosed();
    }
}
