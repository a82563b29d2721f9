#include "GridTestSupport.h"

#include <string>
#include <utility>
#include <vector>

class GridMouseTest : public GridTest {
protected:
    GridMouseTest()
    {
        mSection = mGrid.AddSection("Camera");                                   // entry 0
        mWidth = mGrid.AddIntegerItem(mSection, "Width", 640);                    // entry 1
        mMode = mGrid.AddComboItem(mSection, "Mode", {"Off", "Once", "Auto"}, 2); // entry 2
        mFlag = mGrid.AddBoolItem(mSection, "Flag", true);                        // entry 3
        mLocked = mGrid.AddIntegerItem(mSection, "Locked", 5, "", false);         // entry 4
        mNote = mGrid.AddTextItem(mSection, "Note", "a");                         // entry 5
        mEvents.Clear();
    }

    using Opened = std::vector<std::pair<int, GridEditWay>>;

    int mSection = -1;
    int mWidth = -1;
    int mMode = -1;
    int mFlag = -1;
    int mLocked = -1;
    int mNote = -1;
};

TEST_F(GridMouseTest, AClickFocusesARowAndAReleaseOnItsValueOpensTheEditor)
{
    Click(NameX, RowY(1));
    EXPECT_EQ(mGrid.GetFocusedItem(), mWidth);
    EXPECT_EQ(mEvents.mSelected, std::vector<int>{mWidth});
    EXPECT_TRUE(mEvents.mOpened.empty()) << "the name opens nothing";

    Click(ValueX, RowY(1));
    EXPECT_EQ(mEvents.mSelected.size(), 1u) << "the focus did not change";
    EXPECT_EQ(mEvents.mOpened, (Opened{{mWidth, GridEditWay::EditBox}}));
    EXPECT_EQ(mGrid.GetEditorItem(), mWidth);

    // A press on another row closes the open editor; releasing elsewhere opens nothing.
    mGrid.OnMouseDown(ValueX, RowY(2));
    EXPECT_EQ(mEvents.mClosed, 1);
    mGrid.OnMouseUp(ValueX, RowY(3));
    EXPECT_EQ(mEvents.mOpened.size(), 1u);
    EXPECT_EQ(mGrid.GetFocusedItem(), mMode);

    Click(ValueX, RowY(2));
    EXPECT_EQ(mEvents.mOpened.back(), std::make_pair(mMode, GridEditWay::DropDown));

    // A modal row opens only through its button on the focused row.
    Click(ValueX, RowY(5));
    EXPECT_EQ(mEvents.mOpened.size(), 2u);
    Click(Width - 3, RowY(5));
    EXPECT_EQ(mEvents.mOpened.back(), std::make_pair(mNote, GridEditWay::Modal));

    // Below the last row: nothing has the focus.
    Click(NameX, RowY(7));
    EXPECT_EQ(mGrid.GetFocusedItem(), -1);
    EXPECT_EQ(mEvents.mSelected.back(), -1);
}

TEST_F(GridMouseTest, ADisabledRowTakesTheFocusButIsNeverEdited)
{
    Click(ValueX, RowY(4));
    EXPECT_EQ(mGrid.GetFocusedItem(), mLocked) << "so the owner can show its description";
    EXPECT_TRUE(mEvents.mOpened.empty());
    EXPECT_EQ(mGrid.GetButtonRect().right, 0) << "no edit button";
    DoubleClick(ValueX, RowY(4));
    mGrid.OnKeyDown(GridKey::Edit);
    EXPECT_FALSE(mGrid.OpenEditor(mLocked));
    mGrid.OnEditBoxText(mLocked, "9");
    EXPECT_TRUE(mEvents.mOpened.empty());
    EXPECT_TRUE(mEvents.mChanged.empty());
    EXPECT_EQ(mGrid.GetItemText(mLocked), "5");

    mGrid.SetItemEditable(mFlag, false);
    DoubleClick(NameX, RowY(3));
    bool flag = false;
    ASSERT_TRUE(mGrid.GetItemValue(mFlag, flag));
    EXPECT_TRUE(flag) << "a disabled boolean is not toggled";

    GridSettings settings;
    settings.focusDisabled = false;
    mGrid.SetSettings(settings);
    Click(NameX, RowY(4));
    EXPECT_EQ(mGrid.GetFocusedItem(), -1) << "unless disabled rows may not take the focus";
}

