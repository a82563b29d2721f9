// The fake camera found and read through the producer's operations, as the
// driver does it.
#include "LabProducer.h"
#include "Session.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

using namespace Lab;

TEST(Discovery, ListsTheFakeCameraOnItsInterfaceWithinHalfASecond)
{
    Session session;
    EXPECT_EQ(session.Cameras(), std::vector<std::string>{Camera});
    EXPECT_LT(session.DiscoveryMs(), 500) << "Aravis takes 1 s";
    std::printf("discovery: %lld ms\n", session.DiscoveryMs());

    // The list is kept until the interface closes: counting again sends nothing.
    EXPECT_EQ(DeviceNames(session.Interface()), session.Cameras());

    // A name the interface does not list says what it does list.
    GC_ERROR result = 0;
    EXPECT_EQ(session.Open("Nobody (0)", result), nullptr);
    EXPECT_EQ(result, GC_ERR_INVALID_ID);
    EXPECT_NE(LastError().find("\"" + Camera + "\""), std::string::npos) << LastError();
}

TEST(Control, ReadsRegistersTheDescriptionAndWritesWholeWords)
{
    Session session;
    GC_ERROR result = 0;
    DEV_HANDLE device = session.Open(Camera, result);
    ASSERT_EQ(result, GC_ERR_SUCCESS) << LastError();

    EXPECT_EQ(DeviceInfo(device, DEVICE_INFO_VENDOR), "Aravis");
    EXPECT_EQ(DeviceInfo(device, DEVICE_INFO_MODEL), "Fake");
    EXPECT_EQ(DeviceInfo(device, DEVICE_INFO_SERIAL_NUMBER), "GV01");
    EXPECT_EQ(DeviceInfo(device, DEVICE_INFO_DISPLAYNAME), Camera);
    EXPECT_EQ(DeviceInfo(device, DEVICE_INFO_IP_ADDRESS), "169.254.100.1");
    EXPECT_EQ(DeviceInfo(device, DEVICE_INFO_TLTYPE), "GEV");
    EXPECT_EQ(DeviceInfo(device, DEVICE_INFO_MAC_ADDRESS).size(), 17u);

    // What the driver reads right after opening: exclusive access is ours.
    EXPECT_EQ(ReadRegister(device, 0x0A00), 1u);
    EXPECT_EQ(ReadRegister(device, 0x0938), 3000u) << "heartbeat timeout";
    EXPECT_EQ(ReadRegister(device, 0x01F0), 0x12345678u) << "the fake camera's test register";

    // Unaligned: "Aravis" at 0x0048, three bytes from its second.
    char text[4] = "";
    size_t size = 3;
    ASSERT_EQ(Load().GCReadData(device, 0x0049, text, &size), GC_ERR_SUCCESS) << LastError();
    EXPECT_EQ(std::string(text, 3), "rav");

    // The description: its URL, then its bytes (an odd length, many pieces).
    char url[2048] = "";
    size = sizeof url;
    ASSERT_EQ(Load().GCGetURL(device, url, &size, 1), GC_ERR_SUCCESS) << LastError();
    unsigned address = 0, length = 0;
    char file[256] = "";
    ASSERT_EQ(std::sscanf(url, "Local:%255[^;];%x;%x", file, &address, &length), 3) << url;
    std::string xml(length, '\0');
    size = length;
    ASSERT_EQ(Load().GCReadData(device, address, &xml[0], &size), GC_ERR_SUCCESS) << LastError();
    EXPECT_EQ(xml.rfind("<?xml", 0), 0u);
    EXPECT_NE(xml.find("</RegisterDescription>"), std::string::npos) << "the whole description";

    // Writes of 4, 8 and 12 bytes land (the camera takes one register per request).
    const unsigned char geometry[12] = {0, 0, 2, 0x80, 0, 0, 1, 0xE0, 0, 0, 0, 1};
    for (const size_t bytes : {4u, 8u, 12u}) {
        size = bytes;
        ASSERT_EQ(Load().GCWriteData(device, 0x0100, geometry, &size), GC_ERR_SUCCESS) << LastError();
    }
    EXPECT_EQ(ReadRegister(device, 0x0100), 640u);
    EXPECT_EQ(ReadRegister(device, 0x0104), 480u);
    const unsigned char defaults[8] = {0, 0, 2, 0, 0, 0, 2, 0};
    size = sizeof defaults;
    EXPECT_EQ(Load().GCWriteData(device, 0x0100, defaults, &size), GC_ERR_SUCCESS) << LastError();

    // Part of a word, or past 32 bits: refused, nothing sent.
    size = 2;
    EXPECT_EQ(Load().GCWriteData(device, 0x0100, geometry, &size), GC_ERR_INVALID_ADDRESS);
    EXPECT_NE(LastError().find("multiples of 4"), std::string::npos) << LastError();
    size = 4;
    EXPECT_EQ(Load().GCReadData(device, 0x100000000ull, text, &size), GC_ERR_INVALID_ADDRESS);
    EXPECT_EQ(ReadRegister(device, 0x0100), 512u);

    EXPECT_EQ(Load().DevClose(device), GC_ERR_SUCCESS) << LastError();
}
