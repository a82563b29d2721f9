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

ProducerTest::ProducerTest()
{
    EXPECT_EQ(TLICtl_LoadConfig(nullptr), GC_ERR_SUCCESS) << LastConfigError();
}

ProducerTest::~ProducerTest()
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

namespace TliTest {

GC_ERROR Read(DEV_HANDLE device, uint64_t address, void* buffer, size_t size)
{
    const size_t requested = size;
    const GC_ERROR result = GCReadData(device, address, buffer, &size);
    EXPECT_EQ(size, requested);
    return result;
}

GC_ERROR Write(DEV_HANDLE device, uint64_t address, const void* buffer, size_t size)
{
    return GCWriteData(device, address, buffer, &size);
}

uint32_t Read32(DEV_HANDLE device, uint64_t address, bool bigEndian)
{
    unsigned char bytes[4] = {};
    EXPECT_EQ(Read(device, address, bytes, 4), GC_ERR_SUCCESS) << std::hex << address;
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | bytes[bigEndian ? i : 3 - i];
    return value;
}

GC_ERROR Write32(DEV_HANDLE device, uint64_t address, uint32_t value, bool bigEndian)
{
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[bigEndian ? 3 - i : i] = static_cast<unsigned char>(value >> (8 * i));
    return Write(device, address, bytes, 4);
}

int64_t RegisterValue(const char* device, const char* reg)
{
    int64_t value = -1;
    EXPECT_EQ(TLICtl_GetRegisterValue(device, reg, &value), GC_ERR_SUCCESS) << reg;
    return value;
}

std::string Url(DEV_HANDLE device)
{
    char url[2048];
    size_t size = sizeof url;
    EXPECT_EQ(GCGetURL(device, url, &size, 1), GC_ERR_SUCCESS);
    return url;
}

std::string Description(const char* model, bool zipped)
{
    size_t size = 0;
    EXPECT_EQ(TLICtl_GetDescription(model, zipped ? 1 : 0, nullptr, &size), GC_ERR_SUCCESS);
    std::string bytes(size, '\0');
    EXPECT_EQ(TLICtl_GetDescription(model, zipped ? 1 : 0, &bytes[0], &size), GC_ERR_SUCCESS);
    return bytes;
}

}
