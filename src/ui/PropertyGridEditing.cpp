// The values as the grid shows them, and how the editors' results are stored.
#include "ui/PropertyGridModel.h"

#include "ui/GridDateText.h"
#include "ui/GridNumberText.h"
#include "ui/PropertyGridCustomItem.h"

#include <cstdio>

namespace {

// The Windows-1252 pilcrow sign stands for each line break of a text row.
constexpr char Pilcrow = '\xB6';

std::string ShowLineBreaks(const std::string& text)
{
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') {
            shown.push_back(Pilcrow);
            ++at;
        } else {
            shown.push_back(text[at]);
        }
    }
    return shown;
}

CPropertyGridCustomItem& CustomOf(const GridItem& item)
{
    return *std::get<std::shared_ptr<CPropertyGridCustomItem>>(item.mValue);
}

}

std::string CPropertyGridModel::GetItemText(int item) const
{
    const GridItem* row = FindItem(item);
    if (row == nullptr) {
        return {};
    }
    if (row->mUndefined) {
        return mSettings.undefinedText;
    }
    const GridValue& value = row->mValue;
    switch (row->mKind) {
    case GridKind::String:
    case GridKind::File:
    case GridKind::Folder:
        return std::get<std::string>(value);
    case GridKind::Text:
        return ShowLineBreaks(std::get<std::string>(value));
    case GridKind::Integer:
        return GridNumberText::FormatInteger(row->Format(), std::get<std::int64_t>(value));
    case GridKind::Double:
        return GridNumberText::FormatDouble(row->Format(), std::get<double>(value));
    case GridKind::Combo: {
        std::string text;
        GetItemValue(item, text);
        return text;
    }
    case GridKind::Bool:
        return std::get<bool>(value) ? mSettings.trueText : mSettings.falseText;
    case GridKind::Date:
    case GridKind::DateTime: {
        const GridDateTime& date = std::get<GridDateTime>(value);
        const std::string format = row->Format();
        return format.empty() ? mDateFormatter(date, row->mKind == GridKind::DateTime)
                              : GridDateText::Format(format, date);
    }
    case GridKind::Color: {
        const GridColor& color = std::get<GridColor>(value);
        char text[32];
        std::snprintf(text, sizeof text, "%d; %d; %d", color.red, color.green, color.blue);
        return text;
    }
    case GridKind::Font: {
        const GridFont& font = std::get<GridFont>(value);
        return font.faceName + "; " + std::to_string((font.pointSizeTenths + 5) / 10) + "pt";
    }
    case GridKind::Custom:
        return CustomOf(*row).GetDisplayText();
    }
    return {};
}

std::string CPropertyGridModel::GetEditText(int item) const
{
    const GridItem* row = FindItem(item);
    if (row == nullptr) {
        return {};
    }
    switch (row->mKind) {
    case GridKind::Integer:
        return row->mUndefined ? std::string() : GridNumberText::FormatInteger("%I64d", std::get<std::int64_t>(row->mValue));
    case GridKind::Double:
        return row->mUndefined ? std::string() : GridNumberText::FormatDouble("%.7g", std::get<double>(row->mValue));
    case GridKind::Custom:
        return CustomOf(*row).GetEditText();
    default:
        return row->mUndefined ? std::string() : GetItemText(item);
    }
}

std::vector<std::string> CPropertyGridModel::GetDropDownOptions(int item) const
{
    const GridItem* row = FindItem(item);
    if (row == nullptr) {
        return {};
    }
    switch (row->mKind) {
    case GridKind::Combo:
        return row->mOptions;
    case GridKind::Bool:
        return {mSettings.trueText, mSettings.falseText};
    case GridKind::Custom:
        return CustomOf(*row).GetOptions();
    default:
        return {};
    }
}

int CPropertyGridModel::GetDropDownSelection(int item) const
{
    const GridItem* row = FindItem(item);
    if (row == nullptr || row->mUndefined) {
        return -1;
    }
    switch (row->mKind) {
    case GridKind::Combo: {
        const std::int64_t index = std::get<std::int64_t>(row->mValue);
        return index >= 0 && index < static_cast<std::int64_t>(row->mOptions.size()) ? static_cast<int>(index) : -1;
    }
    case GridKind::Bool:
        return std::get<bool>(row->mValue) ? 0 : 1;
    case GridKind::Custom:
        return CustomOf(*row).GetSelectedOption();
    default:
        return -1;
    }
}

bool CPropertyGridModel::OpenEditor(int item)
{
    GridItem* row = Item(item);
    if (row == nullptr || !row->mEnabled) {
        return false;
    }
    const GridEditWay way = row->EditWay();
    if (way == GridEditWay::None) {
        return false;
    }
    CloseEditor();
    mEditorItem = item;
    if (mView != nullptr) {
        mView->OpenEditor(item, way);
    }
    return true;
}

