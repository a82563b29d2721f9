#include "Support.h"

#include <fstream>

namespace TliTest {

std::string WriteConfig(const std::string& name, const std::string& text)
{
    std::ofstream(name, std::ios::binary) << text;
    return name;
}

std::string LastConfigError()
{
    char text[512];
    size_t size = sizeof text;
    EXPECT_EQ(TLICtl_LastConfigError(text, &size), GC_ERR_SUCCESS);
    return text;
}

void ProducerTest::SetUp()
{
    ASSERT_EQ(TLICtl_LoadConfig(nullptr), GC_ERR_SUCCESS) << LastConfigError();
}

void ProducerTest::TearDown()
{
    TLICtl_LoadConfig(nullptr);
}

Library::Library()
{
    EXPECT_EQ(TLOpen(&mHandle), GC_ERR_SUCCESS);
}

Library::~Library()
{
    TLClose(mHandle);
}

std::vector<std::string> Library::InterfaceNames() const
{
    std::vector<std::string> names;
    uint32_t count = 0;
    EXPECT_EQ(TLGetNumInterfaces(mHandle, &count), GC_ERR_SUCCESS);
    for (uint32_t i = 0; i < count; ++i) {
        char name[256];
        size_t size = sizeof name;
        EXPECT_EQ(TLGetInterfaceName(mHandle, i, name, &size), GC_ERR_SUCCESS);
        names.push_back(name);
    }
    return names;
}

IF_HANDLE Library::OpenInterface(const std::string& iface) const
{
    IF_HANDLE handle = nullptr;
    EXPECT_EQ(TLOpenInterface(mHandle, iface.c_str(), &handle), GC_ERR_SUCCESS) << iface;
    return handle;
}

std::vector<std::string> Library::DeviceNames(const std::string& iface) const
{
    IF_HANDLE handle = OpenInterface(iface);
    std::vector<std::string> names;
    uint32_t count = 0;
    EXPECT_EQ(TLGetNumDevices(handle, &count), GC_ERR_SUCCESS);
    for (uint32_t i = 0; i < count; ++i) {
        char name[256];
        size_t size = sizeof name;
        EXPECT_EQ(TLGetDeviceName(handle, i, name, &size), GC_ERR_SUCCESS);
        names.push_back(name);
    }
    TLCloseInterface(handle);
    return names;
}

DEV_HANDLE Library::OpenDevice(const std::string& iface, const std::string& device) const
{
    DEV_HANDLE handle = nullptr;
    EXPECT_EQ(TLOpenDevice(OpenInterface(iface), device.c_str(), DEVICE_ACCESS_EXCLUSIVE, &handle), GC_ERR_SUCCESS)
        << device;
    return handle;
}

std::string DeviceInfo(DEV_HANDLE device, int32_t command)
{
    char text[256];
    size_t size = sizeof text;
    const GC_ERROR result = DevGetInfo(device, command, nullptr, text, &size);
    EXPECT_EQ(result, GC_ERR_SUCCESS) << "command " << command;
    return result == GC_ERR_SUCCESS ? std::string(text) : std::string();
}

}
