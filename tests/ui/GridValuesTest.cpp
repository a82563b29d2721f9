#include "GridTestSupport.h"

#include <cstdint>
#include <string>

class GridValuesTest : public GridTest {
protected:
    int mSection = mGrid.AddSection("Values");
};

TEST_F(GridValuesTest, IntegersKeep64BitsAndThe32BitFormsTakeTheLowHalf)
{
    const int wide = mGrid.AddIntegerItem(mSection, "Wide", std::int64_t{0x123456789});
    const int unsignedRow = mGrid.AddIntegerItem(mSection, "Unsigned", std::uint32_t{0xFFFFFFFF});
    const int negative = mGrid.AddIntegerItem(mSection, "Negative", std::int32_t{-2});

    std::int64_t value64 = 0;
    std::int32_t value32 = 0;
    std::uint32_t valueU32 = 0;
    ASSERT_TRUE(mGrid.GetItemValue(wide, value64));
    EXPECT_EQ(value64, 0x123456789);
    ASSERT_TRUE(mGrid.GetItemValue(wide, value32));
    EXPECT_EQ(value32, 0x23456789);
    ASSERT_TRUE(mGrid.GetItemValue(unsignedRow, value64));
    EXPECT_EQ(value64, 4294967295) << "zero-extended";
    ASSERT_TRUE(mGrid.GetItemValue(negative, value64));
    EXPECT_EQ(value64, -2) << "sign-extended";
    ASSERT_TRUE(mGrid.GetItemValue(negative, valueU32));
    EXPECT_EQ(valueU32, 0xFFFFFFFEu);

    ASSERT_TRUE(mGrid.SetItemValue(wide, std::int64_t{4294967306}));
    ASSERT_TRUE(mGrid.GetItemValue(wide, value32));
    EXPECT_EQ(value32, 10);
    ASSERT_TRUE(mGrid.SetItemValue(wide, std::uint32_t{0x80000000}));
    ASSERT_TRUE(mGrid.GetItemValue(wide, value64));
    EXPECT_EQ(value64, 0x80000000);
}

TEST_F(GridValuesTest, WrongKindsMissingRowsAndUndefinedRowsGiveFalseAndChangeNothing)
{
    const int gain = mGrid.AddDoubleItem(mSection, "Gain", 1.5);
    const int name = mGrid.AddStringItem(mSection, "Name", "cam");
    const int unknown = mGrid.AddIntegerItem(mSection, "Unknown", 7, "", true, true);

    std::string text;
    std::int64_t integer = 0;
    bool flag = false;
    double number = 0;
    EXPECT_FALSE(mGrid.GetItemValue(gain, text));
    EXPECT_FALSE(mGrid.GetItemValue(gain, integer));
    EXPECT_FALSE(mGrid.GetItemValue(name, flag));
    EXPECT_FALSE(mGrid.GetItemValue(99, number));
    EXPECT_FALSE(mGrid.SetItemValue(gain, std::int64_t{3}));
    EXPECT_FALSE(mGrid.SetItemValue(name, 2.0));
    EXPECT_FALSE(mGrid.SetItemValue(99, "x"));
    EXPECT_FALSE(mGrid.SetItemValue(gain, GridColor{}));
    ASSERT_TRUE(mGrid.GetItemValue(gain, number));
    EXPECT_EQ(number, 1.5);

    // A literal text goes to the text form, not to the boolean one.
    EXPECT_TRUE(mGrid.SetItemValue(name, "other"));
    ASSERT_TRUE(mGrid.GetItemValue(name, text));
    EXPECT_EQ(text, "other");

    EXPECT_FALSE(mGrid.GetItemValue(unknown, integer)) << "undefined";
    EXPECT_EQ(mGrid.GetItemText(unknown), "");
    ASSERT_TRUE(mGrid.SetItemValue(unknown, std::int32_t{8}));
    ASSERT_TRUE(mGrid.GetItemValue(unknown, integer)) << "setting clears undefined";
    EXPECT_EQ(integer, 8);
    EXPECT_TRUE(mEvents.mChanged.empty()) << "the owner's writes are no user changes";
}

