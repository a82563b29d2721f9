#include "ui/PropertyGridModel.h"

#include "ui/GridDateText.h"
#include "ui/PropertyGridCustomItem.h"

#include <algorithm>
#include <climits>

CPropertyGridModel::CPropertyGridModel() : mDateFormatter(GridDateText::FormatIso)
{
}

GridItem* CPropertyGridModel::Item(int item)
{
    const auto found = mItems.find(item);
    return found != mItems.end() ? found->second : nullptr;
}

const GridItem* CPropertyGridModel::FindItem(int item) const
{
    const auto found = mItems.find(item);
    return found != mItems.end() ? found->second : nullptr;
}

GridSection* CPropertyGridModel::Section(int section)
{
    for (const auto& candidate : mSections) {
        if (candidate->mId == section) {
            return candidate.get();
        }
    }
    return nullptr;
}

const GridSection* CPropertyGridModel::FindSection(int section) const
{
    return const_cast<CPropertyGridModel*>(this)->Section(section);
}

void CPropertyGridModel::Repaint()
{
    if (mView != nullptr) {
        mView->Redraw();
    }
}

void CPropertyGridModel::Changed()
{
    InvalidateEntries();
    ScrollTo(mScrollPos);
    if (mView != nullptr) {
        mView->ScrollChanged();
    }
    Repaint();
}

void CPropertyGridModel::NotifyItemChanged(int item)
{
    if (mListener != nullptr) {
        mListener->OnItemChanged(item);
    }
}

void CPropertyGridModel::NotifySelection()
{
    if (mListener != nullptr) {
        mListener->OnSelectionChanged(GetFocusedItem());
    }
}

int CPropertyGridModel::AddSection(const std::string& name, bool collapsed, int before)
{
    if (mNextSectionId == INT_MAX) {
        return -1;
    }
    auto section = std::make_unique<GridSection>();
    section->mId = mNextSectionId++;
    section->mName = name;
    section->mCollapsed = collapsed;
    const int id = section->mId;
    const auto at = std::find_if(mSections.begin(), mSections.end(),
                                 [before](const std::unique_ptr<GridSection>& s) { return s->mId == before; });
    mSections.insert(at, std::move(section));
    Changed();
    return id;
}

int CPropertyGridModel::NewItem(int section, GridKind kind, const std::string& name, const GridValue& value,
                                bool enabled, bool undefined, std::vector<std::string> options)
{
    GridSection* owner = Section(section);
    if (owner == nullptr || !FitsKind(kind, value) || mNextItemId == INT_MAX) {
        return -1;
    }
    const bool taken = std::any_of(owner->mItems.begin(), owner->mItems.end(),
                                   [&name](const std::unique_ptr<GridItem>& item) { return item->mName == name; });
    if (taken) {
        return -1;
    }
    auto item = std::make_unique<GridItem>();
    item->mId = mNextItemId++;
    item->mSectionId = section;
    item->mKind = kind;
    item->mName = name;
    item->mEnabled = enabled;
    item->mUndefined = undefined;
    item->mValue = value;
    item->mOptions = std::move(options);
    item->mInitialValue = value;
    item->mInitialUndefined = undefined;
    const int id = item->mId;
    mItems[id] = item.get();
    owner->mItems.push_back(std::move(item));
    Changed();
    return id;
}

int CPropertyGridModel::AddItem(int section, GridKind kind, const std::string& name, const GridValue& value,
                                bool enabled, bool undefined, const std::vector<std::string>& options)
{
    return NewItem(section, kind, name, value, enabled, undefined, options);
}

int CPropertyGridModel::AddStringItem(int section, const std::string& name, const std::string& value, bool enabled,
                                      bool undefined)
{
    return NewItem(section, GridKind::String, name, value, enabled, undefined, {});
}

int CPropertyGridModel::AddTextItem(int section, const std::string& name, const std::string& value, bool enabled,
                                    bool undefined)
{
    return NewItem(section, GridKind::Text, name, value, enabled, undefined, {});
}

int CPropertyGridModel::AddIntegerItem(int section, const std::string& name, std::int32_t value,
                                       const std::string& format, bool enabled, bool undefined)
{
    return AddIntegerItem(section, name, static_cast<std::int64_t>(value), format, enabled, undefined);
}

int CPropertyGridModel::AddIntegerItem(int section, const std::string& name, std::uint32_t value,
                                       const std::string& format, bool enabled, bool undefined)
{
    return AddIntegerItem(section, name, static_cast<std::int64_t>(value), format, enabled, undefined);
}

int CPropertyGridModel::AddIntegerItem(int section, const std::string& name, std::int64_t value,
                                       const std::string& format, bool enabled, bool undefined)
{
    return NewItem(section, GridKind::Integer, name, value, enabled, undefined, {format});
}

