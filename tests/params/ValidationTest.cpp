// Constraints (writing order, switching dependents) and the validation of a
// parameter set with its messages.
#include "params/CameraParameters.h"
#include "params/ConstraintOrder.h"
#include "params/NodeMapParams.h"
#include "params/ParamEnum.h"
#include "support/LogCapture.h"
#include "diag/DriverContext.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

CameraInfo Info()
{
    CameraInfo info;
    info.name = "Camera";
    return info;
}

template <typename T>
Param<T>& Add(CameraParameters& params, const char* category, const char* name, T value, T min, T max, T inc)
{
    params.Add(std::make_unique<Param<T>>(category, name, value, min, max, inc));
    return static_cast<Param<T>&>(*params.GetParam(name));
}

ParamEnum& AddEnum(CameraParameters& params, const char* category, const char* name,
                   std::initializer_list<const char*> entries)
{
    auto param = std::make_unique<ParamEnum>(category, name, "");
    std::int64_t value = 0;
    for (const char* entry : entries) {
        param->AddEntry(entry, value++);
    }
    params.Add(std::move(param));
    return static_cast<ParamEnum&>(*params.GetParam(name));
}

// The names after the driver's four settings.
std::vector<std::string> Names(const CameraParameters& params)
{
    std::vector<std::string> names;
    for (std::size_t i = 4; i < params.GetParams().size(); ++i) {
        names.push_back(params.GetParams()[i]->mName);
    }
    return names;
}

std::string ErrorOf(CameraParameters& params)
{
    std::string error = "(valid)";
    params.Validate(error);
    return error;
}

TEST(ConstraintTest, ReorderMovesDependentsBehindTheLastAnchor)
{
    CameraParameters params(Info());
    for (const char* name : {"A", "Height", "B", "OffsetY", "C"}) {
        Add<int>(params, "Image", name, 0, 0, 10, 0);
    }
    auto order = std::make_unique<ConstraintOrder>("OffsetY", "not-used");
    order->mDependents.insert("Height");
    params.AddConstraint(std::move(order));
    EXPECT_EQ(Names(params), (std::vector<std::string>{"A", "B", "OffsetY", "Height", "C"}));

    auto missing = std::make_unique<ConstraintOrder>("OffsetX", "not-used");
    missing->mDependents.insert("A");
    params.AddConstraint(std::move(missing));
    EXPECT_EQ(Names(params), (std::vector<std::string>{"A", "B", "OffsetY", "Height", "C"}));

    auto several = std::make_unique<ConstraintEnumOff>("B", "Off");
    several->mDependents = {"C", "A", "B"};
    params.AddConstraint(std::move(several));
    EXPECT_EQ(Names(params), (std::vector<std::string>{"B", "A", "C", "OffsetY", "Height"}));
}

TEST(ConstraintTest, TheFamilyRulesOrderOffsetsBeforeSizesAndAutomaticsBeforeValues)
{
    CameraParameters params(Info());
    for (const char* name : {"Width", "Height", "OffsetX", "OffsetY"}) {
        Add<int>(params, "A", name, 0, 0, 10, 0);
    }
    AddEnum(params, "B", "GainAuto", {"Off", "Continuous"});
    Add<double>(params, "B", "GainAbs", 0, 0, 10, 0);
    AddEnum(params, "C", "TriggerMode", {"Off", "On"});
    NodeMapParams::AddConstraints(params);
    EXPECT_EQ(Names(params), (std::vector<std::string>{"OffsetX", "Width", "OffsetY", "Height", "GainAuto", "GainAbs",
                                                       "TriggerMode"}));
    // A trigger mode without trigger features still gets its rule, which changes nothing.
    std::string error;
    EXPECT_TRUE(params.Validate(error));
}

TEST(ValidationTest, EnumerationsSwitchTheirDependents)
{
    CameraParameters params(Info());
    ParamEnum& trigger = AddEnum(params, "Trigger", "TriggerMode", {"Off", "On"});
    ParamEnum& source = AddEnum(params, "Trigger", "TriggerSource", {"Line1", "Software"});
    Param<int>& delay = Add<int>(params, "Trigger", "TriggerDelayRaw", 5, 0, 10, 0);
    ParamEnum& gainAuto = AddEnum(params, "Analog", "GainAuto", {"Off", "Continuous"});
    Param<double>& gain = Add<double>(params, "Analog", "GainAbs", 50, 0, 10, 0);
    NodeMapParams::AddConstraints(params);

    source.mValue = "Nowhere";
    gainAuto.mValue = "Continuous";
    EXPECT_EQ(ErrorOf(params), "(valid)");
    EXPECT_FALSE(source.mEnabled);
    EXPECT_FALSE(delay.mEnabled);
    EXPECT_FALSE(gain.mEnabled);

    trigger.mValue = "On";
    EXPECT_EQ(ErrorOf(params), "Trigger: TriggerSource: out of range [..]");
    EXPECT_TRUE(delay.mEnabled);
    source.mValue = "Software";
    gainAuto.mValue = "Off";
    EXPECT_EQ(ErrorOf(params), "Analog: GainAbs: out of range [0..10]");
    gain.mValue = 9.5;
    EXPECT_EQ(ErrorOf(params), "(valid)");
}

