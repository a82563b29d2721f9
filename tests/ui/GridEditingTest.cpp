#include "GridTestSupport.h"

#include "ui/PropertyGridCustomItem.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class GridEditingTest : public GridTest {
protected:
    int mSection = mGrid.AddSection("Camera");
};

TEST_F(GridEditingTest, IntegerEditBoxesParseSaturateAndIgnoreEmptyText)
{
    const int width = mGrid.AddIntegerItem(mSection, "Width", 640);
    EXPECT_EQ(mGrid.GetEditText(width), "640");

    mGrid.OnEditBoxText(width, "");
    std::int64_t value = 0;
    ASSERT_TRUE(mGrid.GetItemValue(width, value));
    EXPECT_EQ(value, 640);
    EXPECT_TRUE(mEvents.mChanged.empty()) << "empty text changes nothing and sends nothing";

    mGrid.OnEditBoxText(width, " -12 px");
    ASSERT_TRUE(mGrid.GetItemValue(width, value));
    EXPECT_EQ(value, -12);
    mGrid.OnEditBoxText(width, "99999999999999999999");
    ASSERT_TRUE(mGrid.GetItemValue(width, value));
    EXPECT_EQ(value, INT64_MAX);
    mGrid.OnEditBoxText(width, "abc");
    ASSERT_TRUE(mGrid.GetItemValue(width, value));
    EXPECT_EQ(value, 0) << "text without leading digits stores 0";
    mGrid.OnEditBoxText(width, "0");
    EXPECT_EQ(mEvents.mChanged, (std::vector<int>{width, width, width, width})) << "also when the value stays";

    const int unknown = mGrid.AddIntegerItem(mSection, "Unknown", 1, "", true, true);
    EXPECT_EQ(mGrid.GetEditText(unknown), "") << "an undefined row starts empty";
    mGrid.OnEditBoxText(unknown, "5");
    ASSERT_TRUE(mGrid.GetItemValue(unknown, value));
    EXPECT_EQ(value, 5);
}

TEST_F(GridEditingTest, FloatingPointEditBoxesKeepTheExactValueWhenLeftAsPrefilled)
{
    const int exposure = mGrid.AddDoubleItem(mSection, "Exposure", 30.0003001);
    EXPECT_EQ(mGrid.GetItemText(exposure), "30.0003");
    EXPECT_EQ(mGrid.GetEditText(exposure), "30.0003");

    mGrid.OnEditBoxText(exposure, "30.0003");
    double value = 0;
    ASSERT_TRUE(mGrid.GetItemValue(exposure, value));
    EXPECT_EQ(value, 30.0003001) << "not rounded to the 7 digits shown";
    EXPECT_EQ(mEvents.mChanged, std::vector<int>{exposure}) << "still reported";

    mGrid.OnEditBoxText(exposure, "30.00030");
    ASSERT_TRUE(mGrid.GetItemValue(exposure, value));
    EXPECT_EQ(value, 30.0003) << "other text is read";
    mGrid.OnEditBoxText(exposure, "");
    EXPECT_EQ(mEvents.mChanged.size(), 2u);
    mGrid.OnEditBoxText(exposure, "2,5");
    ASSERT_TRUE(mGrid.GetItemValue(exposure, value));
    EXPECT_EQ(value, 2.0);
}

TEST_F(GridEditingTest, StringRowsTakeTheTextAsItIs)
{
    const int name = mGrid.AddStringItem(mSection, "Name", "cam", true, true);
    mGrid.OnEditBoxText(name, "");
    std::string text = "x";
    ASSERT_TRUE(mGrid.GetItemValue(name, text)) << "empty text is a value for a string row";
    EXPECT_EQ(text, "");
    mGrid.OnEditBoxText(name, "  line 7 ");
    ASSERT_TRUE(mGrid.GetItemValue(name, text));
    EXPECT_EQ(text, "  line 7 ");
    EXPECT_EQ(mEvents.mChanged.size(), 2u);
}

TEST_F(GridEditingTest, DropDownChoicesStoreTheIndexBooleansTrueFirst)
{
    const int flag = mGrid.AddBoolItem(mSection, "Flag", true, true, true);
    const int mode = mGrid.AddComboItem(mSection, "Mode", {"Off", "On"}, 0);
    EXPECT_EQ(mGrid.GetDropDownOptions(flag), (std::vector<std::string>{"True", "False"}));
    EXPECT_EQ(mGrid.GetDropDownSelection(flag), -1) << "undefined: nothing highlighted";

    mGrid.OpenEditor(flag);
    mGrid.OnDropDownChoice(flag, 1);
    bool value = true;
    ASSERT_TRUE(mGrid.GetItemValue(flag, value));
    EXPECT_FALSE(value);
    EXPECT_EQ(mGrid.GetEditorItem(), -1) << "a choice closes the list";
    EXPECT_EQ(mGrid.GetDropDownSelection(flag), 1);

    mGrid.OnDropDownChoice(mode, 2);
    mGrid.OnDropDownChoice(mode, -1);
    EXPECT_EQ(mEvents.mChanged, std::vector<int>{flag}) << "no such line";
    mGrid.OnDropDownChoice(mode, 1);
    std::string text;
    ASSERT_TRUE(mGrid.GetItemValue(mode, text));
    EXPECT_EQ(text, "On");
    EXPECT_EQ(mEvents.mChanged, (std::vector<int>{flag, mode}));
}

