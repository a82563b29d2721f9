// The settings file: driver settings in "General", camera parameters in the
// camera's section, written only when asked and never silently lost.
#include "diag/DriverContext.h"
#include "os/Profile.h"
#include "params/CameraParameters.h"
#include "params/ParamEnum.h"
#include "params/SettingsFile.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    SettingsFileTest()
    {
        DriverContext::Instance().SetSystemPath(mFolder.Path());
        DriverContext::Instance().SetDebugMsgProc(TestSupport::LogCapture::Callback());
    }
    ~SettingsFileTest() override { DriverContext::Instance().SetDebugMsgProc(nullptr); }

    std::string Ini() const { return mFolder.File("Kavrix.ini"); }
    void Store(const char* section, const char* key, const char* value) const
    {
        ASSERT_TRUE(Os::WriteProfileString(section, key, value, Ini()));
    }
    std::string Stored(const char* section, const char* key) const
    {
        return Os::ReadProfileString(section, key, "(none)", Ini(), 256);
    }

    static CameraParameters CameraSet(const char* name)
    {
        CameraInfo info;
        info.name = name;
        CameraParameters params(info);
        params.Add(std::make_unique<Param<int>>("Image", "Width", 640, 16, 1280, 16));
        params.Add(std::make_unique<Param<double>>("Acquisition", "FrameRate", 29.97, 1, 60, 0));
        auto format = std::make_unique<ParamEnum>("Image", "PixelFormat", "Mono8");
        format->AddEntry("Mono8", 0x01080001);
        format->AddEntry("Mono12", 0x01100005);
        params.Add(std::move(format));
        params.Add(std::make_unique<Param<std::string>>("Info", "UserName", "line"));
        params.Add(std::make_unique<Param<bool>>("Image", "ReverseX", false));
        return params;
    }

    template <typename T>
    static T& Get(CameraParameters& params, const char* name)
    {
        return dynamic_cast<T&>(*params.GetParam(name));
    }

    TestSupport::TempFolder mFolder;
    TestSupport::LogCapture mLog;
};

TEST_F(SettingsFileTest, NoFileLeavesEveryValueAndCreatesNothing)
{
    CameraParameters params = CameraSet("Camera A");
    params.ReadSettings();
    EXPECT_EQ(Get<Param<int>>(params, "Width").mValue, 640);
    EXPECT_EQ(Get<Param<double>>(params, "FrameRate").mValue, 29.97);
    EXPECT_EQ(params.GetLogLevel(), 1);
    EXPECT_FALSE(std::filesystem::exists(Ini()));
}

TEST_F(SettingsFileTest, DriverSettingsAreClampedCameraValuesAreReadAsStored)
{
    Store("General", "LogLevel", "9");
    Store("General", "DebugViewOutput", "-2");
    Store("General", "LogIntoFile", "1");
    Store("Camera A", "Width", "4000");
    Store("Camera A", "PixelFormat", "Mono16");
    Store("Camera A", "Gain_dB", "12");
    Store("camera a", "framerate", "12.5");
    CameraParameters params = CameraSet("Camera A");
    params.ReadSettings();
    EXPECT_EQ(params.GetLogLevel(), 4);
    EXPECT_EQ(params.GetDebugViewOutput(), 0);
    EXPECT_FALSE(params.GetLogIntoFile());
    EXPECT_EQ(Get<Param<int>>(params, "Width").mValue, 4000);
    EXPECT_EQ(Get<ParamEnum>(params, "PixelFormat").mValue, "Mono16");
    EXPECT_EQ(Get<Param<double>>(params, "FrameRate").mValue, 12.5);
    EXPECT_FALSE(params.HasParam("Gain_dB"));
}

TEST_F(SettingsFileTest, DisabledParametersAreNeitherReadNorWritten)
{
    Store("Camera A", "Width", "800");
    CameraParameters params = CameraSet("Camera A");
    params.GetParam("Width")->mEnabled = false;
    params.ReadSettings();
    EXPECT_EQ(Get<Param<int>>(params, "Width").mValue, 640);
    Get<Param<int>>(params, "Width").mValue = 1024;
    params.WriteSettings();
    EXPECT_EQ(Stored("Camera A", "Width"), "800");
}

