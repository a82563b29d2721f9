// The grid's geometry, and what the mouse, the scroll bar and the wheel do.
#include "ui/PropertyGridModel.h"

#include <algorithm>
#include <cstdlib>

namespace {

// How close to the column divider a press grabs it.
constexpr int DividerGrip = 2;
// Wheel units per notch, and rows per notch.
constexpr int WheelNotch = 120;
constexpr int RowsPerNotch = 3;

}

void CPropertyGridModel::SetRowHeight(int height)
{
    mRowHeight = std::max(height, 1);
    Changed();
}

void CPropertyGridModel::SetClientSize(int width, int height)
{
    mClientWidth = std::max(width, 0);
    mClientHeight = std::max(height, 0);
    if (!mDividerPlaced) {
        mDividerX = mClientWidth / 2;
        mDividerPlaced = mClientWidth > 0;
    } else {
        mDividerX = std::clamp(mDividerX, mClientWidth / 5, mClientWidth * 4 / 5);
    }
    Changed();
}

int CPropertyGridModel::GetContentHeight() const
{
    return static_cast<int>(GetEntries().size()) * mRowHeight;
}

void CPropertyGridModel::ScrollTo(int position)
{
    const int limit = std::max(GetContentHeight() - mClientHeight, 0);
    position = std::clamp(position, 0, limit);
    if (position != mScrollPos) {
        mScrollPos = position;
        if (mView != nullptr) {
            mView->ScrollChanged();
        }
        Repaint();
    }
}

int CPropertyGridModel::GetIndent() const
{
    // Rows sit under their title's expand sign; the flat list has no signs.
    return mSettings.displayMode == GridDisplayMode::Sections ? mRowHeight : 4;
}

GridRect CPropertyGridModel::GetSignRect(int entry) const
{
    const int top = GetEntryTop(entry);
    return GridRect{0, top, mRowHeight, top + mRowHeight};
}

GridRect CPropertyGridModel::GetButtonRect() const
{
    const GridItem* item = FindItem(GetFocusedItem());
    const int entry = FocusedEntry();
    if (item == nullptr || entry < 0 || !item->mEnabled) {
        return GridRect{};
    }
    const int top = GetEntryTop(entry);
    switch (item->EditWay()) {
    case GridEditWay::EditBox:
        // The whole value column, clear of the divider's grip.
        return GridRect{mDividerX + DividerGrip + 1, top, mClientWidth, top + mRowHeight};
    case GridEditWay::DropDown:
    case GridEditWay::Calendar:
    case GridEditWay::Modal:
        return GridRect{std::max(mClientWidth - mRowHeight, mDividerX + DividerGrip + 1), top, mClientWidth,
                        top + mRowHeight};
    case GridEditWay::None:
        break;
    }
    return GridRect{};
}

GridHit CPropertyGridModel::HitTest(int x, int y) const
{
    GridHit hit;
    if (x < 0 || x >= mClientWidth || y < 0 || y >= mClientHeight) {
        return hit;
    }
    const int entry = (y + mScrollPos) / mRowHeight;
    const std::vector<GridEntry>& entries = GetEntries();
    if (entry >= static_cast<int>(entries.size())) {
        return hit;
    }
    hit.mEntry = entry;
    if (entries[static_cast<std::size_t>(entry)].mIsSection) {
        hit.mPart = x < mRowHeight ? GridHit::Sign : GridHit::Title;
    } else {
        hit.mPart = x < mDividerX ? GridHit::Name : GridHit::Value;
    }
    return hit;
}

GridCursor CPropertyGridModel::CursorAt(int x, int /*y*/) const
{
    if (mDragging || (mEditorItem < 0 && std::abs(x - mDividerX) <= DividerGrip)) {
        return GridCursor::SizeWestEast;
    }
    return GridCursor::Arrow;
}

