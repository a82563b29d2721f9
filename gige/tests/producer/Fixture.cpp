#include "Fixture.h"

#include "os/NetworkInterfaces.h"
#include "os/System.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace Test {

namespace {

// Nothing runs outside a namespace of netns-run.sh: no adapter but loopback
// and the lab's, and not the machine's own namespace.
class LabCheck : public testing::Environment {
public:
    void SetUp() override
    {
#if !defined(_WIN32)
        // Under Wine, cmake/wine-netns-run.sh checks the namespace.
        const auto host = Os::GetEnvironment("KAVRIX_HOST_NETNS");
        ASSERT_TRUE(host && !host->empty()) << "run the tests through cmake/netns-run.sh";
        ASSERT_NE(std::filesystem::read_symlink("/proc/self/ns/net").string(), *host)
            << "this is the machine's network namespace";
#endif
        for (const Os::NetworkInterface& item : Os::NetworkInterfaces())
            ASSERT_TRUE(item.loopback || item.name.rfind("veth-kx", 0) == 0)
                << item.name << " is no lab adapter: run the tests through cmake/netns-run.sh";
    }
};

[[maybe_unused]] testing::Environment* const gLabCheck = testing::AddGlobalTestEnvironment(new LabCheck);

}

std::string LastError()
{
    GC_ERROR code = 0;
    char text[1024] = "";
    size_t size = sizeof text;
    EXPECT_EQ(GCGetLastError(&code, text, &size), GC_ERR_SUCCESS);
    return text;
}

std::vector<std::string> InterfaceNames(TL_HANDLE library)
{
    uint32_t count = 0;
    EXPECT_EQ(TLGetNumInterfaces(library, &count), GC_ERR_SUCCESS) << LastError();
    std::vector<std::string> names;
    for (uint32_t i = 0; i < count; ++i) {
        char name[256];
        size_t size = sizeof name;
        EXPECT_EQ(TLGetInterfaceName(library, i, name, &size), GC_ERR_SUCCESS) << LastError();
        names.emplace_back(name);
    }
    return names;
}

std::vector<std::string> DeviceNames(IF_HANDLE iface)
{
    uint32_t count = 0;
    EXPECT_EQ(TLGetNumDevices(iface, &count), GC_ERR_SUCCESS) << LastError();
    std::vector<std::string> names;
    for (uint32_t i = 0; i < count; ++i) {
        char name[256];
        size_t size = sizeof name;
        EXPECT_EQ(TLGetDeviceName(iface, i, name, &size), GC_ERR_SUCCESS) << LastError();
        names.emplace_back(name);
    }
    return names;
}

std::uint32_t ReadRegister(DEV_HANDLE device, std::uint32_t address)
{
    unsigned char bytes[4] = {};
    size_t size = sizeof bytes;
    EXPECT_EQ(GCReadData(device, address, bytes, &size), GC_ERR_SUCCESS) << LastError();
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 | std::uint32_t{bytes[2]} << 8 | bytes[3];
}

long long Now()
{
    return Os::MonotonicMilliseconds();
}

Session::Session(const std::string& interfaceName)
{
    EXPECT_EQ(TLOpen(&mLibrary), GC_ERR_SUCCESS) << LastError();
    InterfaceNames(mLibrary);
    EXPECT_EQ(TLOpenInterface(mLibrary, interfaceName.c_str(), &mInterface), GC_ERR_SUCCESS) << LastError();
    mCameras = DeviceNames(mInterface);
}

Session::~Session()
{
    if (mLibrary != nullptr) {
        EXPECT_EQ(TLClose(mLibrary), GC_ERR_SUCCESS) << LastError();
    }
}

DEV_HANDLE Session::OpenFirst()
{
    DEV_HANDLE device = nullptr;
    EXPECT_FALSE(mCameras.empty());
    if (!mCameras.empty()) {
        EXPECT_EQ(TLOpenDevice(mInterface, mCameras[0].c_str(), DEVICE_ACCESS_EXCLUSIVE, &device), GC_ERR_SUCCESS)
            << LastError();
    }
    return device;
}

ScopedVariable::ScopedVariable(const char* name, const char* value) : mName(name)
{
    Os::SetEnvironment(name, value);
}

ScopedVariable::~ScopedVariable()
{
    Os::SetEnvironment(mName, nullptr);
}

}