TEST_F(SettingsFileTest, WritingStoresEveryPersistentParameterAndReadsBackTheSame)
{
    CameraParameters params = CameraSet("Camera A");
    Get<Param<int>>(params, "LogLevel").mValue = 3;
    Get<Param<bool>>(params, "LogIntoFile").mValue = true;
    Get<Param<double>>(params, "FrameRate").mValue = 0.1;
    Get<ParamEnum>(params, "PixelFormat").mValue = "Mono12";
    Get<Param<std::string>>(params, "UserName").mValue = "Line 3 Top";
    Get<Param<bool>>(params, "ReverseX").mValue = true;
    params.WriteSettings();
    EXPECT_EQ(Stored("General", "LogLevel"), "3");
    EXPECT_EQ(Stored("General", "DebugViewOutput"), "0");
    EXPECT_EQ(Stored("General", "LogIntoFile"), "(none)");
    EXPECT_EQ(Stored("Camera A", "FrameRate"), "0.10000000000000001");
    EXPECT_EQ(Stored("Camera A", "ReverseX"), "1");

    CameraParameters other = CameraSet("Camera B");
    other.WriteSettings();
    CameraParameters again = CameraSet("Camera A");
    again.ReadSettings();
    // "General" is shared: the last camera written decides it.
    EXPECT_EQ(again.GetLogLevel(), 1);
    EXPECT_EQ(Get<Param<double>>(again, "FrameRate").mValue, 0.1);
    EXPECT_EQ(Get<ParamEnum>(again, "PixelFormat").mValue, "Mono12");
    EXPECT_EQ(Get<Param<std::string>>(again, "UserName").mValue, "Line 3 Top");
    EXPECT_TRUE(Get<Param<bool>>(again, "ReverseX").mValue);
    EXPECT_EQ(Stored("Camera B", "Width"), "640");
}

// What one system writes, the other reads the same: this file is the one
// both builds must agree on, byte for byte.
TEST_F(SettingsFileTest, TheFileReadsTheSameOnEverySystem)
{
    const std::string shared = TestSupport::SourceDir() + "/tests/params/data/Kavrix.ini";
    std::filesystem::copy_file(shared, Ini());
    CameraParameters params = CameraSet("Kavrix KX-1300-60gm (21810742)");
    params.ReadSettings();
    EXPECT_EQ(params.GetLogLevel(), 2);
    EXPECT_EQ(params.GetDebugViewOutput(), 1);
    EXPECT_EQ(Get<Param<int>>(params, "Width").mValue, 800);
    EXPECT_EQ(Get<Param<double>>(params, "FrameRate").mValue, 29.97);
    EXPECT_EQ(Get<ParamEnum>(params, "PixelFormat").mValue, "Mono12");
    EXPECT_EQ(Get<Param<std::string>>(params, "UserName").mValue, "Line 3 Top");

    std::filesystem::remove(Ini());
    params.WriteSettings();
    CameraParameters written = CameraSet("Kavrix KX-1300-60gm (21810742)");
    written.ReadSettings();
    EXPECT_EQ(Get<Param<double>>(written, "FrameRate").mValue, 29.97);
    EXPECT_EQ(Stored("Kavrix KX-1300-60gm (21810742)", "FrameRate"), "29.969999999999999");
}

TEST_F(SettingsFileTest, ValuesThatCannotBeStoredAreReported)
{
    CameraParameters params = CameraSet("Camera A");
    Get<Param<std::string>>(params, "UserName").mValue = "first\n[General]\nLogLevel=4";
    params.WriteSettings();
    EXPECT_EQ(Stored("Camera A", "UserName"), "(none)");
    EXPECT_EQ(Stored("General", "LogLevel"), "1");
    EXPECT_EQ(Stored("Camera A", "Width"), "640");
    EXPECT_TRUE(mLog.Contains("CameraParameters::WriteSettings: ERROR: could not write key UserName of section "
                              "Camera A to " + Ini() + "\n"));

    // A file in a folder that does not exist cannot be written at all.
    DriverContext::Instance().SetSystemPath(mFolder.File("missing"));
    mLog.Clear();
    params.WriteSettings();
    EXPECT_TRUE(mLog.FindContaining("could not write key LogLevel of section General to ") >= 0);
    EXPECT_TRUE(mLog.FindContaining("could not write key Width of section Camera A to ") >= 0);
}

// A folder (or a pipe, or a device) in the file's place is not written to:
// said once, not once per key.
TEST_F(SettingsFileTest, NothingIsWrittenWhereTheFileIsNoRegularFile)
{
    std::filesystem::create_directory(Ini());
    CameraParameters params = CameraSet("Camera A");
    params.WriteSettings();
    EXPECT_EQ(mLog.Messages(), std::vector<std::string>{"CameraParameters::WriteSettings: ERROR: " + Ini() +
                                                        " is not a regular file; the settings are not written\n"});
    EXPECT_TRUE(std::filesystem::is_directory(Ini()));
}

TEST_F(SettingsFileTest, LongValuesAreCutAt255Characters)
{
    Store("Camera A", "UserName", std::string(300, 'x').c_str());
    CameraParameters params = CameraSet("Camera A");
    params.ReadSettings();
    EXPECT_EQ(Get<Param<std::string>>(params, "UserName").mValue, std::string(255, 'x'));
}

}
