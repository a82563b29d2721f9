// The property grid without its window: sections and typed rows, their values,
// the display order, the focus, the scroll position and the rules by which
// the user's keys, clicks and editors change them. The platform view draws it
// and hands it the user's input; tests drive it directly.
#pragma once

#include "ui/GridItem.h"
#include "ui/GridSettings.h"
#include "ui/GridValue.h"
#include "ui/PropertyGridListener.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// Keys the grid acts on (Edit is F2: it opens the focused row's editor).
enum class GridKey { Up, Down, Left, Right, Edit };

enum class GridCursor { Arrow, SizeWestEast };

enum class GridScrollAction { LineUp, LineDown, PageUp, PageDown, Top, Bottom, Thumb };

// One line of the display: a section title or a row.
struct GridEntry {
    bool mIsSection = false;
    int mId = -1;
};

// The parts of the grid a point can fall on.
struct GridHit {
    enum Part { Nothing, Sign, Title, Name, Value };
    Part mPart = Nothing;
    int mEntry = -1; // index into the display entries
};

struct GridRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

class CPropertyGridModel {
public:
    CPropertyGridModel();
    CPropertyGridModel(const CPropertyGridModel&) = delete;
    CPropertyGridModel& operator=(const CPropertyGridModel&) = delete;

    // Not owned; either may be null.
    void SetListener(CPropertyGridListener* listener) { mListener = listener; }
    void SetView(CPropertyGridView* view) { mView = view; }

    // Building. Each returns the new id, or -1 when the section does not exist,
    // already has a row of that name, or the value does not fit the kind.
    // A section is inserted before the section with the id `before`, or
    // appended when there is none.
    int AddSection(const std::string& name, bool collapsed = false, int before = -1);
    int AddItem(int section, GridKind kind, const std::string& name, const GridValue& value, bool enabled = true,
                bool undefined = false, const std::vector<std::string>& options = {});
    int AddStringItem(int section, const std::string& name, const std::string& value, bool enabled = true,
                      bool undefined = false);
    int AddTextItem(int section, const std::string& name, const std::string& value, bool enabled = true,
                    bool undefined = false);
    // An empty format means the default, "%I64d".
    int AddIntegerItem(int section, const std::string& name, std::int32_t value, const std::string& format = "",
                       bool enabled = true, bool undefined = false);
    int AddIntegerItem(int section, const std::string& name, std::uint32_t value, const std::string& format = "",
                       bool enabled = true, bool undefined = false);
    int AddIntegerItem(int section, const std::string& name, std::int64_t value, const std::string& format = "",
                       bool enabled = true, bool undefined = false);
    // An empty format means the default, "%g".
    int AddDoubleItem(int section, const std::string& name, double value, const std::string& format = "",
                      bool enabled = true, bool undefined = false);
    int AddComboItem(int section, const std::string& name, const std::vector<std::string>& options,
                     std::int64_t selected, bool enabled = true, bool undefined = false);
    int AddBoolItem(int section, const std::string& name, bool value, bool enabled = true, bool undefined = false);
    // An empty format means the user's locale (strftime-style otherwise).
    int AddDateItem(int section, const std::string& name, const GridDateTime& value, const std::string& format = "",
                    bool enabled = true, bool undefined = false);
    int AddDateTimeItem(int section, const std::string& name, const GridDateTime& value,
                        const std::string& format = "", bool enabled = true, bool undefined = false);
    // The filter in the form "Text files (*.txt)|*.txt|All files (*.*)|*.*|".
    int AddFileItem(int section, const std::string& name, const std::string& path, const std::string& filter = "",
                    bool enabled = true, bool undefined = false);
    int AddFolderItem(int section, const std::string& name, const std::string& path, bool enabled = true,
                      bool undefined = false);
    int AddColorItem(int section, const std::string& name, const GridColor& value, bool enabled = true,
                     bool undefined = false);
    int AddFontItem(int section, const std::string& name, const GridFont& value, bool enabled = true,
                    bool undefined = false);
    int AddCustomItem(int section, const std::string& name, std::shared_ptr<CPropertyGridCustomItem> value,
                      bool enabled = true, bool undefined = false);

    // Values. Each returns false, and changes nothing, when the row does not
    // exist, is of another kind, or (when reading) is undefined. Text: string,
    // text, file and folder rows, and the selected option of a drop-down row.
    // Integers: integer rows and the index of drop-down rows; the 32-bit forms
    // give the low 32 bits. Setting clears undefined.
    bool GetItemValue(int item, std::string& value) const;
    bool GetItemValue(int item, std::int32_t& value) const;
    bool GetItemValue(int item, std::uint32_t& value) const;
    bool GetItemValue(int item, std::int64_t& value) const;
    bool GetItemValue(int item, double& value) const;
    bool GetItemValue(int item, bool& value) const;
    bool GetItemValue(int item, GridDateTime& value) const;
    bool GetItemValue(int item, GridColor& value) const;
    bool GetItemValue(int item, GridFont& value) const;
    // Text on a drop-down row selects the first option with that text (false
    // when none has it).
    bool SetItemValue(int item, const std::string& value);
    bool SetItemValue(int item, const char* value);
    bool SetItemValue(int item, std::int32_t value);
    bool SetItemValue(int item, std::uint32_t value);
    bool SetItemValue(int item, std::int64_t value);
    bool SetItemValue(int item, double value);
    bool SetItemValue(int item, bool value);
    bool SetItemValue(int item, const GridDateTime& value);
    bool SetItemValue(int item, const GridColor& value);
    bool SetItemValue(int item, const GridFont& value);
    bool SetItemEditable(int item, bool enabled);

