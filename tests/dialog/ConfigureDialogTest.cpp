// The real configuration dialog of Kavrix.dll under Wine on a virtual
// display: a host calls configureCamera, and a user works the dialog with
// window messages and keystrokes; the results are checked through the
// exports and the settings file.
#include "DialogRobot.h"

#include "TLIControl.h"
#include "os/Profile.h"
#include "support/LoadedDriver.h"
#include "support/LogCapture.h"
#include "support/ProducerState.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <thread>


namespace {

using TestSupport::LogCapture;

constexpr const char Kx1300[] = "Kavrix KX-1300-60gm (21810742)";

// Keeps the text of the message box's control that asks about the inspection.
BOOL CALLBACK FindQuestion(HWND child, LPARAM found)
{
    char content[512] = {};
    GetWindowTextA(child, content, sizeof content);
    if (std::string(content).find("inspection") != std::string::npos) {
        *reinterpret_cast<std::string*>(found) = content;
    }
    return TRUE;
}

class ConfigureDialogTest : public ::testing::Test {
protected:
    ConfigureDialogTest()
    {
        Store("General", "LogLevel", "3");
        mHost = CreateWindowExA(0, "STATIC", "Inspection host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300, 200,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        EXPECT_EQ(mDriver->initialize(mFolder.Path().c_str(), LogCapture::Callback()), 1);
    }
    ~ConfigureDialogTest() override
    {
        mDriver->finalize();
        DestroyWindow(mHost);
    }

    std::string Ini() const { return mFolder.File("Kavrix.ini"); }
    void Store(const char* section, const char* key, const char* value) const
    {
        ASSERT_TRUE(Os::WriteProfileString(section, key, value, Ini()));
    }
    std::string Stored(const char* section, const char* key) const
    {
        return Os::ReadProfileString(section, key, "(none)", Ini(), 256);
    }
    static std::string Title(int port) { return "Configure camera on port #" + std::to_string(port) + ": " + Kx1300; }
    // The camera's own parameters exist once it has been opened.
    void LoadParameters()
    {
        int size[2] = {};
        ASSERT_EQ(mDriver->openCVLPort(0, 9, Kx1300, size), 1);
        mDriver->closeCVLPort(0, 9);
    }

    // configureCamera on this thread, the user's actions on another while
    // the dialog is up; a dialog the user leaves open is cancelled.
    int Configure(const std::string& title, const std::function<void(DialogRobot&)>& user)
    {
        std::thread person([&] {
            const HWND sheet = DialogRobot::WaitForWindow(title);
            if (sheet == nullptr) {
                mNoDialog = true;
                return;
            }
            DialogRobot robot(sheet);
            user(robot);
            if (IsWindow(sheet)) {
                robot.PressCancel();
            }
            robot.WaitClosed();
        });
        const int result = mDriver->configureCamera(static_cast<int>(reinterpret_cast<std::intptr_t>(mHost)), Kx1300);
        person.join();
        return result;
    }

    TestSupport::ProducerState mProducer;
    LogCapture mLog;
    TestSupport::TempFolder mFolder;
    TestSupport::LoadedDriver mDriver;
    HWND mHost = nullptr;
    bool mNoDialog = false;
};

TEST_F(ConfigureDialogTest, EditsAreValidatedAtOnceAndOkSavesThem)
{
    std::string statusInvalid;
    std::string widthLabel;
    bool okWhileInvalid = true;
    bool okWhenValid = false;
    bool sourceChosen = false;
    LoadParameters();
    const int result = Configure(Title(0), [&](DialogRobot& robot) {
        if (!robot.SelectRow("Width")) {
            return;
        }
        widthLabel = robot.NameLabel();
        robot.Type("801");
        statusInvalid = robot.Status();
        okWhileInvalid = robot.IsOkEnabled();
        robot.Type("640");
        okWhenValid = robot.IsOkEnabled() && robot.Status().empty();
        robot.SelectRow("TriggerMode");
        robot.Choose(1);
        sourceChosen = robot.SelectRow("TriggerSource") && robot.Choose(3);
        robot.SelectRow("LineInverter");
        robot.Choose(0);
        robot.SelectRow("ExposureTimeRaw");
        robot.Type("2500");
        robot.PressOk();
    });
    ASSERT_FALSE(mNoDialog) << mLog.Dump();
    EXPECT_EQ(result, 0) << "accepted";
    EXPECT_EQ(widthLabel, "Width [16..1280]");
    EXPECT_EQ(statusInvalid, "General: ImageFormat: Width: must go in increments of 8 starting from minValue=16");
    EXPECT_FALSE(okWhileInvalid);
    EXPECT_TRUE(okWhenValid);
    EXPECT_TRUE(sourceChosen);
    EXPECT_EQ(Stored(Kx1300, "Width"), "640");
    EXPECT_EQ(Stored(Kx1300, "TriggerMode"), "On");
    EXPECT_EQ(Stored(Kx1300, "TriggerSource"), "Software");
    EXPECT_EQ(Stored(Kx1300, "LineInverter"), "1");
    EXPECT_EQ(Stored(Kx1300, "ExposureTimeRaw"), "2500");
    EXPECT_EQ(Stored("General", "LogLevel"), "3");
    EXPECT_EQ(Stored("General", "LogIntoFile"), "(none)");

    // The camera gets the values at its next open.
    int size[2] = {};
    ASSERT_EQ(mDriver->openCVLPort(0, 0, Kx1300, size), 1);
    std::int64_t exposure = 0;
    TLICtl_GetRegisterValue(Kx1300, "ExposureTimeRawReg", &exposure);
    EXPECT_EQ(exposure, 2500);
    int value = 0;
    EXPECT_EQ(mDriver->getProperty(0, 0, "TriggerSource", &value), 1);
    EXPECT_EQ(value, 7);
}

TEST_F(ConfigureDialogTest, CancelLeavesParametersAndSettingsAsTheyWere)
{
    int size[2] = {};
    ASSERT_EQ(mDriver->openCVLPort(0, 3, Kx1300, size), 1);
    const std::string before = TestSupport::ReadFile(Ini());
    const int result = Configure(Title(4), [&](DialogRobot& robot) {
        robot.SelectRow("ExposureTimeRaw");
        robot.Type("1234");
    });
    ASSERT_FALSE(mNoDialog);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(TestSupport::ReadFile(Ini()), before);
    int value = 0;
    EXPECT_EQ(mDriver->getProperty(0, 3, "ExposureTimeRaw", &value), 1);
    EXPECT_EQ(value, 10000);
}

TEST_F(ConfigureDialogTest, TheRowSelectedLastIsFocusedAgain)
{
    LoadParameters();
    Configure(Title(0), [](DialogRobot& robot) {
        robot.SelectRow("Gamma");
        robot.PressOk();
    });
    std::string firstLabel = "(not read)";
    std::string afterMove;
    Configure(Title(0), [&](DialogRobot& robot) {
        firstLabel = robot.NameLabel();
        robot.Key(VK_DOWN);
        robot.Key(VK_UP);
        afterMove = robot.NameLabel();
    });
    EXPECT_EQ(firstLabel, "") << "focused, the labels wait for the user";
    EXPECT_EQ(afterMove, "Gamma [0.5..3.9]");
}

TEST_F(ConfigureDialogTest, WhileGrabbingTheUserIsAskedFirst)
{
    int size[2] = {};
    ASSERT_EQ(mDriver->openCVLPort(0, 0, Kx1300, size), 1);
    ASSERT_EQ(mDriver->setProperty(0, 0, "continuous", 1), 1);
    std::string text;
    std::thread person([&] {
        const HWND box = DialogRobot::WaitForWindow(Title(1));
        if (box != nullptr) {
            EnumChildWindows(box, &FindQuestion, reinterpret_cast<LPARAM>(&text));
            PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        }
    });
    const int result = mDriver->configureCamera(static_cast<int>(reinterpret_cast<std::intptr_t>(mHost)), Kx1300);
    person.join();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(text, "Configuring camera properties while inspection is running may cause undesired effects. "
                    "Continue anyway ?");
    EXPECT_FALSE(mLog.Contains("Camera::Configure: leaving\n"));
    mDriver->setProperty(0, 0, "continuous", 0);
}

// A camera never opened has only the driver settings to show.
TEST_F(ConfigureDialogTest, ACameraNeverOpenedShowsTheDriverSettings)
{
    bool hasGeneral = false;
    bool hasWidth = true;
    Configure(Title(0), [&](DialogRobot& robot) {
        hasGeneral = robot.SelectRow("LogLevel");
        hasWidth = robot.SelectRow("Width");
    });
    EXPECT_TRUE(hasGeneral);
    EXPECT_FALSE(hasWidth);
}

TEST_F(ConfigureDialogTest, NoFinalizeWhileTheDialogIsOpen)
{
    int finalizeResult = -1;
    Configure(Title(0), [&](DialogRobot&) { finalizeResult = mDriver->finalize(); });
    EXPECT_EQ(finalizeResult, 0);
    EXPECT_TRUE(mLog.Contains("finalize: ERROR: configuration dialog is open\n"));
    EXPECT_EQ(mDriver->getCVLNoOfSupportedCameras(), 2) << "the cameras are still there";
}

}
