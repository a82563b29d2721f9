#include "ui/PropertyGeneral.h"

#include "params/Param.h"
#include "ui/PropertyControlAdapter.h"

#include <locale>
#include <sstream>

namespace {

const char LastFocusedItemName[] = "LastFocusedItemName";

// The name, and for enabled numbers their range ("[min..max]", doubles with
// 9 significant digits).
std::string NameWithRange(const Param_& param)
{
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << param.mName;
    const bool ranged = dynamic_cast<const Param<int>*>(&param) != nullptr ||
                        dynamic_cast<const Param<std::int64_t>*>(&param) != nullptr ||
                        dynamic_cast<const Param<double>*>(&param) != nullptr;
    if (param.mEnabled && ranged) {
        text.precision(9);
        text << " ";
        param.PrintRange(text);
    }
    return text.str();
}

}

CPropertyGeneral::CPropertyGeneral(CameraParameters& paramSet, CConfigurationSheet& sheet, CPropertyGridModel& grid,
                                   CPageLabels& labels)
    : mParamSet(paramSet), mSheet(sheet), mGrid(grid), mLabels(labels)
{
}

void CPropertyGeneral::SetUp()
{
    std::string selected;
    if (mParamSet.HasParam(LastFocusedItemName)) {
        auto* last = dynamic_cast<Param<std::string>*>(mParamSet.GetParam(LastFocusedItemName));
        selected = last != nullptr ? last->mValue : std::string();
    }
    for (const auto& param : mParamSet.GetParams()) {
        if (!param->mVisible) {
            continue;
        }
        auto section = mSections.find(param->mCategory);
        if (section == mSections.end()) {
            section = mSections.emplace(param->mCategory, mGrid.AddSection(param->mCategory)).first;
        }
        const int item = GetAdapter(*param)->CreateItem(*param, mGrid, section->second);
        mRows[item] = param->mName;
        if (!selected.empty() && param->mName == selected) {
            mGrid.SetFocusedItem(item);
        }
    }
    // The remembered row is focused, but the labels stay empty until the user selects one.
    OnSelectionChanged(-1);
}

Param_* CPropertyGeneral::ParamOfRow(int item) const
{
    const auto row = mRows.find(item);
    if (row == mRows.end() || !mParamSet.HasParam(row->second)) {
        return nullptr;
    }
    return mParamSet.GetParam(row->second);
}

void CPropertyGeneral::OnItemChanged(int item)
{
    Param_* param = ParamOfRow(item);
    if (param == nullptr) {
        return;
    }
    GetAdapter(*param)->SetParamFromItem(*param, mGrid, item);
    std::string error;
    const bool valid = mParamSet.Validate(error);
    mSheet.EnableOK(valid);
    if (valid) {
        mSheet.ClearStatus();
    } else {
        mSheet.ShowStatus(Caption, error);
    }
    // The constraints may have switched dependents on or off.
    for (const auto& [row, name] : mRows) {
        if (mParamSet.HasParam(name)) {
            mGrid.SetItemEditable(row, mParamSet.GetParam(name)->mEnabled);
        }
    }
}

void CPropertyGeneral::OnSelectionChanged(int item)
{
    mNameLabel.clear();
    mDescriptionLabel.clear();
    if (Param_* param = ParamOfRow(item)) {
        mNameLabel = NameWithRange(*param);
        mDescriptionLabel = param->mDescription;
        RememberSelection(param->mName);
    }
    mLabels.SetLabels(mNameLabel, mDescriptionLabel);
}

void CPropertyGeneral::RememberSelection(const std::string& name)
{
    if (mParamSet.HasParam(LastFocusedItemName)) {
        if (auto* last = dynamic_cast<Param<std::string>*>(mParamSet.GetParam(LastFocusedItemName))) {
            last->mValue = name;
        }
        return;
    }
    // The dialog's own entry: never a row, never in the settings file.
    auto last = std::make_unique<Param<std::string>>("Internal", LastFocusedItemName, name);
    last->mGeneral = true;
    last->mPersistent = false;
    last->mVisible = false;
    last->mEnabled = false;
    mParamSet.Add(std::move(last));
}