TEST_F(GridMouseTest, DoubleClicksToggleBooleansCycleOptionsAndOpenModalEditors)
{
    DoubleClick(NameX, RowY(3));
    bool flag = true;
    ASSERT_TRUE(mGrid.GetItemValue(mFlag, flag));
    EXPECT_FALSE(flag);
    EXPECT_EQ(mEvents.mChanged, std::vector<int>{mFlag});

    DoubleClick(NameX, RowY(2));
    std::int64_t index = -1;
    ASSERT_TRUE(mGrid.GetItemValue(mMode, index));
    EXPECT_EQ(index, 0) << "from the last of three options back to the first";
    DoubleClick(NameX, RowY(2));
    ASSERT_TRUE(mGrid.GetItemValue(mMode, index));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(mEvents.mChanged, (std::vector<int>{mFlag, mMode, mMode}));

    mEvents.Clear();
    DoubleClick(NameX, RowY(5));
    EXPECT_EQ(mEvents.mOpened, (Opened{{mNote, GridEditWay::Modal}}));

    // Undefined rows are not toggled, and a row without options does not cycle.
    const int unknown = mGrid.AddBoolItem(mSection, "Unknown", true, true, true);
    const int empty = mGrid.AddComboItem(mSection, "Empty", {}, -1);
    DoubleClick(NameX, RowY(6));
    DoubleClick(NameX, RowY(7));
    EXPECT_EQ(mGrid.GetFocusedItem(), empty);
    EXPECT_FALSE(mGrid.GetItemValue(unknown, flag));
    EXPECT_TRUE(mEvents.mChanged.empty());

    DoubleClick(NameX, RowY(0));
    EXPECT_EQ(mGrid.GetEntries().size(), 1u) << "a double-click on a title collapses it";
    Click(5, RowY(0));
    EXPECT_EQ(mGrid.GetEntries().size(), 8u) << "and the expand sign expands it";
}

TEST_F(GridMouseTest, TheDividerIsDraggedWithinAFifthOfTheEdges)
{
    EXPECT_EQ(mGrid.GetDividerX(), Width / 2);
    EXPECT_EQ(mGrid.CursorAt(Width / 2 + 2, 5), GridCursor::SizeWestEast);
    EXPECT_EQ(mGrid.CursorAt(Width / 2 + 3, 5), GridCursor::Arrow);

    mGrid.SetFocusedItem(mWidth);
    mEvents.Clear();
    mGrid.OnMouseDown(Width / 2 - 2, RowY(1));
    EXPECT_TRUE(mGrid.IsDraggingDivider());
    EXPECT_EQ(mGrid.OnMouseMove(10, RowY(1)), GridCursor::SizeWestEast);
    EXPECT_EQ(mGrid.GetDividerX(), Width / 5);
    mGrid.OnMouseMove(Width - 1, 0);
    EXPECT_EQ(mGrid.GetDividerX(), Width * 4 / 5);
    mGrid.OnMouseMove(250, 0);
    mGrid.OnMouseUp(250, 0);
    EXPECT_FALSE(mGrid.IsDraggingDivider());
    EXPECT_EQ(mGrid.GetDividerX(), 250);
    EXPECT_EQ(mGrid.GetFocusedItem(), mWidth) << "dragging leaves the focus alone";
    EXPECT_TRUE(mEvents.mSelected.empty());
    EXPECT_TRUE(mEvents.mOpened.empty());

    // While an editor is open the divider shows no sizing cursor.
    mGrid.OpenEditor(mWidth);
    EXPECT_EQ(mGrid.CursorAt(250, 5), GridCursor::Arrow);
}

TEST_F(GridMouseTest, ScrollingStaysWithinTheContent)
{
    for (int i = 0; i < 24; ++i) {
        mGrid.AddStringItem(mSection, "Row" + std::to_string(i), "x");
    }
    const int content = 30 * RowHeight;
    ASSERT_EQ(mGrid.GetContentHeight(), content);

    mGrid.OnWheel(-120);
    EXPECT_EQ(mGrid.GetScrollPos(), 3 * RowHeight) << "three rows per notch, downwards";
    mGrid.OnWheel(-60);
    EXPECT_EQ(mGrid.GetScrollPos(), 3 * RowHeight) << "half a notch is kept";
    mGrid.OnWheel(-60);
    EXPECT_EQ(mGrid.GetScrollPos(), 6 * RowHeight);
    mGrid.OnWheel(240);
    EXPECT_EQ(mGrid.GetScrollPos(), 0);
    mGrid.OnScroll(GridScrollAction::LineUp);
    EXPECT_EQ(mGrid.GetScrollPos(), 0);
    mGrid.OnScroll(GridScrollAction::LineDown);
    EXPECT_EQ(mGrid.GetScrollPos(), RowHeight);
    mGrid.OnScroll(GridScrollAction::PageDown);
    EXPECT_EQ(mGrid.GetScrollPos(), RowHeight + Height);
    mGrid.OnScroll(GridScrollAction::Bottom);
    EXPECT_EQ(mGrid.GetScrollPos(), content - Height);
    mGrid.OnScroll(GridScrollAction::PageDown);
    EXPECT_EQ(mGrid.GetScrollPos(), content - Height);
    mGrid.OnScroll(GridScrollAction::Thumb, 45);
    EXPECT_EQ(mGrid.GetScrollPos(), 45);

    // Hits follow the scroll position.
    const GridHit hit = mGrid.HitTest(NameX, 0);
    EXPECT_EQ(hit.mEntry, 2);
    EXPECT_EQ(hit.mPart, GridHit::Name);

    // Collapsing shrinks the content; the position follows.
    mGrid.OnChar('/');
    EXPECT_EQ(mGrid.GetScrollPos(), 0);
}