TEST(ValidationTest, AFailingConstraintStillLetsTheRangesBeChecked)
{
    TestSupport::LogCapture log;
    DriverContext::Instance().SetDebugMsgProc(TestSupport::LogCapture::Callback());
    CameraParameters params(Info());
    Add<int>(params, "Image", "Width", 700, 0, 640, 0);
    auto broken = std::make_unique<ConstraintEnumOff>("Width", "Off");
    params.AddConstraint(std::move(broken));
    auto missing = std::make_unique<ConstraintEnumOff>("Missing", "Off");
    params.AddConstraint(std::move(missing));
    EXPECT_EQ(ErrorOf(params), "Image: Width: out of range [0..640]");
    EXPECT_TRUE(log.Contains("ConstraintEnumOff::Apply: Parameter 'Width' is not enumeration\n"));
    EXPECT_TRUE(log.Contains("CameraParameters::Validate: Failed to apply constraints due: "
                             "CameraParameters::GetParam: Parameter 'Missing' does not exist\n"));
    DriverContext::Instance().SetDebugMsgProc(nullptr);
}

TEST(ValidationTest, IncrementsAndDisabledParameters)
{
    CameraParameters params(Info());
    Param<int>& width = Add<int>(params, "Image", "Width", 645, 0, 1280, 4);
    EXPECT_EQ(ErrorOf(params), "Image: Width: must go in increments of 4 starting from minValue=0");
    width.mEnabled = false;
    EXPECT_EQ(ErrorOf(params), "(valid)");
    width.mEnabled = true;
    width.mValue = 644;
    Param<bool>& flag = Add<bool>(params, "Image", "Reverse", true, false, false, false);
    flag.mValue = true;
    EXPECT_EQ(ErrorOf(params), "(valid)");

    // mValue - mMin leaves the 32-bit range here; the step test must not overflow.
    Param<int>& wide = Add<int>(params, "Counters", "Timer", std::numeric_limits<int>::max(),
                                std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 2);
    EXPECT_EQ(ErrorOf(params),
              "Counters: Timer: must go in increments of 2 starting from minValue=-2147483648");
    wide.mValue = std::numeric_limits<int>::max() - 1;
    EXPECT_EQ(ErrorOf(params), "(valid)");
}

TEST(ValidationTest, TextsHaveNoRange)
{
    CameraParameters params(Info());
    Param<std::string>& name = Add<std::string>(params, "Info", "UserName", "line", "line", "line", "");
    name.mValue = "line 3 top";
    EXPECT_EQ(ErrorOf(params), "(valid)");
    ParamEnum& format = AddEnum(params, "Image", "PixelFormat", {"Mono8"});
    format.mValue = "Mono16";
    EXPECT_EQ(ErrorOf(params), "Image: PixelFormat: out of range [..]");
}

TEST(ValidationTest, HeightUnderVerticalBinning)
{
    CameraParameters params(Info());
    ParamEnum& binning = AddEnum(params, "Image", "Binning", {"NoBinning", "H_Binning", "V_Binning", "HV_Binning"});
    Param<int>& height = Add<int>(params, "Image", "Height", 512, 0, 1024, 2);
    binning.mValue = "V_Binning";
    EXPECT_EQ(ErrorOf(params), "(valid)");
    height.mValue = 514;
    EXPECT_EQ(ErrorOf(params), "Image: Height: out of range [0..512]");
    height.mValue = 301;
    EXPECT_EQ(ErrorOf(params), "Image: Height: must be multiple of 2");
    binning.mValue = "HV_Binning";
    EXPECT_EQ(ErrorOf(params), "Image: Height: must go in increments of 2 starting from minValue=0");

    CameraParameters other(Info());
    Param<int>& vertical = Add<int>(other, "Image", "BinningVertical", 1, 1, 4, 0);
    Add<int>(other, "Image", "Height", 1000, 0, 1024, 0);
    EXPECT_EQ(ErrorOf(other), "(valid)");
    vertical.mValue = 2;
    EXPECT_EQ(ErrorOf(other), "Image: Height: out of range [0..512]");
}

// A stored "nan" lies in no range and infinities beyond every limit: each is
// reported, and where values are clamped, one of the limits takes its place.
TEST(ValidationTest, NotANumberAndInfinitiesAreOutOfRange)
{
    CameraParameters params(Info());
    Param<double>& gain = Add<double>(params, "Analog", "GainAbs", 4.0, 1.0, 16.0, 0.0);
    for (const auto& [text, clamped] : {std::pair<const char*, double>{"nan", 1.0}, {"inf", 16.0}, {"-inf", 1.0}}) {
        gain.FromString(text, false);
        EXPECT_EQ(ErrorOf(params), "Analog: GainAbs: out of range [1..16]") << text;
        gain.FromString(text, true);
        EXPECT_EQ(gain.mValue, clamped) << text;
    }
}

TEST(ValidationTest, FloatingPointRangesShowSixDigits)
{
    CameraParameters params(Info());
    Add<double>(params, "Acquisition", "FrameRate", 100.0, 0.5, 30.0003001, 0.0);
    EXPECT_EQ(ErrorOf(params), "Acquisition: FrameRate: out of range [0.5..30.0003]");
}

}