void CPropertyGridModel::CloseEditor()
{
    if (mEditorItem < 0) {
        return;
    }
    // Cleared first: an edit box hands back its text while it closes.
    mEditorItem = -1;
    if (mView != nullptr) {
        mView->CloseEditor();
    }
}

void CPropertyGridModel::OnEditorClosed()
{
    mEditorItem = -1;
}

void CPropertyGridModel::EditorReported(int item)
{
    // The editor that reports is closing by itself; any other one is closed.
    if (mEditorItem == item) {
        mEditorItem = -1;
    }
}

void CPropertyGridModel::StoreUserValue(GridItem& item, const GridValue& value)
{
    const int id = item.mId;
    CloseEditor();
    // The editor's closing may have reached the owner, who may have changed
    // the grid: the row is looked up again.
    GridItem* row = Item(id);
    if (row == nullptr) {
        return;
    }
    if (row->mKind != GridKind::Custom) {
        row->mValue = value;
    }
    row->mUndefined = false;
    Repaint();
    NotifyItemChanged(id);
}

void CPropertyGridModel::ToggleOrCycle(GridItem& item)
{
    if (!item.mEnabled || item.mUndefined) {
        return;
    }
    if (item.mKind == GridKind::Bool) {
        StoreUserValue(item, !std::get<bool>(item.mValue));
        return;
    }
    const auto count = static_cast<std::int64_t>(item.mOptions.size());
    if (count == 0) {
        return;
    }
    const std::int64_t index = std::get<std::int64_t>(item.mValue);
    StoreUserValue(item, index >= 0 && index < count - 1 ? index + 1 : std::int64_t{0});
}

void CPropertyGridModel::OnEditBoxText(int item, const std::string& text)
{
    EditorReported(item);
    GridItem* row = Item(item);
    if (row == nullptr || !row->mEnabled || row->EditWay() != GridEditWay::EditBox) {
        return;
    }
    switch (row->mKind) {
    case GridKind::String:
        StoreUserValue(*row, text);
        break;
    case GridKind::Integer:
        if (!text.empty()) {
            StoreUserValue(*row, GridNumberText::ParseInteger(text));
        }
        break;
    case GridKind::Double:
        if (text.empty()) {
            break;
        }
        if (!row->mUndefined && text == GetEditText(item)) {
            // The box came back as it was prefilled: the row keeps its exact
            // value rather than the 7 digits it showed.
            StoreUserValue(*row, row->mValue);
        } else {
            StoreUserValue(*row, GridNumberText::ParseDouble(text));
        }
        break;
    case GridKind::Custom:
        if (CustomOf(*row).SetEditText(text)) {
            StoreUserValue(*row, row->mValue);
        }
        break;
    default:
        break;
    }
}

void CPropertyGridModel::OnDropDownChoice(int item, int index)
{
    EditorReported(item);
    GridItem* row = Item(item);
    if (row == nullptr || !row->mEnabled || row->EditWay() != GridEditWay::DropDown || index < 0 ||
        index >= static_cast<int>(GetDropDownOptions(item).size())) {
        return;
    }
    switch (row->mKind) {
    case GridKind::Combo:
        StoreUserValue(*row, static_cast<std::int64_t>(index));
        break;
    case GridKind::Bool:
        StoreUserValue(*row, index == 0);
        break;
    case GridKind::Custom:
        if (CustomOf(*row).ChooseOption(index)) {
            StoreUserValue(*row, row->mValue);
        }
        break;
    default:
        break;
    }
}

void CPropertyGridModel::OnCalendarChoice(int item, const GridDateTime& date)
{
    EditorReported(item);
    GridItem* row = Item(item);
    if (row == nullptr || !row->mEnabled || row->mKind != GridKind::Date || !IsValidDate(date)) {
        return;
    }
    // The calendar picks a day; the row keeps its time of day.
    GridDateTime chosen = std::get<GridDateTime>(row->mValue);
    chosen.year = date.year;
    chosen.month = date.month;
    chosen.day = date.day;
    StoreUserValue(*row, chosen);
}

void CPropertyGridModel::OnModalResult(int item, const GridValue& value)
{
    EditorReported(item);
    GridItem* row = Item(item);
    if (row == nullptr || !row->mEnabled || row->EditWay() != GridEditWay::Modal) {
        return;
    }
    if (row->mKind == GridKind::Custom || FitsKind(row->mKind, value)) {
        StoreUserValue(*row, value);
    }
}
