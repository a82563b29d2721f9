#include "GridTestSupport.h"

#include <cstdint>

using GridBuildTest = GridTest;

TEST_F(GridBuildTest, SectionsAndRowsCountTheirIdsSeparately)
{
    const int camera = mGrid.AddSection("Camera");
    const int image = mGrid.AddSection("Image");
    EXPECT_EQ(camera, 0);
    EXPECT_EQ(image, 1);
    EXPECT_EQ(mGrid.AddStringItem(camera, "Vendor", "Kavrix"), 0);
    EXPECT_EQ(mGrid.AddIntegerItem(image, "Width", 1280), 1);
    // Inserted before "Image", and the ids go on counting.
    const int first = mGrid.AddSection("Device", false, image);
    EXPECT_EQ(first, 2);
    const auto& sections = mGrid.GetSections();
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0]->mName, "Camera");
    EXPECT_EQ(sections[1]->mName, "Device");
    EXPECT_EQ(sections[2]->mName, "Image");
    // An unknown "before" appends.
    mGrid.AddSection("Last", false, 99);
    EXPECT_EQ(mGrid.GetSections().back()->mName, "Last");
    EXPECT_EQ(mGrid.AddBoolItem(first, "Enabled", true), 2);
}

TEST_F(GridBuildTest, RefusedRowsAddNothing)
{
    const int camera = mGrid.AddSection("Camera");
    const int image = mGrid.AddSection("Image");
    const int width = mGrid.AddIntegerItem(camera, "Width", 640);
    ASSERT_GE(width, 0);
    EXPECT_EQ(mGrid.AddIntegerItem(camera, "Width", 800), -1) << "a name is unique within its section";
    EXPECT_GE(mGrid.AddIntegerItem(image, "Width", 800), 0) << "but not across sections";
    EXPECT_EQ(mGrid.AddStringItem(42, "Vendor", "x"), -1) << "missing section";
    EXPECT_EQ(mGrid.AddItem(camera, GridKind::Double, "Gain", std::string("1.5")), -1) << "value of another kind";
    EXPECT_EQ(mGrid.AddDateItem(camera, "Day", GridDateTime{2023, 2, 29}), -1) << "no such day";
    EXPECT_EQ(mGrid.AddCustomItem(camera, "Custom", nullptr), -1);
    GridFont longName;
    longName.faceName = std::string(40, 'x');
    EXPECT_EQ(mGrid.AddFontItem(camera, "Font", longName), -1);

    int64_t value = 0;
    ASSERT_TRUE(mGrid.GetItemValue(width, value));
    EXPECT_EQ(value, 640) << "the refused second row left the first alone";
    EXPECT_EQ(mGrid.GetSections()[0]->mItems.size(), 1u);
    // The refused rows used up no ids.
    EXPECT_EQ(mGrid.AddBoolItem(camera, "Enabled", true), 2);
}

TEST_F(GridBuildTest, EveryKindTakesItsValueThroughTheGenericForm)
{
    const int section = mGrid.AddSection("All");
    struct Case {
        GridKind kind;
        GridValue value;
    };
    const Case cases[] = {
        {GridKind::String, std::string("s")},     {GridKind::Text, std::string("a\r\nb")},
        {GridKind::Integer, std::int64_t{-5}},    {GridKind::Double, 2.5},
        {GridKind::Combo, std::int64_t{1}},       {GridKind::Bool, false},
        {GridKind::Date, GridDateTime{2024, 2, 29}}, {GridKind::DateTime, GridDateTime{2024, 3, 1, 23, 59, 59}},
        {GridKind::File, std::string("C:\\a.txt")}, {GridKind::Folder, std::string("C:\\")},
        {GridKind::Color, GridColor{1, 2, 3}},    {GridKind::Font, GridFont{}},
    };
    int n = 0;
    for (const Case& c : cases) {
        const int id = mGrid.AddItem(section, c.kind, "row" + std::to_string(n++), c.value);
        ASSERT_GE(id, 0) << static_cast<int>(c.kind);
        EXPECT_EQ(mGrid.FindItem(id)->mKind, c.kind);
        EXPECT_FALSE(mGrid.IsItemChanged(id));
    }
}