    // Reading the grid (for the view and the owner).
    const GridItem* FindItem(int item) const;
    const GridSection* FindSection(int section) const;
    const std::vector<std::unique_ptr<GridSection>>& GetSections() const { return mSections; }
    // The value as the row shows it (the undefined text for an undefined row).
    std::string GetItemText(int item) const;
    // The text an edit box over the row starts with.
    std::string GetEditText(int item) const;
    // The lines of the row's drop-down list and the highlighted one (-1: none).
    std::vector<std::string> GetDropDownOptions(int item) const;
    int GetDropDownSelection(int item) const;
    bool IsItemChanged(int item) const;
    bool IsItemBold(int item) const;

    // Focus. SetFocusedItem focuses the row (expanding its section), sends
    // selection changed and scrolls the row into view; false for an unknown id.
    bool SetFocusedItem(int item);
    int GetFocusedItem() const;    // -1 when a section title or nothing has the focus
    int GetFocusedSection() const; // -1 unless a section title has the focus
    bool SetSectionCollapsed(int section, bool collapsed);

    // Settings and texts.
    const GridSettings& GetSettings() const { return mSettings; }
    void SetSettings(const GridSettings& settings);
    void SetDisplayMode(GridDisplayMode mode);
    // How date rows without a format show their value; the platform view
    // supplies the user's locale. By default "2024-03-05" and "2024-03-05 14:07:09".
    void SetDateFormatter(std::function<std::string(const GridDateTime&, bool withTime)> formatter);

    // The lines of the display, top to bottom, and their geometry. The first
    // SetClientSize places the column divider at half the width.
    const std::vector<GridEntry>& GetEntries() const;
    void SetRowHeight(int height);
    void SetClientSize(int width, int height);
    int GetRowHeight() const { return mRowHeight; }
    int GetClientWidth() const { return mClientWidth; }
    int GetClientHeight() const { return mClientHeight; }
    int GetDividerX() const { return mDividerX; }
    int GetScrollPos() const { return mScrollPos; }
    int GetContentHeight() const;
    int GetEntryTop(int entry) const { return entry * mRowHeight - mScrollPos; }
    int GetIndent() const;
    GridRect GetSignRect(int entry) const;
    // The focused row's edit button (empty when it has none).
    GridRect GetButtonRect() const;
    GridHit HitTest(int x, int y) const;
    bool IsButtonPressed() const { return mPress == Press::Button || mPress == Press::Value; }
    bool IsDraggingDivider() const { return mDragging; }

    // The user's actions, as the view sees them.
    void OnKeyDown(GridKey key);
    void OnChar(char c);
    void OnMouseDown(int x, int y);
    void OnMouseUp(int x, int y);
    // Returns the pointer's shape at that point.
    GridCursor OnMouseMove(int x, int y);
    GridCursor CursorAt(int x, int y) const;
    void OnDoubleClick(int x, int y);
    void OnScroll(GridScrollAction action, int thumb = 0);
    // Wheel movement in the platform's units (120 per notch, positive upwards).
    void OnWheel(int delta);

    // Editors. Opening one closes the open one first; the view is asked to
    // show it. Only enabled rows with an edit way open one.
    bool OpenEditor(int item);
    int GetEditorItem() const { return mEditorItem; }
    // What the editors hand back. Each applies only to an enabled row of a
    // kind that edits that way; a stored value clears undefined and sends
    // item changed.
    void OnEditBoxText(int item, const std::string& text);
    void OnDropDownChoice(int item, int index);
    void OnCalendarChoice(int item, const GridDateTime& date);
    // Text, date-time, file, folder, colour and font rows take their value;
    // a custom row's object has already taken it (any value will do).
    void OnModalResult(int item, const GridValue& value);
    // The open editor closed without handing anything back.
    void OnEditorClosed();

private:
    enum class Press { None, Button, Value };

    GridItem* Item(int item);
    GridSection* Section(int section);
    int NewItem(int section, GridKind kind, const std::string& name, const GridValue& value, bool enabled,
                bool undefined, std::vector<std::string> options);
    template <typename T>
    bool Store(int item, const T& value, bool (*fits)(const GridItem&));
    void Changed();
    void Repaint();
    void NotifyItemChanged(int item);
    void NotifySelection();

    // Display order and focus.
    void InvalidateEntries();
    int FocusedEntry() const;
    bool IsFocusable(const GridEntry& entry) const;
    bool SetFocus(const GridEntry& entry);
    void ClearFocus();
    void MoveFocus(int step);
    void Collapse(GridSection& section, bool collapsed);
    void EnsureVisible(int entry);
    void ScrollTo(int position);

    // Editing.
    void CloseEditor();
    void EditorReported(int item);
    void StoreUserValue(GridItem& item, const GridValue& value);
    void ToggleOrCycle(GridItem& item);

    CPropertyGridListener* mListener = nullptr;
    CPropertyGridView* mView = nullptr;
    GridSettings mSettings;
    std::function<std::string(const GridDateTime&, bool)> mDateFormatter;

    std::vector<std::unique_ptr<GridSection>> mSections;
    std::unordered_map<int, GridItem*> mItems;
    int mNextSectionId = 0;
    int mNextItemId = 0;

    mutable std::vector<GridEntry> mEntries;
    mutable bool mEntriesValid = false;
    GridEntry mFocus; // mId -1: nothing

    int mRowHeight = 16;
    int mClientWidth = 0;
    int mClientHeight = 0;
    int mDividerX = 0;
    bool mDividerPlaced = false;
    int mScrollPos = 0;
    int mWheelRest = 0;

    Press mPress = Press::None;
    int mPressItem = -1;
    bool mDragging = false;
    int mEditorItem = -1;
};
