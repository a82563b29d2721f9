// The configuration page's behaviour over the grid model: rows per visible
// parameter, every edit validated at once with OK and the status bar
// following, the labels, and the row remembered between runs.
#include "params/CameraParameters.h"
#include "params/ConstraintEnumOff.h"
#include "params/ParamEnum.h"
#include "ui/PropertyControlAdapter.h"
#include "ui/PropertyGeneral.h"

#include <gtest/gtest.h>

#include <boost/any.hpp>

namespace {

class RecordingSheet : public CConfigurationSheet {
public:
    void EnableOK(bool enabled) override
    {
        mOkEnabled = enabled;
        if (enabled) {
            ClearStatus();
        }
    }
    void ShowStatus(const std::string& caption, const std::string& message) override
    {
        mStatus = StatusText(caption, message);
    }
    void ClearStatus() override { mStatus.clear(); }

    bool mOkEnabled = true;
    std::string mStatus;
};

class RecordingLabels : public CPageLabels {
public:
    void SetLabels(const std::string& name, const std::string& description) override
    {
        mName = name;
        mDescription = description;
    }
    std::string mName = "(Name)";
    std::string mDescription = "(Description)";
};

// The grid's owner as the Win32 page is: notifications go to the page.
class PageForwarder : public CPropertyGridListener {
public:
    void OnItemChanged(int item) override { mPage->OnItemChanged(item); }
    void OnSelectionChanged(int item) override { mPage->OnSelectionChanged(item); }
    CPropertyGeneral* mPage = nullptr;
};

CameraParameters CameraSet()
{
    CameraInfo info;
    info.name = "Camera";
    CameraParameters params(info);
    auto width = std::make_unique<Param<int>>("Image", "Width", 640, 16, 1280, 16);
    width->mDescription = "Width of the image in pixels";
    params.Add(std::move(width));
    params.Add(std::make_unique<Param<int>>("Image", "SensorWidth", 1280, 1280, 1280, 0));
    params.GetParam("SensorWidth")->mEnabled = false;
    params.Add(std::make_unique<Param<double>>("Acquisition", "FrameRate", 30.0003001, 0.5, 30.0003001, 0));
    auto trigger = std::make_unique<ParamEnum>("Acquisition", "TriggerMode", "Off");
    trigger->AddEntry("Off", 0);
    trigger->AddEntry("On", 1);
    params.Add(std::move(trigger));
    auto source = std::make_unique<ParamEnum>("Acquisition", "TriggerSource", "Line1");
    source->AddEntry("Line1", 0);
    source->AddEntry("Software", 7);
    params.Add(std::move(source));
    params.Add(std::make_unique<Param<std::string>>("Info", "DeviceLocation", "Line 3"));
    auto constraint = std::make_unique<ConstraintEnumOff>("TriggerMode", "Off");
    constraint->mDependents.insert("TriggerSource");
    params.AddConstraint(std::move(constraint));
    std::string error;
    params.Validate(error);
    return params;
}

class PropertyGeneralTest : public ::testing::Test {
protected:
    // A run of the dialog's page over a copy of the set.
    struct Run {
        explicit Run(const CameraParameters& params) : mCopy(params), mPage(mCopy, mSheet, mGrid, mLabels)
        {
            mForwarder.mPage = &mPage;
            mGrid.SetListener(&mForwarder);
            mGrid.SetRowHeight(20);
            mGrid.SetClientSize(400, 600);
            mPage.SetUp();
        }
        int Row(const std::string& name) const
        {
            for (const auto& section : mGrid.GetSections()) {
                for (const auto& item : section->mItems) {
                    if (item->mName == name) {
                        return item->mId;
                    }
                }
            }
            return -1;
        }
        bool Enabled(const std::string& name) const { return mGrid.FindItem(Row(name))->mEnabled; }

        CameraParameters mCopy;
        RecordingSheet mSheet;
        RecordingLabels mLabels;
        CPropertyGridModel mGrid;
        PageForwarder mForwarder;
        CPropertyGeneral mPage;
    };

