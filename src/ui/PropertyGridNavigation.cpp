// The display order of the grid and how the focus moves through it.
#include "ui/PropertyGridModel.h"

#include <algorithm>

void CPropertyGridModel::InvalidateEntries()
{
    mEntriesValid = false;
}

const std::vector<GridEntry>& CPropertyGridModel::GetEntries() const
{
    if (mEntriesValid) {
        return mEntries;
    }
    mEntries.clear();
    if (mSettings.displayMode == GridDisplayMode::Sections) {
        for (const auto& section : mSections) {
            mEntries.push_back(GridEntry{true, section->mId});
            if (!section->mCollapsed) {
                for (const auto& item : section->mItems) {
                    mEntries.push_back(GridEntry{false, item->mId});
                }
            }
        }
    } else {
        std::vector<const GridItem*> items;
        for (const auto& section : mSections) {
            for (const auto& item : section->mItems) {
                items.push_back(item.get());
            }
        }
        // std::string compares its characters as unsigned bytes; equal names
        // keep their section order.
        std::stable_sort(items.begin(), items.end(),
                         [](const GridItem* a, const GridItem* b) { return a->mName < b->mName; });
        for (const GridItem* item : items) {
            mEntries.push_back(GridEntry{false, item->mId});
        }
    }
    mEntriesValid = true;
    return mEntries;
}

int CPropertyGridModel::FocusedEntry() const
{
    if (mFocus.mId < 0) {
        return -1;
    }
    const std::vector<GridEntry>& entries = GetEntries();
    for (std::size_t at = 0; at < entries.size(); ++at) {
        if (entries[at].mIsSection == mFocus.mIsSection && entries[at].mId == mFocus.mId) {
            return static_cast<int>(at);
        }
    }
    return -1;
}

int CPropertyGridModel::GetFocusedItem() const
{
    return mFocus.mIsSection ? -1 : mFocus.mId;
}

int CPropertyGridModel::GetFocusedSection() const
{
    return mFocus.mIsSection ? mFocus.mId : -1;
}

bool CPropertyGridModel::IsFocusable(const GridEntry& entry) const
{
    if (entry.mIsSection) {
        return true;
    }
    const GridItem* item = FindItem(entry.mId);
    return item != nullptr && (item->mEnabled || mSettings.focusDisabled);
}

// Returns true when the focus moved; the caller sends the notification.
bool CPropertyGridModel::SetFocus(const GridEntry& entry)
{
    if (entry.mIsSection == mFocus.mIsSection && entry.mId == mFocus.mId) {
        return false;
    }
    mFocus = entry;
    Repaint();
    return true;
}

void CPropertyGridModel::ClearFocus()
{
    SetFocus(GridEntry{});
}

bool CPropertyGridModel::SetFocusedItem(int item)
{
    GridItem* row = Item(item);
    if (row == nullptr) {
        return false;
    }
    CloseEditor();
    GridSection* section = Section(row->mSectionId);
    if (section->mCollapsed && mSettings.displayMode == GridDisplayMode::Sections) {
        Collapse(*section, false);
    }
    SetFocus(GridEntry{false, item});
    NotifySelection();
    EnsureVisible(FocusedEntry());
    return true;
}

void CPropertyGridModel::MoveFocus(int step)
{
    const std::vector<GridEntry>& entries = GetEntries();
    const int count = static_cast<int>(entries.size());
    if (count == 0) {
        return;
    }
    const int current = FocusedEntry();
    // Without a focus, Down starts at the first entry and Up at the last.
    int at = current >= 0 ? current : (step > 0 ? count - 1 : 0);
    for (int tried = 0; tried < count; ++tried) {
        at = (at + step + count) % count;
        if (IsFocusable(entries[static_cast<std::size_t>(at)])) {
            const GridEntry target = entries[static_cast<std::size_t>(at)];
            CloseEditor();
            if (SetFocus(target)) {
                NotifySelection();
            }
            EnsureVisible(at);
            return;
        }
    }
}

void CPropertyGridModel::Collapse(GridSection& section, bool collapsed)
{
    if (section.mCollapsed == collapsed) {
        return;
    }
    section.mCollapsed = collapsed;
    // A row that disappears gives the focus to its title, and its editor closes.
    bool focusMoved = false;
    if (collapsed && mSettings.displayMode == GridDisplayMode::Sections) {
        const GridItem* focused = FindItem(GetFocusedItem());
        if (focused != nullptr && focused->mSectionId == section.mId) {
            focusMoved = SetFocus(GridEntry{true, section.mId});
        }
        const GridItem* edited = FindItem(mEditorItem);
        if (edited != nullptr && edited->mSectionId == section.mId) {
            CloseEditor();
        }
    }
    Changed();
    if (focusMoved) {
        NotifySelection();
    }
}

bool CPropertyGridModel::SetSectionCollapsed(int section, bool collapsed)
{
    GridSection* found = Section(section);
    if (found == nullptr) {
        return false;
    }
    Collapse(*found, collapsed);
    return true;
}

void CPropertyGridModel::OnKeyDown(GridKey key)
{
    GridSection* section = Section(GetFocusedSection());
    switch (key) {
    case GridKey::Down:
        MoveFocus(1);
        break;
    case GridKey::Up:
        MoveFocus(-1);
        break;
    case GridKey::Left:
        if (section != nullptr && !section->mCollapsed) {
            Collapse(*section, true);
        } else {
            MoveFocus(-1);
        }
        break;
    case GridKey::Right:
        if (section != nullptr && section->mCollapsed) {
            Collapse(*section, false);
        } else {
            MoveFocus(1);
        }
        break;
    case GridKey::Edit:
        OpenEditor(GetFocusedItem());
        break;
    }
}

void CPropertyGridModel::OnChar(char c)
{
    GridSection* focused = Section(GetFocusedSection());
    switch (c) {
    case '+':
    case '-':
        if (focused != nullptr) {
            Collapse(*focused, c == '-');
        }
        break;
    case '*':
    case '/':
        for (const auto& section : mSections) {
            Collapse(*section, c == '/');
        }
        break;
    default:
        break;
    }
}

void CPropertyGridModel::EnsureVisible(int entry)
{
    if (entry < 0) {
        return;
    }
    const int top = entry * mRowHeight;
    int position = mScrollPos;
    if (top < position) {
        position = top;
    } else if (top + mRowHeight > position + mClientHeight) {
        position = top + mRowHeight - mClientHeight;
    }
    ScrollTo(position);
}
