// The parameter model: conversions to and from text, ranges, enumerations,
// options, and the parameter set with its lookup and copies.
#include "params/CameraParameters.h"
#include "params/NumberText.h"
#include "params/ParamEnum.h"

#include <gtest/gtest.h>

#include <boost/any.hpp>

#include <clocale>
#include <cmath>
#include <limits>
#include <sstream>
#include <typeinfo>

namespace {

CameraInfo Info(const char* name = "Camera A")
{
    CameraInfo info;
    info.flags = 1;
    info.name = name;
    return info;
}

std::string RangeOf(const Param_& param)
{
    std::ostringstream text;
    param.PrintRange(text);
    return text.str();
}

TEST(NumberTextTest, IntegersReadLikeAtoiAndSaturate)
{
    EXPECT_EQ(NumberText::ParseInt("  -42abc"), -42);
    EXPECT_EQ(NumberText::ParseInt("+7"), 7);
    EXPECT_EQ(NumberText::ParseInt("abc"), 0);
    EXPECT_EQ(NumberText::ParseInt(""), 0);
    EXPECT_EQ(NumberText::ParseInt(nullptr), 0);
    EXPECT_EQ(NumberText::ParseInt("4294967306"), std::numeric_limits<int>::max());
    EXPECT_EQ(NumberText::ParseInt("-99999999999999999999999"), std::numeric_limits<int>::min());
    EXPECT_EQ(NumberText::ParseInt64("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(NumberText::ParseInt64("9223372036854775808"), std::numeric_limits<std::int64_t>::max());
}

TEST(NumberTextTest, DoublesReadLikeStrtodInTheCLocale)
{
    EXPECT_DOUBLE_EQ(NumberText::ParseDouble(" 29.97fps"), 29.97);
    EXPECT_DOUBLE_EQ(NumberText::ParseDouble("+1.5e2"), 150.0);
    EXPECT_DOUBLE_EQ(NumberText::ParseDouble("-0x1.8p1"), -3.0);
    EXPECT_DOUBLE_EQ(NumberText::ParseDouble("0x"), 0.0);
    EXPECT_DOUBLE_EQ(NumberText::ParseDouble("+-1"), 0.0);
    EXPECT_DOUBLE_EQ(NumberText::ParseDouble("1,5"), 1.0);
    EXPECT_TRUE(std::isinf(NumberText::ParseDouble("1e999")));
    EXPECT_LT(NumberText::ParseDouble("-1e999"), 0.0);
    EXPECT_EQ(NumberText::ParseDouble("1e-999"), 0.0);
    EXPECT_EQ(NumberText::ParseDouble("0.0000000001e-400"), 0.0);
    EXPECT_TRUE(std::isinf(NumberText::ParseDouble("100000e306")));
    EXPECT_TRUE(std::isnan(NumberText::ParseDouble("nan")));
    EXPECT_TRUE(std::isinf(NumberText::ParseDouble("-infinity")));
}

// A host in a decimal-comma locale must read back what the driver wrote.
TEST(NumberTextTest, DoublesIgnoreTheHostsLocale)
{
    const char* locales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "German_Germany.1252"};
    const std::string before = std::setlocale(LC_ALL, nullptr);
    const char* used = nullptr;
    for (const char* name : locales) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            used = name;
            break;
        }
    }
    if (used == nullptr) {
        GTEST_SKIP() << "no decimal-comma locale on this system";
    }
    Param<double> rate("Acquisition", "FrameRate", 29.97, 1, 60, 0);
    const std::string text = rate.ToString();
    rate.FromString("0", false);
    rate.FromString(text.c_str(), false);
    const double value = rate.mValue;
    const double comma = NumberText::ParseDouble("29,97");
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_EQ(text, "29.969999999999999");
    EXPECT_DOUBLE_EQ(value, 29.97) << used;
    EXPECT_DOUBLE_EQ(comma, 29.0);
}

