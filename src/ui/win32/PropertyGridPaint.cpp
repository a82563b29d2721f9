// How the grid draws its model: off screen, then in one piece.
#include "ui/win32/PropertyGrid.h"

#include "ui/PropertyGridCustomItem.h"

#include <algorithm>

namespace {

// A GDI object selected into a device context for one scope.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : mDc(dc), mOld(SelectObject(dc, object)) {}
    ~Selected() { SelectObject(mDc, mOld); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC mDc;
    HGDIOBJ mOld;
};

// A GDI object this code created, deleted at the end of the scope.
template <typename T>
class Owned {
public:
    explicit Owned(T object) : mObject(object) {}
    ~Owned()
    {
        if (mObject != nullptr) {
            DeleteObject(mObject);
        }
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    T Get() const { return mObject; }

private:
    T mObject;
};

void Fill(HDC dc, const RECT& rect, int colorIndex)
{
    FillRect(dc, &rect, GetSysColorBrush(colorIndex));
}

void Line(HDC dc, int x1, int y1, int x2, int y2)
{
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void Text(HDC dc, const std::string& text, RECT rect, UINT extra = DT_END_ELLIPSIS)
{
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | extra);
}

RECT ToRect(const GridRect& rect)
{
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

}

void CPropertyGrid::OnPaint()
{
    PAINTSTRUCT paint{};
    const HDC target = BeginPaint(mWindow, &paint);
    RECT client{};
    GetClientRect(mWindow, &client);
    const HDC dc = CreateCompatibleDC(target);
    Owned<HBITMAP> bitmap(CreateCompatibleBitmap(target, client.right, client.bottom));
    if (dc != nullptr && bitmap.Get() != nullptr) {
        {
            Selected selectBitmap(dc, bitmap.Get());
            Paint(dc);
            BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
        }
    } else {
        Paint(target);
    }
    if (dc != nullptr) {
        DeleteDC(dc);
    }
    EndPaint(mWindow, &paint);
}

void CPropertyGrid::Paint(HDC dc)
{
    const int width = mModel.GetClientWidth();
    const int height = mModel.GetClientHeight();
    Fill(dc, RECT{0, 0, width, height}, COLOR_WINDOW);
    Selected font(dc, mFont);
    SetBkMode(dc, TRANSPARENT);

    if (mModel.GetSections().empty()) {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        Text(dc, mModel.GetSettings().emptyMessage,
             RECT{0, mModel.GetRowHeight() / 2, width, mModel.GetRowHeight() * 3 / 2}, DT_CENTER | DT_END_ELLIPSIS);
        return;
    }
    const std::vector<GridEntry>& entries = mModel.GetEntries();
    const int rowHeight = mModel.GetRowHeight();
    const int first = mModel.GetScrollPos() / rowHeight;
    const GridEntry focus{mModel.GetFocusedSection() >= 0, mModel.GetFocusedSection() >= 0
                                                               ? mModel.GetFocusedSection()
                                                               : mModel.GetFocusedItem()};
    for (int entry = first; entry < static_cast<int>(entries.size()); ++entry) {
        if (mModel.GetEntryTop(entry) >= height) {
            break;
        }
        const GridEntry& at = entries[static_cast<std::size_t>(entry)];
        const bool focused = at.mIsSection == focus.mIsSection && at.mId == focus.mId;
        if (at.mIsSection) {
            PaintSection(dc, *mModel.FindSection(at.mId), entry, focused);
        } else {
            PaintItem(dc, *mModel.FindItem(at.mId), entry, focused);
        }
    }
}

void CPropertyGrid::PaintSection(HDC dc, const GridSection& section, int entry, bool focused)
{
    const GridSettings& settings = mModel.GetSettings();
    const int width = mModel.GetClientWidth();
    const int rowHeight = mModel.GetRowHeight();
    const int top = mModel.GetEntryTop(entry);
    const RECT row{0, top, width, top + rowHeight};
    Fill(dc, row, settings.shadeTitles ? COLOR_BTNFACE : COLOR_WINDOW);

    // The expand sign: a small box with a minus, and a plus when collapsed.
    const int size = (rowHeight - 6) | 1;
    const int left = (rowHeight - size) / 2;
    const int boxTop = top + (rowHeight - size) / 2;
    {
        Owned<HPEN> pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_GRAYTEXT)));
        Selected selectPen(dc, pen.Get());
        Selected selectBrush(dc, GetSysColorBrush(COLOR_WINDOW));
        Rectangle(dc, left, boxTop, left + size, boxTop + size);
    }
    {
        Owned<HPEN> pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT)));
        Selected selectPen(dc, pen.Get());
        const int middleX = left + size / 2;
        const int middleY = boxTop + size / 2;
        Line(dc, left + 2, middleY, left + size - 2, middleY);
        if (section.mCollapsed) {
            Line(dc, middleX, boxTop + 2, middleX, boxTop + size - 2);
        }
    }

    RECT title{rowHeight, top, width - 2, top + rowHeight};
    Selected bold(dc, mBoldFont);
    if (focused) {
        SIZE extent{};
        GetTextExtentPoint32A(dc, section.mName.c_str(), static_cast<int>(section.mName.size()), &extent);
        const RECT mark{title.left - 2, top + 1, std::min(static_cast<int>(title.left + extent.cx + 2), width), top + rowHeight - 1};
        Fill(dc, mark, COLOR_HIGHLIGHT);
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    }
    Text(dc, section.mName, title);
    if (settings.drawLines) {
        Owned<HPEN> pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
        Selected selectPen(dc, pen.Get());
        Line(dc, 0, top + rowHeight - 1, width, top + rowHeight - 1);
    }
}