void CPropertyGridModel::OnMouseDown(int x, int y)
{
    CloseEditor();
    mPress = Press::None;
    if (GetButtonRect().Contains(x, y)) {
        mPress = Press::Button;
        mPressItem = GetFocusedItem();
        Repaint();
        return;
    }
    if (std::abs(x - mDividerX) <= DividerGrip && x >= 0 && x < mClientWidth) {
        mDragging = true;
        return;
    }
    const GridEntry before = mFocus;
    mFocus = GridEntry{};
    const GridHit hit = HitTest(x, y);
    if (hit.mEntry >= 0) {
        const GridEntry entry = GetEntries()[static_cast<std::size_t>(hit.mEntry)];
        if (entry.mIsSection) {
            // The expand sign toggles; either way the title takes the focus.
            mFocus = entry;
            if (hit.mPart == GridHit::Sign) {
                GridSection* section = Section(entry.mId);
                Collapse(*section, !section->mCollapsed);
            }
        } else if (IsFocusable(entry)) {
            mFocus = entry;
            const GridEditWay way = FindItem(entry.mId)->EditWay();
            if (hit.mPart == GridHit::Value && (way == GridEditWay::EditBox || way == GridEditWay::DropDown ||
                                                way == GridEditWay::Calendar)) {
                mPress = Press::Value;
                mPressItem = entry.mId;
            }
        }
    }
    Repaint();
    if (before.mIsSection != mFocus.mIsSection || before.mId != mFocus.mId) {
        NotifySelection();
    }
}

void CPropertyGridModel::OnMouseUp(int x, int y)
{
    if (mDragging) {
        mDragging = false;
        return;
    }
    const Press press = mPress;
    const int pressed = mPressItem;
    mPress = Press::None;
    mPressItem = -1;
    if (press == Press::None) {
        return;
    }
    Repaint();
    bool over = false;
    if (press == Press::Button) {
        over = GetFocusedItem() == pressed && GetButtonRect().Contains(x, y);
    } else {
        const GridHit hit = HitTest(x, y);
        over = hit.mPart == GridHit::Value && !GetEntries()[static_cast<std::size_t>(hit.mEntry)].mIsSection &&
               GetEntries()[static_cast<std::size_t>(hit.mEntry)].mId == pressed;
    }
    if (over) {
        OpenEditor(pressed);
    }
}

GridCursor CPropertyGridModel::OnMouseMove(int x, int y)
{
    if (mDragging && mClientWidth > 0) {
        const int position = std::clamp(x, mClientWidth / 5, mClientWidth * 4 / 5);
        if (position != mDividerX) {
            mDividerX = position;
            Repaint();
        }
    }
    return CursorAt(x, y);
}

void CPropertyGridModel::OnDoubleClick(int x, int y)
{
    CloseEditor();
    const GridHit hit = HitTest(x, y);
    if (hit.mEntry < 0 || hit.mEntry != FocusedEntry()) {
        return;
    }
    if (mFocus.mIsSection) {
        GridSection* section = Section(mFocus.mId);
        Collapse(*section, !section->mCollapsed);
        return;
    }
    GridItem* item = Item(mFocus.mId);
    if (item->mKind == GridKind::Bool || item->mKind == GridKind::Combo) {
        ToggleOrCycle(*item);
    } else if (item->EditWay() == GridEditWay::Modal) {
        OpenEditor(item->mId);
    }
}

void CPropertyGridModel::OnScroll(GridScrollAction action, int thumb)
{
    switch (action) {
    case GridScrollAction::LineUp:
        ScrollTo(mScrollPos - mRowHeight);
        break;
    case GridScrollAction::LineDown:
        ScrollTo(mScrollPos + mRowHeight);
        break;
    case GridScrollAction::PageUp:
        ScrollTo(mScrollPos - mClientHeight);
        break;
    case GridScrollAction::PageDown:
        ScrollTo(mScrollPos + mClientHeight);
        break;
    case GridScrollAction::Top:
        ScrollTo(0);
        break;
    case GridScrollAction::Bottom:
        ScrollTo(GetContentHeight());
        break;
    case GridScrollAction::Thumb:
        ScrollTo(thumb);
        break;
    }
}

void CPropertyGridModel::OnWheel(int delta)
{
    // Fine-grained wheels send less than a notch at a time; the rest is kept.
    mWheelRest += delta;
    const int notches = mWheelRest / WheelNotch;
    mWheelRest -= notches * WheelNotch;
    if (notches != 0) {
        ScrollTo(mScrollPos - notches * RowsPerNotch * mRowHeight);
    }
}