    CameraParameters mParams = CameraSet();
};

TEST_F(PropertyGeneralTest, OneRowPerVisibleParameterInSectionsByCategory)
{
    Run run(mParams);
    std::vector<std::string> sections;
    for (const auto& section : run.mGrid.GetSections()) {
        sections.push_back(section->mName);
    }
    EXPECT_EQ(sections, (std::vector<std::string>{"General", "Image", "Acquisition", "Info"}));
    EXPECT_EQ(run.Row("DebugViewOutput"), -1) << "hidden";
    EXPECT_NE(run.Row("LogIntoFile"), -1);
    EXPECT_FALSE(run.Enabled("SensorWidth"));
    EXPECT_FALSE(run.Enabled("TriggerSource")) << "a constraint switched it off";
    std::string text;
    EXPECT_TRUE(run.mGrid.GetItemValue(run.Row("TriggerMode"), text));
    EXPECT_EQ(text, "Off");
    EXPECT_EQ(run.mLabels.mName, "");
    EXPECT_EQ(run.mLabels.mDescription, "");
    EXPECT_EQ(run.mGrid.GetFocusedItem(), -1);
}

TEST_F(PropertyGeneralTest, TheLabelsNameTheSelectedParameterWithItsRange)
{
    Run run(mParams);
    run.mGrid.SetFocusedItem(run.Row("Width"));
    EXPECT_EQ(run.mLabels.mName, "Width [16..1280]");
    EXPECT_EQ(run.mLabels.mDescription, "Width of the image in pixels");
    run.mGrid.SetFocusedItem(run.Row("FrameRate"));
    EXPECT_EQ(run.mLabels.mName, "FrameRate [0.5..30.0003001]");
    run.mGrid.SetFocusedItem(run.Row("SensorWidth"));
    EXPECT_EQ(run.mLabels.mName, "SensorWidth") << "a disabled number shows its name alone";
    run.mGrid.SetFocusedItem(run.Row("DeviceLocation"));
    EXPECT_EQ(run.mLabels.mName, "DeviceLocation");
    run.mPage.OnSelectionChanged(-1);
    EXPECT_EQ(run.mLabels.mName, "");

    const Param_* last = run.mCopy.GetParam("LastFocusedItemName");
    EXPECT_EQ(dynamic_cast<const Param<std::string>&>(*last).mValue, "DeviceLocation");
    EXPECT_TRUE(last->mGeneral);
    EXPECT_FALSE(last->mPersistent);
    EXPECT_FALSE(last->mVisible);
    EXPECT_FALSE(last->mEnabled);
    EXPECT_FALSE(mParams.HasParam("LastFocusedItemName")) << "the camera's own set is untouched";
}

TEST_F(PropertyGeneralTest, TheRowSelectedInARunThatEndedWithOkIsFocusedNextTime)
{
    {
        Run accepted(mParams);
        accepted.mGrid.SetFocusedItem(accepted.Row("FrameRate"));
        mParams = accepted.mCopy;
    }
    {
        Run cancelled(mParams);
        EXPECT_EQ(cancelled.mGrid.GetFocusedItem(), cancelled.Row("FrameRate"));
        EXPECT_EQ(cancelled.mLabels.mName, "") << "focused, but not yet selected by the user";
        cancelled.mGrid.SetFocusedItem(cancelled.Row("Width"));
    }
    Run again(mParams);
    EXPECT_EQ(again.mGrid.GetFocusedItem(), again.Row("FrameRate"));
}

TEST_F(PropertyGeneralTest, EveryEditIsValidatedAndOkFollows)
{
    Run run(mParams);
    const int width = run.Row("Width");
    run.mGrid.OnEditBoxText(width, "645");
    EXPECT_FALSE(run.mSheet.mOkEnabled);
    EXPECT_EQ(run.mSheet.mStatus, "General: Image: Width: must go in increments of 16 starting from minValue=16");
    EXPECT_EQ(dynamic_cast<Param<int>&>(*run.mCopy.GetParam("Width")).mValue, 645);

    run.mGrid.OnEditBoxText(width, "800");
    EXPECT_TRUE(run.mSheet.mOkEnabled);
    EXPECT_EQ(run.mSheet.mStatus, "");

    // A number beyond 32 bits is out of range, not cut to its low bits.
    run.mGrid.OnEditBoxText(width, "4294967306");
    EXPECT_FALSE(run.mSheet.mOkEnabled);
    EXPECT_EQ(run.mSheet.mStatus, "General: Image: Width: out of range [16..1280]");
    run.mGrid.OnEditBoxText(width, "1280");
    EXPECT_TRUE(run.mSheet.mOkEnabled);

    // Leaving a number's edit box as it was keeps its exact value, even at the maximum.
    const int rate = run.Row("FrameRate");
    run.mGrid.OnEditBoxText(rate, run.mGrid.GetEditText(rate));
    EXPECT_EQ(dynamic_cast<Param<double>&>(*run.mCopy.GetParam("FrameRate")).mValue, 30.0003001);
    EXPECT_TRUE(run.mSheet.mOkEnabled);

    EXPECT_EQ(dynamic_cast<Param<int>&>(*mParams.GetParam("Width")).mValue, 640) << "only the copy changes";
}

TEST_F(PropertyGeneralTest, ConstraintsSwitchRowsOnAndOffAsTheUserEdits)
{
    Run run(mParams);
    ASSERT_FALSE(run.Enabled("TriggerSource"));
    run.mGrid.OnDropDownChoice(run.Row("TriggerMode"), 1);
    EXPECT_EQ(dynamic_cast<ParamEnum&>(*run.mCopy.GetParam("TriggerMode")).mValue, "On");
    EXPECT_TRUE(run.Enabled("TriggerSource"));
    run.mGrid.OnDropDownChoice(run.Row("TriggerSource"), 1);
    EXPECT_EQ(dynamic_cast<ParamEnum&>(*run.mCopy.GetParam("TriggerSource")).mValue, "Software");
    run.mGrid.OnDropDownChoice(run.Row("TriggerMode"), 0);
    EXPECT_FALSE(run.Enabled("TriggerSource"));

    const int flag = run.Row("LogIntoFile");
    run.mGrid.OnDropDownChoice(flag, 0);
    EXPECT_TRUE(dynamic_cast<Param<bool>&>(*run.mCopy.GetParam("LogIntoFile")).mValue);
    run.mGrid.OnEditBoxText(run.Row("DeviceLocation"), "Line 4 Side");
    EXPECT_EQ(dynamic_cast<Param<std::string>&>(*run.mCopy.GetParam("DeviceLocation")).mValue, "Line 4 Side");
    EXPECT_TRUE(run.mSheet.mOkEnabled) << "a text has no range to leave";
}

TEST_F(PropertyGeneralTest, AdaptersRefuseWhatTheyCannotShow)
{
    // A parameter type the dialog knows no adapter for.
    struct Odd : Param<int> {
        Odd() : Param<int>("Image", "Odd", 1, 0, 2, 0) {}
    } odd;
    EXPECT_THROW(
        {
            try {
                GetAdapter(odd);
            } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), "Unsupported parameter type");
                throw;
            }
        },
        std::runtime_error);

    CPropertyGridModel grid;
    const int section = grid.AddSection("Image");
    Param<double> rate("Image", "FrameRate", 1.0, 0.0, 2.0, 0.0);
    Param<int> width("Image", "Width", 1, 0, 2, 0);
    try {
        GetAdapter(width)->CreateItem(rate, grid, section);
        FAIL();
    } catch (const std::bad_cast& e) {
        EXPECT_STREQ(e.what(), "Wrong parameter 'FrameRate' type");
    }
    const int item = GetAdapter(width)->CreateItem(width, grid, section);
    Param<std::string> name("Image", "Width", "x");
    try {
        GetAdapter(name)->SetParamFromItem(name, grid, item);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Failed to get control 'Width' value");
    }
    try {
        GetAdapter(width)->SetItemFromParam(width, grid, item + 100);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Failed to set control 'Width' value");
    }
    // A display format from the parameter's options.
    width.mOptions["Format"] = std::string("%I64d px");
    const int formatted = GetAdapter(width)->CreateItem(width, grid, grid.AddSection("Other"));
    EXPECT_EQ(grid.GetItemText(formatted), "1 px");
}

TEST(StatusTextTest, LongMessagesAreCut)
{
    EXPECT_EQ(StatusText("General", "Image: Width: out of range [0..4]"), "General: Image: Width: out of range [0..4]");
    const std::string cut = StatusText("General", std::string(400, 'x'));
    EXPECT_EQ(cut.size(), 254u);
    EXPECT_EQ(cut.substr(0, 10), "General: x");
}

}