TEST(ParamTest, TextConversionsOfEachType)
{
    Param<int> level("General", "LogLevel", 1, 0, 4, 0);
    level.FromString("7", true);
    EXPECT_EQ(level.mValue, 4);
    level.FromString("7", false);
    EXPECT_EQ(level.mValue, 7);
    EXPECT_FALSE(level.IsInRange());
    level.FromString("abc", false);
    EXPECT_EQ(level.mValue, 0);
    level.FromString("-2", true);
    EXPECT_EQ(level.mValue, 0);

    Param<bool> flag("General", "LogIntoFile", false);
    flag.FromString("1", false);
    EXPECT_TRUE(flag.mValue);
    EXPECT_STREQ(flag.ToString(), "1");
    flag.FromString("true", false);
    EXPECT_FALSE(flag.mValue);
    EXPECT_STREQ(flag.ToString(), "0");

    Param<double> gain("Analog", "GainAbs", 0.1, 0, 10, 0);
    EXPECT_STREQ(gain.ToString(), "0.10000000000000001");
    gain.mValue = 1.5;
    EXPECT_STREQ(gain.ToString(), "1.5");
    gain.mValue = 30;
    EXPECT_STREQ(gain.ToString(), "30");

    Param<std::string> text("Info", "UserName", "line 3");
    text.FromString(nullptr, false);
    EXPECT_EQ(text.mValue, "");
}

TEST(ParamTest, ClampingAppliesTheMinimumFirst)
{
    Param<int> inverted("Image", "Width", 5, 10, 2, 0);
    inverted.FromString("0", true);
    EXPECT_EQ(inverted.mValue, 2);
    inverted.FromString("50", true);
    EXPECT_EQ(inverted.mValue, 2);

    Param<std::string> text("Info", "Name", "m");
    text.mMin = "b";
    text.mMax = "d";
    text.FromString("a", true);
    EXPECT_EQ(text.mValue, "b");
    text.FromString("z", true);
    EXPECT_EQ(text.mValue, "d");
}

TEST(ParamTest, PrintingUsesTheStreamsOwnFormatting)
{
    Param<int> level("General", "LogLevel", 1, 0, 4, 0);
    EXPECT_EQ(RangeOf(level), "[0..4]");
    Param<double> rate("Acquisition", "FrameRate", 30.0003001, 0.5, 99.91234567, 0);
    EXPECT_EQ(RangeOf(rate), "[0.5..99.9123]");
    std::ostringstream line;
    rate.Print(line);
    EXPECT_EQ(line.str(), "FrameRate=30.0003\n");
}

TEST(ParamTest, AssignCopiesEverythingButRefusesAnotherType)
{
    Param<int> source("Image", "Width", 640, 16, 1280, 16);
    source.mEnabled = false;
    source.mVisible = false;
    source.mDescription = "the width";
    source.mOptions["Format"] = std::string("%d px");
    Param<int> target("Other", "Height", 1, 0, 2, 1);
    target.Assign(source);
    EXPECT_EQ(target.mName, "Width");
    EXPECT_EQ(target.mCategory, "Image");
    EXPECT_EQ(target.mMax, 1280);
    EXPECT_EQ(target.mIncrement, 16);
    EXPECT_EQ(target.mDefault, 640);
    EXPECT_FALSE(target.mEnabled);
    EXPECT_EQ(target.GetOption<std::string>("Format"), "%d px");

    Param<double> other("Image", "Gain", 1, 0, 2, 0);
    EXPECT_THROW(other.Assign(source), std::bad_cast);
    EXPECT_EQ(other.mName, "Gain");
}

TEST(ParamTest, OptionsAndTheirErrors)
{
    Param<int> width("Image", "Width", 640, 0, 1280, 4);
    width.mOptions["Format"] = std::string("%I64d");
    width.mOptions["Digits"] = 3;
    EXPECT_TRUE(width.HasOption("Format"));
    EXPECT_FALSE(width.HasOption("format"));
    EXPECT_EQ(width.GetOption<int>("Digits"), 3);
    try {
        width.GetOption<int>("Unit");
        FAIL();
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "Parameter Width does not have option Unit");
    }
    EXPECT_THROW(width.GetOption<int>("Format"), boost::bad_any_cast);

    const std::unique_ptr<Param_> clone = width.Clone();
    EXPECT_EQ(clone->GetOption<std::string>("Format"), "%I64d");
}