int CPropertyGridModel::AddDoubleItem(int section, const std::string& name, double value, const std::string& format,
                                      bool enabled, bool undefined)
{
    return NewItem(section, GridKind::Double, name, value, enabled, undefined, {format});
}

int CPropertyGridModel::AddComboItem(int section, const std::string& name, const std::vector<std::string>& options,
                                     std::int64_t selected, bool enabled, bool undefined)
{
    return NewItem(section, GridKind::Combo, name, selected, enabled, undefined, options);
}

int CPropertyGridModel::AddBoolItem(int section, const std::string& name, bool value, bool enabled, bool undefined)
{
    return NewItem(section, GridKind::Bool, name, value, enabled, undefined, {});
}

int CPropertyGridModel::AddDateItem(int section, const std::string& name, const GridDateTime& value,
                                    const std::string& format, bool enabled, bool undefined)
{
    return NewItem(section, GridKind::Date, name, value, enabled, undefined, {format});
}

int CPropertyGridModel::AddDateTimeItem(int section, const std::string& name, const GridDateTime& value,
                                        const std::string& format, bool enabled, bool undefined)
{
    return NewItem(section, GridKind::DateTime, name, value, enabled, undefined, {format});
}

int CPropertyGridModel::AddFileItem(int section, const std::string& name, const std::string& path,
                                    const std::string& filter, bool enabled, bool undefined)
{
    return NewItem(section, GridKind::File, name, path, enabled, undefined, {filter});
}

int CPropertyGridModel::AddFolderItem(int section, const std::string& name, const std::string& path, bool enabled,
                                      bool undefined)
{
    return NewItem(section, GridKind::Folder, name, path, enabled, undefined, {});
}

int CPropertyGridModel::AddColorItem(int section, const std::string& name, const GridColor& value, bool enabled,
                                     bool undefined)
{
    return NewItem(section, GridKind::Color, name, value, enabled, undefined, {});
}

int CPropertyGridModel::AddFontItem(int section, const std::string& name, const GridFont& value, bool enabled,
                                    bool undefined)
{
    return NewItem(section, GridKind::Font, name, value, enabled, undefined, {});
}

int CPropertyGridModel::AddCustomItem(int section, const std::string& name,
                                      std::shared_ptr<CPropertyGridCustomItem> value, bool enabled, bool undefined)
{
    return NewItem(section, GridKind::Custom, name, GridValue(std::move(value)), enabled, undefined, {});
}

namespace {

bool IsTextKind(const GridItem& item)
{
    return item.mKind == GridKind::String || item.mKind == GridKind::Text || item.mKind == GridKind::File ||
           item.mKind == GridKind::Folder;
}

bool IsIntegerKind(const GridItem& item)
{
    return item.mKind == GridKind::Integer || item.mKind == GridKind::Combo;
}

template <GridKind... Kinds>
bool IsKind(const GridItem& item)
{
    return ((item.mKind == Kinds) || ...);
}

}

bool CPropertyGridModel::GetItemValue(int item, std::string& value) const
{
    const GridItem* row = FindItem(item);
    if (row == nullptr || row->mUndefined) {
        return false;
    }
    if (IsTextKind(*row)) {
        value = std::get<std::string>(row->mValue);
        return true;
    }
    if (row->mKind == GridKind::Combo) {
        const std::int64_t index = std::get<std::int64_t>(row->mValue);
        if (index < 0 || index >= static_cast<std::int64_t>(row->mOptions.size())) {
            return false;
        }
        value = row->mOptions[static_cast<std::size_t>(index)];
        return true;
    }
    return false;
}

bool CPropertyGridModel::GetItemValue(int item, std::int64_t& value) const
{
    const GridItem* row = FindItem(item);
    if (row == nullptr || row->mUndefined || !IsIntegerKind(*row)) {
        return false;
    }
    value = std::get<std::int64_t>(row->mValue);
    return true;
}

bool CPropertyGridModel::GetItemValue(int item, std::int32_t& value) const
{
    std::int64_t wide = 0;
    if (!GetItemValue(item, wide)) {
        return false;
    }
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide)));
    return true;
}

bool CPropertyGridModel::GetItemValue(int item, std::uint32_t& value) const
{
    std::int64_t wide = 0;
    if (!GetItemValue(item, wide)) {
        return false;
    }
    value = static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide));
    return true;
}

namespace {

template <typename T>
bool Read(const GridItem* row, bool (*fits)(const GridItem&), T& value)
{
    if (row == nullptr || row->mUndefined || !fits(*row)) {
        return false;
    }
    value = std::get<T>(row->mValue);
    return true;
}

}