TEST_F(GridValuesTest, DropDownRowsGiveTheirIndexAndTheTextOfTheSelectedOption)
{
    const std::vector<std::string> modes = {"Off", "Once", "Continuous"};
    const int mode = mGrid.AddComboItem(mSection, "Mode", modes, 1);
    const int none = mGrid.AddComboItem(mSection, "None", modes, -1);

    std::string text;
    std::int64_t index = 0;
    ASSERT_TRUE(mGrid.GetItemValue(mode, text));
    EXPECT_EQ(text, "Once");
    EXPECT_EQ(mGrid.GetItemText(mode), "Once");
    EXPECT_FALSE(mGrid.GetItemValue(none, text)) << "index -1 gives no text";
    EXPECT_EQ(mGrid.GetItemText(none), "") << "and shows nothing";
    ASSERT_TRUE(mGrid.GetItemValue(none, index));
    EXPECT_EQ(index, -1);

    EXPECT_TRUE(mGrid.SetItemValue(mode, std::string("Continuous")));
    ASSERT_TRUE(mGrid.GetItemValue(mode, index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(mGrid.SetItemValue(mode, "Sometimes")) << "no such option";
    ASSERT_TRUE(mGrid.GetItemValue(mode, index));
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(mGrid.SetItemValue(mode, std::int64_t{7}));
    EXPECT_FALSE(mGrid.GetItemValue(mode, text)) << "an index past the options gives no text";
}

TEST_F(GridValuesTest, ARowCountsAsChangedWhileItDiffersFromItsInitialValue)
{
    const int gain = mGrid.AddDoubleItem(mSection, "Gain", 1.5);
    const int unknown = mGrid.AddStringItem(mSection, "Unknown", "", true, true);
    EXPECT_FALSE(mGrid.IsItemChanged(gain));
    mGrid.SetItemValue(gain, 2.0);
    EXPECT_TRUE(mGrid.IsItemChanged(gain));
    mGrid.SetItemValue(gain, 1.5);
    EXPECT_FALSE(mGrid.IsItemChanged(gain));
    mGrid.SetItemValue(unknown, "");
    EXPECT_TRUE(mGrid.IsItemChanged(unknown)) << "no longer undefined";

    // Bold rules: changed rows when that is on, else enabled rows when that is on.
    const int fixed = mGrid.AddStringItem(mSection, "Fixed", "x", false);
    EXPECT_FALSE(mGrid.IsItemBold(gain));
    GridSettings settings;
    settings.boldModified = true;
    mGrid.SetSettings(settings);
    EXPECT_TRUE(mGrid.IsItemBold(unknown));
    EXPECT_FALSE(mGrid.IsItemBold(gain));
    settings.boldEditables = true;
    mGrid.SetSettings(settings);
    EXPECT_TRUE(mGrid.IsItemBold(gain));
    EXPECT_FALSE(mGrid.IsItemBold(fixed));
}

TEST_F(GridValuesTest, EachKindShowsItsValue)
{
    GridFont font;
    font.faceName = "Arial";
    font.pointSizeTenths = 95;
    const int text = mGrid.AddTextItem(mSection, "Text", "one\r\ntwo\nthree");
    const int color = mGrid.AddColorItem(mSection, "Colour", GridColor{255, 128, 0});
    const int fontRow = mGrid.AddFontItem(mSection, "Font", font);
    const int flag = mGrid.AddBoolItem(mSection, "Flag", false);
    const int day = mGrid.AddDateItem(mSection, "Day", GridDateTime{2024, 3, 5, 14, 7, 9});
    const int stamp = mGrid.AddDateTimeItem(mSection, "Stamp", GridDateTime{2024, 3, 5, 14, 7, 9});
    const int formatted = mGrid.AddDateItem(mSection, "Formatted", GridDateTime{2024, 3, 5}, "%d.%m.%Y (%a) %Q%");
    const int hex = mGrid.AddIntegerItem(mSection, "Hex", 255, "0x%04X");
    const int gain = mGrid.AddDoubleItem(mSection, "Gain", 1.0 / 3.0, "%.3f dB");
    const int unknown = mGrid.AddDoubleItem(mSection, "Unknown", 1.0, "", true, true);

    EXPECT_EQ(mGrid.GetItemText(text), "one\xB6two\nthree");
    EXPECT_EQ(mGrid.GetItemText(color), "255; 128; 0");
    EXPECT_EQ(mGrid.GetItemText(fontRow), "Arial; 10pt");
    EXPECT_EQ(mGrid.GetItemText(flag), "False");
    EXPECT_EQ(mGrid.GetItemText(day), "2024-03-05");
    EXPECT_EQ(mGrid.GetItemText(stamp), "2024-03-05 14:07:09");
    EXPECT_EQ(mGrid.GetItemText(formatted), "05.03.2024 (Tue) %Q%") << "unknown conversions stay as they are";
    EXPECT_EQ(mGrid.GetItemText(hex), "0x00FF");
    EXPECT_EQ(mGrid.GetItemText(gain), "0.333 dB");

    GridSettings settings;
    settings.trueText = "Yes";
    settings.falseText = "No";
    settings.undefinedText = "(unknown)";
    mGrid.SetSettings(settings);
    mGrid.SetDateFormatter([](const GridDateTime& d, bool withTime) {
        return std::to_string(d.day) + "/" + std::to_string(d.month) + (withTime ? " t" : "");
    });
    EXPECT_EQ(mGrid.GetItemText(flag), "No");
    EXPECT_EQ(mGrid.GetDropDownOptions(flag), (std::vector<std::string>{"Yes", "No"}));
    EXPECT_EQ(mGrid.GetItemText(unknown), "(unknown)");
    EXPECT_EQ(mGrid.GetItemText(day), "5/3");
    EXPECT_EQ(mGrid.GetItemText(stamp), "5/3 t");
}