TEST(ParamEnumTest, EntriesValuesAndRange)
{
    ParamEnum mode("Image", "PixelFormat", "B");
    mode.AddEntry("A", 1);
    EXPECT_EQ(mode.mValue, "A");
    mode.AddEntry("B", 2);
    mode.AddEntry("", 9);
    mode.AddEntry(nullptr, 9);
    mode.AddEntry("Wide", 0x100000001LL);
    EXPECT_EQ(mode.mEntryNames.size(), 3u);
    EXPECT_EQ(mode.GetIntValue(), 1);
    mode.SetIntValue(2);
    EXPECT_EQ(mode.mValue, "B");
    mode.SetIntValue(3);
    EXPECT_EQ(mode.mValue, "B");
    // Entries keep their whole value: no two collide once cut.
    mode.SetIntValue(0x100000001LL);
    EXPECT_EQ(mode.mValue, "Wide");
    mode.SetIntValue(1);
    EXPECT_EQ(mode.mValue, "A");
    EXPECT_EQ(mode.GetIntValue("Missing"), 0);
    EXPECT_EQ(mode.GetIntValue(nullptr), 0);
    EXPECT_EQ(mode.GetMinValue(), 1);
    EXPECT_EQ(mode.GetMaxValue(), 0x100000001LL);
    EXPECT_TRUE(mode.IsInRange());
    mode.FromString("a", false);
    EXPECT_FALSE(mode.IsInRange());

    const std::unique_ptr<Param_> clone = mode.Clone();
    ASSERT_EQ(typeid(*clone), typeid(ParamEnum));
    EXPECT_EQ(static_cast<ParamEnum&>(*clone).mEntryValues, mode.mEntryValues);

    ParamEnum empty("Image", "Binning", "None");
    EXPECT_EQ(empty.GetMinValue(), 0);
    EXPECT_EQ(empty.GetMaxValue(), 0);
}

TEST(CameraParametersTest, GeneralSettingsAndLookupIgnoringCase)
{
    CameraParameters params(Info());
    ASSERT_EQ(params.GetParams().size(), 4u);
    EXPECT_EQ(params.GetParams()[0]->mName, "LogLevel");
    EXPECT_EQ(params.GetParams()[1]->mName, "LogIntoFile");
    EXPECT_EQ(params.GetParams()[2]->mName, "DebugViewOutput");
    EXPECT_EQ(params.GetParams()[3]->mName, "GrabBuffers");
    EXPECT_FALSE(params.GetParam("LogIntoFile")->mPersistent);
    EXPECT_FALSE(params.GetParam("DebugViewOutput")->mVisible);
    EXPECT_FALSE(params.GetParam("GrabBuffers")->mVisible);
    EXPECT_EQ(params.GetLogLevel(), 1);
    EXPECT_FALSE(params.GetLogIntoFile());
    EXPECT_EQ(params.GetDebugViewOutput(), 0);
    EXPECT_EQ(params.GetGrabBuffers(), 5);

    EXPECT_TRUE(params.Add(std::make_unique<Param<int>>("Image", "Width", 640, 0, 1280, 4)));
    EXPECT_EQ(params.GetParam("width")->mName, "Width");
    EXPECT_FALSE(params.Add(std::make_unique<Param<int>>("General", "LOGLEVEL", 4, 0, 4, 0)));
    EXPECT_EQ(params.GetParams().size(), 5u);
    EXPECT_FALSE(params.Add(nullptr));
    try {
        params.GetParam("Gain");
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "CameraParameters::GetParam: Parameter 'Gain' does not exist");
    }
}

TEST(CameraParametersTest, CopiesCloneParametersAndConstraints)
{
    CameraParameters source(Info());
    for (int i = 0; i < 17; ++i) {
        source.Add(std::make_unique<Param<int>>("Image", "P" + std::to_string(i), i, 0, 100, 0));
    }
    static_cast<Param<int>&>(*source.GetParam("LogLevel")).mValue = 4;
    source.GetParam("DebugViewOutput")->mEnabled = false;

    CameraParameters copy(source);
    ASSERT_EQ(copy.GetParams().size(), 21u);
    for (std::size_t i = 0; i < 21; ++i) {
        EXPECT_EQ(copy.GetParams()[i]->mName, source.GetParams()[i]->mName);
        EXPECT_NE(copy.GetParams()[i].get(), source.GetParams()[i].get());
    }
    EXPECT_EQ(copy.GetLogLevel(), 4);
    EXPECT_FALSE(copy.GetParam("DebugViewOutput")->mEnabled);
    EXPECT_EQ(copy.GetParam("p16"), copy.GetParams()[20].get());

    CameraParameters other(Info("Camera B"));
    other = source;
    EXPECT_EQ(other.GetInfo().name, "Camera A");
    EXPECT_EQ(other.GetParams().size(), 21u);
}

}