bool CPropertyGridModel::GetItemValue(int item, double& value) const
{
    return Read(FindItem(item), IsKind<GridKind::Double>, value);
}

bool CPropertyGridModel::GetItemValue(int item, bool& value) const
{
    return Read(FindItem(item), IsKind<GridKind::Bool>, value);
}

bool CPropertyGridModel::GetItemValue(int item, GridDateTime& value) const
{
    return Read(FindItem(item), IsKind<GridKind::Date, GridKind::DateTime>, value);
}

bool CPropertyGridModel::GetItemValue(int item, GridColor& value) const
{
    return Read(FindItem(item), IsKind<GridKind::Color>, value);
}

bool CPropertyGridModel::GetItemValue(int item, GridFont& value) const
{
    return Read(FindItem(item), IsKind<GridKind::Font>, value);
}

template <typename T>
bool CPropertyGridModel::Store(int item, const T& value, bool (*fits)(const GridItem&))
{
    GridItem* row = Item(item);
    if (row == nullptr || !fits(*row) || !FitsKind(row->mKind, GridValue(value))) {
        return false;
    }
    row->mValue = value;
    row->mUndefined = false;
    Repaint();
    return true;
}

bool CPropertyGridModel::SetItemValue(int item, const std::string& value)
{
    GridItem* row = Item(item);
    if (row != nullptr && row->mKind == GridKind::Combo) {
        const auto found = std::find(row->mOptions.begin(), row->mOptions.end(), value);
        if (found == row->mOptions.end()) {
            return false;
        }
        return Store(item, static_cast<std::int64_t>(found - row->mOptions.begin()), IsIntegerKind);
    }
    return Store(item, value, IsTextKind);
}

bool CPropertyGridModel::SetItemValue(int item, const char* value)
{
    return value != nullptr && SetItemValue(item, std::string(value));
}

bool CPropertyGridModel::SetItemValue(int item, std::int32_t value)
{
    return SetItemValue(item, static_cast<std::int64_t>(value));
}

bool CPropertyGridModel::SetItemValue(int item, std::uint32_t value)
{
    return SetItemValue(item, static_cast<std::int64_t>(value));
}

bool CPropertyGridModel::SetItemValue(int item, std::int64_t value)
{
    return Store(item, value, IsIntegerKind);
}

bool CPropertyGridModel::SetItemValue(int item, double value)
{
    return Store(item, value, IsKind<GridKind::Double>);
}

bool CPropertyGridModel::SetItemValue(int item, bool value)
{
    return Store(item, value, IsKind<GridKind::Bool>);
}

bool CPropertyGridModel::SetItemValue(int item, const GridDateTime& value)
{
    return Store(item, value, IsKind<GridKind::Date, GridKind::DateTime>);
}

bool CPropertyGridModel::SetItemValue(int item, const GridColor& value)
{
    return Store(item, value, IsKind<GridKind::Color>);
}

bool CPropertyGridModel::SetItemValue(int item, const GridFont& value)
{
    return Store(item, value, IsKind<GridKind::Font>);
}

bool CPropertyGridModel::SetItemEditable(int item, bool enabled)
{
    GridItem* row = Item(item);
    if (row == nullptr) {
        return false;
    }
    if (row->mEnabled != enabled) {
        row->mEnabled = enabled;
        // An editor open on a row that becomes read-only must not store anything.
        if (!enabled && mEditorItem == item) {
            CloseEditor();
        }
        Repaint();
    }
    return true;
}

bool CPropertyGridModel::IsItemChanged(int item) const
{
    const GridItem* row = FindItem(item);
    return row != nullptr && row->IsChanged();
}

bool CPropertyGridModel::IsItemBold(int item) const
{
    const GridItem* row = FindItem(item);
    if (row == nullptr) {
        return false;
    }
    if (mSettings.boldModified && row->IsChanged()) {
        return true;
    }
    return mSettings.boldEditables && row->mEnabled;
}

void CPropertyGridModel::SetSettings(const GridSettings& settings)
{
    mSettings = settings;
    // The flat list has no titles to keep the focus on.
    if (mSettings.displayMode == GridDisplayMode::Flat && mFocus.mIsSection) {
        mFocus = GridEntry{};
    }
    Changed();
}

void CPropertyGridModel::SetDisplayMode(GridDisplayMode mode)
{
    GridSettings settings = mSettings;
    settings.displayMode = mode;
    SetSettings(settings);
}

void CPropertyGridModel::SetDateFormatter(std::function<std::string(const GridDateTime&, bool)> formatter)
{
    mDateFormatter = formatter ? std::move(formatter) : GridDateText::FormatIso;
    Repaint();
}
