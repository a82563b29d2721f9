// Camera names: valid settings sections, the user's name first, unique
// whatever the order the answers came in.
#include "discovery/CameraList.h"
#include "discovery/CameraNames.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Gige;

namespace {

DeviceInfo Camera(std::uint8_t macLast, std::uint32_t ip, const std::string& model, const std::string& serial,
                  const std::string& user = "")
{
    DeviceInfo info{};
    info.mMac = {0x00, 0x0F, 0x31, 0x00, 0x00, macLast};
    info.mIp = ip;
    info.mManufacturer = "Kavrix";
    info.mModel = model;
    info.mSerial = serial;
    info.mUserName = user;
    return info;
}

constexpr std::uint32_t Ip(std::uint8_t last)
{
    return 0xA9FE6400u | last;   // 169.254.100.x
}

HostInterface Kxhost(unsigned prefix = 24)
{
    HostInterface iface;
    iface.mName = "kxhost0 (169.254.100.2/" + std::to_string(prefix) + ")";
    iface.mAddress = Os::Ipv4Address(Ip(2));
    iface.mPrefixLength = prefix;
    return iface;
}

std::vector<std::string> Names(const std::vector<DiscoveredCamera>& cameras)
{
    std::vector<std::string> names;
    for (const auto& camera : cameras)
        names.push_back(camera.mName);
    return names;
}

}

TEST(CameraNames, FieldsBecomeValidSectionNames)
{
    EXPECT_EQ(CleanField("  Line\t3\r\n [top]  "), "Line 3 (top)");
    EXPECT_EQ(CleanField(std::string("a\0b", 3)), "a b") << "a NUL inside a field is a control character";
    EXPECT_EQ(CleanField("\x7F\x01  "), "");
    EXPECT_EQ(CleanField("Kamera \xC3\xBC"), "Kamera \xC3\xBC") << "UTF-8 stays";

    EXPECT_EQ(BaseName(Camera(1, Ip(1), "KX-1300", "21810742")), "Kavrix KX-1300 (21810742)");
    EXPECT_EQ(BaseName(Camera(1, Ip(1), "KX-1300", "21810742", " Line 3 [top] ")), "Line 3 (top)");
    EXPECT_EQ(BaseName(Camera(1, Ip(1), "KX-1300", "\t")), "Kavrix KX-1300 (00:0F:31:00:00:01)");
    DeviceInfo blank = Camera(2, Ip(1), "", "7");
    blank.mManufacturer = "\x01";
    EXPECT_EQ(BaseName(blank), "GigE Vision camera (7)");
}

TEST(CameraNames, EveryRepeatedNameGetsItsMacWhateverTheOrder)
{
    const std::vector<DeviceInfo> answers = {
        Camera(1, Ip(11), "KX", "1", "Station 4"),
        Camera(2, Ip(12), "KX", "2", "Station 4"),
        Camera(3, Ip(13), "KX", "3"),
        // A user-defined name that copies what a repeat becomes.
        Camera(4, Ip(14), "KX", "4", "Station 4 (00:0F:31:00:00:01)"),
    };
    std::vector<DeviceInfo> reversed(answers.rbegin(), answers.rend());
    const auto forward = ListCameras({Kxhost()}, {answers});
    const auto backward = ListCameras({Kxhost()}, {reversed});
    EXPECT_EQ(Names(forward[0]), Names(backward[0]));
    const std::vector<std::string> names = Names(forward[0]);
    EXPECT_EQ(names[2], "Kavrix KX (3)");
    EXPECT_EQ(names[1], "Station 4 (00:0F:31:00:00:02)");
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "unique";
    for (const std::string& name : names) {
        EXPECT_EQ(name.find_first_of("[]"), std::string::npos) << name;
        EXPECT_NE(name.front(), ' ');
        EXPECT_NE(name.back(), ' ');
    }
}

TEST(CameraNames, CamerasSharingAMacAreToldApartByAddress)
{
    // Aravis's fake cameras: no MAC, so all share 00:00:00:00:00:00.
    DeviceInfo first = Camera(0, Ip(1), "Fake", "GV01", "Line");
    first.mMac = {};
    DeviceInfo second = first;
    second.mIp = Ip(3);
    DeviceInfo third = first;
    third.mIp = Ip(4);
    third.mUserName.clear();
    const auto lists = ListCameras({Kxhost()}, {{first, second, third, first}});
    EXPECT_EQ(Names(lists[0]), (std::vector<std::string>{"Line (00:00:00:00:00:00) (169.254.100.1)",
                                                         "Line (00:00:00:00:00:00) (169.254.100.3)",
                                                         "Kavrix Fake (GV01)"}));
}

TEST(CameraList, EachCameraOnceByAddressMarkingWhatCannotBeOpened)
{
    const std::vector<DeviceInfo> answers = {
        Camera(5, Ip(30), "KX", "5"),
        Camera(1, Ip(20), "KX", "1"),
        Camera(1, Ip(20), "KX", "1"),                 // the second discovery's answer
        Camera(2, 0xA9FEC801u, "KX", "2"),            // 169.254.200.1
        Camera(3, Ip(40), "KX", "3"),                 // two cameras, one address
        Camera(4, Ip(40), "KX", "4"),
    };
    const auto lists = ListCameras({Kxhost()}, {answers});
    ASSERT_EQ(lists[0].size(), 5u);
    EXPECT_EQ(Names(lists[0]), (std::vector<std::string>{"Kavrix KX (1)", "Kavrix KX (5)", "Kavrix KX (3)",
                                                         "Kavrix KX (4)", "Kavrix KX (2)"}))
        << "ordered by address";
    EXPECT_EQ(lists[0][0].mUnreachable, "");
    EXPECT_EQ(lists[0][2].mUnreachable, lists[0][3].mUnreachable);
    EXPECT_NE(lists[0][2].mUnreachable.find("169.254.100.40 is claimed by 2 cameras (00:0F:31:00:00:03, "
                                            "00:0F:31:00:00:04)"),
              std::string::npos)
        << lists[0][2].mUnreachable;
    EXPECT_EQ(lists[0][4].mUnreachable, "169.254.200.1 is not in the subnet of kxhost0 (169.254.100.2/24)");

    // Over a /16 the far camera is in the subnet.
    EXPECT_EQ(ListCameras({Kxhost(16)}, {answers})[0][4].mUnreachable, "");
}

TEST(CameraList, ACameraTwoInterfacesReachKeepsOneNameAndNamesRepeatAcrossInterfaces)
{
    HostInterface second = Kxhost(16);
    second.mName = "kxhost1 (169.254.100.3/16)";
    const auto lists = ListCameras({Kxhost(), second}, {{Camera(1, Ip(20), "KX", "1", "Top")},
                                                        {Camera(1, Ip(20), "KX", "1", "Top"),
                                                         Camera(2, Ip(21), "KX", "2", "Bottom")}});
    EXPECT_EQ(lists[0][0].mName, "Top");
    EXPECT_EQ(lists[1][0].mName, "Top");
    EXPECT_EQ(lists[1][1].mName, "Bottom");

    const auto clash = ListCameras({Kxhost(), second}, {{Camera(1, Ip(20), "KX", "1", "Top")},
                                                        {Camera(2, Ip(21), "KX", "2", "Top")}});
    EXPECT_EQ(clash[0][0].mName, "Top (00:0F:31:00:00:01)");
    EXPECT_EQ(clash[1][0].mName, "Top (00:0F:31:00:00:02)");
}