TEST_F(GridEditingTest, ModalAndCalendarEditorsStoreWhatFitsTheRow)
{
    const int note = mGrid.AddTextItem(mSection, "Note", "a");
    const int day = mGrid.AddDateItem(mSection, "Day", GridDateTime{2024, 1, 31, 8, 30, 0});
    const int stamp = mGrid.AddDateTimeItem(mSection, "Stamp", GridDateTime{2024, 1, 31});
    const int color = mGrid.AddColorItem(mSection, "Colour", GridColor{});
    const int folder = mGrid.AddFolderItem(mSection, "Folder", "C:\\", false);

    mGrid.OnModalResult(note, std::string("two\r\nlines"));
    mGrid.OnModalResult(note, 3.0);
    mGrid.OnModalResult(color, GridColor{1, 2, 3});
    mGrid.OnModalResult(stamp, GridDateTime{2024, 2, 30});
    mGrid.OnModalResult(folder, std::string("D:\\"));
    mGrid.OnModalResult(day, GridDateTime{2024, 2, 1});
    mGrid.OnCalendarChoice(day, GridDateTime{2024, 2, 29});
    EXPECT_EQ(mEvents.mChanged, (std::vector<int>{note, color, day}));

    EXPECT_EQ(mGrid.GetItemText(note), "two\xB6lines");
    GridDateTime date;
    ASSERT_TRUE(mGrid.GetItemValue(day, date));
    EXPECT_EQ(date, (GridDateTime{2024, 2, 29, 8, 30, 0})) << "the calendar changes the day, not the time";
    std::string path;
    ASSERT_TRUE(mGrid.GetItemValue(folder, path));
    EXPECT_EQ(path, "C:\\") << "disabled";
}

namespace {

// A custom row that counts in steps of ten and is edited through a drop-down list.
class Decades : public CPropertyGridCustomItem {
public:
    std::string GetDisplayText() const override { return std::to_string(mValue) + "0s"; }
    GridEditWay GetEditWay() const override { return GridEditWay::DropDown; }
    std::vector<std::string> GetOptions() const override { return {"1970s", "1980s", "1990s"}; }
    int GetSelectedOption() const override { return mValue - 197; }
    bool ChooseOption(int index) override
    {
        mValue = 197 + index;
        return true;
    }
    int mValue = 198;
};

}

TEST_F(GridEditingTest, CustomRowsAskTheirObject)
{
    auto decades = std::make_shared<Decades>();
    const int row = mGrid.AddCustomItem(mSection, "Decade", decades);
    EXPECT_EQ(mGrid.GetItemText(row), "1980s");
    EXPECT_EQ(mGrid.GetDropDownSelection(row), 1);
    mGrid.OnDropDownChoice(row, 2);
    EXPECT_EQ(mGrid.GetItemText(row), "1990s");
    EXPECT_EQ(mEvents.mChanged, std::vector<int>{row});
    mGrid.SetFocusedItem(row);
    EXPECT_EQ(mGrid.GetButtonRect().left, Width - RowHeight) << "an arrow button at the right end";
}

TEST_F(GridEditingTest, OneEditorAtATime)
{
    const int width = mGrid.AddIntegerItem(mSection, "Width", 640);
    const int name = mGrid.AddStringItem(mSection, "Name", "cam");
    ASSERT_TRUE(mGrid.OpenEditor(width));
    ASSERT_TRUE(mGrid.OpenEditor(name));
    EXPECT_EQ(mEvents.mClosed, 1);
    EXPECT_EQ(mGrid.GetEditorItem(), name);
    // A value stored by another way closes the open editor first.
    mGrid.OnEditBoxText(width, "5");
    EXPECT_EQ(mEvents.mClosed, 2);
    EXPECT_EQ(mGrid.GetEditorItem(), -1);
    // An editor open on a row that becomes read-only closes.
    mGrid.OpenEditor(name);
    mGrid.SetItemEditable(name, false);
    EXPECT_EQ(mEvents.mClosed, 3);
    mGrid.OnEditBoxText(name, "late");
    std::string text;
    ASSERT_TRUE(mGrid.GetItemValue(name, text));
    EXPECT_EQ(text, "cam");
}