void CPropertyGrid::PaintItem(HDC dc, const GridItem& item, int entry, bool focused)
{
    const GridSettings& settings = mModel.GetSettings();
    const int width = mModel.GetClientWidth();
    const int rowHeight = mModel.GetRowHeight();
    const int divider = mModel.GetDividerX();
    const int top = mModel.GetEntryTop(entry);
    const bool sections = settings.displayMode == GridDisplayMode::Sections;

    // The indent under the section's sign is shaded like the titles.
    if (sections && settings.shadeTitles) {
        Fill(dc, RECT{0, top, mModel.GetIndent(), top + rowHeight}, COLOR_BTNFACE);
    }
    const RECT name{mModel.GetIndent(), top, divider, top + rowHeight};
    const int textColor = !item.mEnabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT;
    Selected font(dc, mModel.IsItemBold(item.mId) ? mBoldFont : mFont);
    if (focused) {
        Fill(dc, name, COLOR_HIGHLIGHT);
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else {
        SetTextColor(dc, GetSysColor(textColor));
    }
    Text(dc, item.mName, RECT{name.left + 3, top, name.right - 2, top + rowHeight});

    RECT value{divider + 4, top, width - 2, top + rowHeight};
    const GridRect button = focused ? mModel.GetButtonRect() : GridRect{};
    const bool sideButton = button.right > button.left && button.left > divider + 4;
    if (sideButton) {
        value.right = button.left - 2;
    }
    SetTextColor(dc, GetSysColor(textColor));
    bool drawn = false;
    if (item.mKind == GridKind::Custom && !item.mUndefined) {
        const auto& custom = std::get<std::shared_ptr<CPropertyGridCustomItem>>(item.mValue);
        drawn = custom->DrawValue(dc, value.left, value.top, value.right, value.bottom);
    }
    if (item.mKind == GridKind::Color && !item.mUndefined) {
        const GridColor& color = std::get<GridColor>(item.mValue);
        const int swatch = rowHeight - 6;
        const RECT box{value.left, top + 3, value.left + swatch * 3 / 2, top + 3 + swatch};
        Owned<HBRUSH> brush(CreateSolidBrush(RGB(color.red, color.green, color.blue)));
        FillRect(dc, &box, brush.Get());
        FrameRect(dc, &box, GetSysColorBrush(COLOR_WINDOWTEXT));
        value.left = box.right + 4;
    }
    if (!drawn) {
        const bool path = item.mKind == GridKind::File || item.mKind == GridKind::Folder;
        Text(dc, mModel.GetItemText(item.mId), value, path ? DT_PATH_ELLIPSIS : DT_END_ELLIPSIS);
    }

    if (settings.drawLines) {
        Owned<HPEN> pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE)));
        Selected selectPen(dc, pen.Get());
        Line(dc, mModel.GetIndent(), top + rowHeight - 1, width, top + rowHeight - 1);
    }
    if (settings.drawGutter) {
        Owned<HPEN> pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
        Selected selectPen(dc, pen.Get());
        Line(dc, divider, top, divider, top + rowHeight);
    }
    if (focused) {
        PaintButton(dc, item);
    }
}

void CPropertyGrid::PaintButton(HDC dc, const GridItem& item)
{
    const GridRect rect = mModel.GetButtonRect();
    if (rect.right <= rect.left) {
        return;
    }
    RECT button = ToRect(rect);
    const UINT pushed = mModel.IsButtonPressed() ? DFCS_PUSHED : 0;
    switch (item.EditWay()) {
    case GridEditWay::EditBox:
        // The value column invites a click: framed like an edit box.
        button.left -= 1;
        button.bottom -= 1;
        DrawEdge(dc, &button, BDR_SUNKENOUTER, BF_RECT);
        break;
    case GridEditWay::DropDown:
    case GridEditWay::Calendar:
        DrawFrameControl(dc, &button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | pushed);
        break;
    case GridEditWay::Modal: {
        DrawFrameControl(dc, &button, DFC_BUTTON, DFCS_BUTTONPUSH | pushed);
        Selected font(dc, mFont);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        Text(dc, "...", button, DT_CENTER);
        break;
    }
    case GridEditWay::None:
        break;
    }
}
