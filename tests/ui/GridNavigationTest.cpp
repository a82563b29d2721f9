#include "GridTestSupport.h"

#include <string>
#include <vector>

class GridNavigationTest : public GridTest {
protected:
    GridNavigationTest()
    {
        mCamera = mGrid.AddSection("Camera");
        mWidth = mGrid.AddIntegerItem(mCamera, "Width", 640);
        mLocked = mGrid.AddIntegerItem(mCamera, "Locked", 1, "", false);
        mImage = mGrid.AddSection("Image");
        mGain = mGrid.AddDoubleItem(mImage, "Gain", 1.0);
        mEvents.Clear();
    }

    // The display as "[Section]" and row names.
    std::vector<std::string> Display() const
    {
        std::vector<std::string> names;
        for (const GridEntry& entry : mGrid.GetEntries()) {
            names.push_back(entry.mIsSection ? "[" + mGrid.FindSection(entry.mId)->mName + "]"
                                             : mGrid.FindItem(entry.mId)->mName);
        }
        return names;
    }

    int mCamera = -1;
    int mWidth = -1;
    int mLocked = -1;
    int mImage = -1;
    int mGain = -1;
};

TEST_F(GridNavigationTest, DownAndUpWalkTheDisplayAndWrapAround)
{
    using V = std::vector<int>;
    mGrid.OnKeyDown(GridKey::Down);
    EXPECT_EQ(mGrid.GetFocusedSection(), mCamera) << "from nothing, Down starts at the top";
    mGrid.OnKeyDown(GridKey::Down);
    mGrid.OnKeyDown(GridKey::Down);
    EXPECT_EQ(mGrid.GetFocusedItem(), mLocked) << "disabled rows may take the focus by default";
    mGrid.OnKeyDown(GridKey::Down);
    mGrid.OnKeyDown(GridKey::Down);
    EXPECT_EQ(mGrid.GetFocusedItem(), mGain);
    mGrid.OnKeyDown(GridKey::Down);
    EXPECT_EQ(mGrid.GetFocusedSection(), mCamera) << "Down from the last entry focuses the first";
    mGrid.OnKeyDown(GridKey::Up);
    EXPECT_EQ(mGrid.GetFocusedItem(), mGain) << "and Up from the first the last";
    EXPECT_EQ(mEvents.mSelected, (V{-1, mWidth, mLocked, -1, mGain, -1, mGain}));

    GridSettings settings;
    settings.focusDisabled = false;
    mGrid.SetSettings(settings);
    mGrid.SetFocusedItem(mWidth);
    mGrid.OnKeyDown(GridKey::Down);
    EXPECT_EQ(mGrid.GetFocusedSection(), mImage) << "the disabled row is skipped";
    mGrid.OnKeyDown(GridKey::Up);
    EXPECT_EQ(mGrid.GetFocusedItem(), mWidth);
}

TEST_F(GridNavigationTest, KeysCollapseAndExpandSections)
{
    mGrid.SetFocusedItem(mWidth);
    mGrid.OnKeyDown(GridKey::Left);
    EXPECT_EQ(mGrid.GetFocusedSection(), mCamera) << "Left on a row moves up";
    mGrid.OnKeyDown(GridKey::Left);
    EXPECT_EQ(Display(), (std::vector<std::string>{"[Camera]", "[Image]", "Gain"}));
    mGrid.OnKeyDown(GridKey::Left);
    EXPECT_EQ(mGrid.GetFocusedItem(), mGain) << "Left on a collapsed section moves up (and wraps)";
    mGrid.OnKeyDown(GridKey::Right);
    EXPECT_EQ(mGrid.GetFocusedSection(), mCamera) << "Right on a row moves down";
    mGrid.OnKeyDown(GridKey::Right);
    EXPECT_EQ(Display().size(), 5u) << "Right expands a collapsed section";
    mGrid.OnKeyDown(GridKey::Right);
    EXPECT_EQ(mGrid.GetFocusedItem(), mWidth) << "and moves down from an expanded one";

    mGrid.OnChar('/');
    EXPECT_EQ(Display(), (std::vector<std::string>{"[Camera]", "[Image]"}));
    EXPECT_EQ(mGrid.GetFocusedSection(), mCamera) << "a hidden row hands the focus to its title";
    EXPECT_EQ(mEvents.mSelected.back(), -1);
    mGrid.OnChar('+');
    EXPECT_EQ(Display().size(), 4u);
    mGrid.OnChar('-');
    EXPECT_EQ(Display().size(), 2u);
    mGrid.OnChar('*');
    EXPECT_EQ(Display().size(), 5u);
    mGrid.OnChar('x');
    EXPECT_EQ(Display().size(), 5u);
}

TEST_F(GridNavigationTest, SetFocusedItemNotifiesExpandsAndScrollsIntoView)
{
    for (int i = 0; i < 20; ++i) {
        mGrid.AddStringItem(mImage, "Row" + std::to_string(i), "x");
    }
    const int last = mGrid.AddStringItem(mImage, "Last", "x");
    mGrid.SetSectionCollapsed(mImage, true);
    mEvents.Clear();

    ASSERT_TRUE(mGrid.SetFocusedItem(last));
    EXPECT_EQ(mGrid.GetFocusedItem(), last);
    EXPECT_EQ(mEvents.mSelected, std::vector<int>{last});
    const int entry = static_cast<int>(mGrid.GetEntries().size()) - 1;
    EXPECT_EQ(mGrid.GetEntryTop(entry) + RowHeight, Height) << "the row is the bottom one of the view";
    EXPECT_EQ(mGrid.GetScrollPos(), mGrid.GetContentHeight() - Height);

    mGrid.SetFocusedItem(mWidth);
    EXPECT_EQ(mGrid.GetScrollPos(), RowHeight) << "scrolled up just far enough";
    EXPECT_FALSE(mGrid.SetFocusedItem(999));
    EXPECT_EQ(mEvents.mSelected.size(), 2u);
}

TEST_F(GridNavigationTest, TheFlatListShowsAllRowsSortedByTheirBytes)
{
    const int other = mGrid.AddSection("Other");
    mGrid.AddStringItem(other, "width", "lower case sorts after upper case");
    mGrid.AddStringItem(other, "\xC4nderung", "a byte above 127 sorts last");
    mGrid.AddStringItem(other, "Width", "same name as in Camera: after it");
    mGrid.SetSectionCollapsed(mCamera, true);
    mGrid.SetFocusedItem(mGain);
    mGrid.OnKeyDown(GridKey::Up);
    ASSERT_EQ(mGrid.GetFocusedSection(), mImage);

    mGrid.SetDisplayMode(GridDisplayMode::Flat);
    EXPECT_EQ(Display(), (std::vector<std::string>{"Gain", "Locked", "Width", "Width", "width", "\xC4nderung"}));
    EXPECT_EQ(mGrid.GetEntries()[2].mId, mWidth);
    EXPECT_EQ(mGrid.GetFocusedSection(), -1) << "no titles to hold the focus";
    mGrid.OnKeyDown(GridKey::Up);
    EXPECT_EQ(mGrid.FindItem(mGrid.GetFocusedItem())->mName, "\xC4nderung");
    mGrid.OnKeyDown(GridKey::Right);
    EXPECT_EQ(mGrid.GetFocusedItem(), mGain) << "Left and Right just move in the flat list";
}
