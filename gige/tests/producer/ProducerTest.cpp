// The producer's handles, interfaces and texts, without a camera.
#include "Fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <thread>

using namespace Test;

namespace {

// In the system's order of adapters, which the test does not fix.
std::vector<std::string> Sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

// Linux: the threads of the process; elsewhere 0.
std::size_t Threads()
{
    std::size_t count = 0;
#if !defined(_WIN32)
    for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
#endif
    return count;
}

}

TEST(Producer, OffersEveryAddressButLoopbackAndOnlyTheAdaptersNamed)
{
    TL_HANDLE library = nullptr;
    ASSERT_EQ(TLOpen(&library), GC_ERR_SUCCESS) << LastError();
    EXPECT_EQ(Sorted(InterfaceNames(library)),
              (std::vector<std::string>{"veth-kx0 (169.254.10.1/16)", "veth-kx1 (169.254.20.1/16)",
                                        "veth-kx1 (169.254.30.1/16)", "veth-kx2 (169.254.40.1/24)"}));
    EXPECT_EQ(TLClose(library), GC_ERR_SUCCESS);

    const ScopedVariable only("KAVRIX_GIGE_INTERFACES", " veth-kx2 ,veth-kx1");
    ASSERT_EQ(TLOpen(&library), GC_ERR_SUCCESS) << LastError();
    EXPECT_EQ(Sorted(InterfaceNames(library)),
              (std::vector<std::string>{"veth-kx1 (169.254.20.1/16)", "veth-kx1 (169.254.30.1/16)",
                                        "veth-kx2 (169.254.40.1/24)"}));
    IF_HANDLE iface = nullptr;
    EXPECT_EQ(TLOpenInterface(library, "veth-kx0 (169.254.10.1/16)", &iface), GC_ERR_INVALID_ID);
    EXPECT_EQ(LastError(), "TLOpenInterface: no interface named \"veth-kx0 (169.254.10.1/16)\"");
    EXPECT_EQ(TLClose(library), GC_ERR_SUCCESS);
}

TEST(Producer, DiscoversOnEveryInterfaceAtOnceAndEndsAfterAQuietSpell)
{
    const std::size_t threads = Threads();
    TL_HANDLE library = nullptr;
    ASSERT_EQ(TLOpen(&library), GC_ERR_SUCCESS) << LastError();
    std::vector<IF_HANDLE> interfaces;
    for (const std::string& name : Sorted(InterfaceNames(library))) {
        IF_HANDLE iface = nullptr;
        ASSERT_EQ(TLOpenInterface(library, name.c_str(), &iface), GC_ERR_SUCCESS) << LastError();
        interfaces.push_back(iface);
    }
    // Four interfaces, none with a camera, the unplugged one among them: one
    // discovery of 250 ms for all, not one each.
    const long long start = Now();
    for (IF_HANDLE iface : interfaces)
        EXPECT_TRUE(DeviceNames(iface).empty());
    const long long took = Now() - start;
    EXPECT_GE(took, 240);
    EXPECT_LT(took, 500);

    char name[8];
    size_t size = sizeof name;
    EXPECT_EQ(TLGetDeviceName(interfaces[0], 0, name, &size), GC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(LastError(), "TLGetDeviceName: camera 0 of 0 on veth-kx0 (169.254.10.1/16)");
    DEV_HANDLE device = nullptr;
    EXPECT_EQ(TLOpenDevice(interfaces[0], "Kavrix KX (1)", DEVICE_ACCESS_EXCLUSIVE, &device), GC_ERR_INVALID_ID);
    EXPECT_EQ(LastError(), "TLOpenDevice: no camera named \"Kavrix KX (1)\" on veth-kx0 (169.254.10.1/16): "
                           "discovery found none there");

    EXPECT_EQ(TLClose(library), GC_ERR_SUCCESS);
    EXPECT_EQ(TLGetNumDevices(interfaces[1], nullptr), GC_ERR_INVALID_HANDLE) << "closed with its library";
    EXPECT_EQ(Threads(), threads);
}

TEST(Producer, StaleHandlesAndShortBuffersFailWithTheirReason)
{
    TL_HANDLE library = nullptr;
    ASSERT_EQ(TLOpen(&library), GC_ERR_SUCCESS);
    EXPECT_EQ(TLClose(library), GC_ERR_SUCCESS);
    uint32_t count = 0;
    EXPECT_EQ(TLGetNumInterfaces(library, &count), GC_ERR_INVALID_HANDLE);
    EXPECT_EQ(LastError(), "TLGetNumInterfaces: the library handle is not open");
    unsigned char bytes[4];
    size_t size = sizeof bytes;
    EXPECT_EQ(GCReadData(reinterpret_cast<DEV_HANDLE>(0x1234), 0, bytes, &size), GC_ERR_INVALID_HANDLE);
    EXPECT_EQ(DSClose(nullptr), GC_ERR_INVALID_HANDLE);
    EXPECT_EQ(LastError(), "DSClose: the stream handle is not open");
    EXPECT_EQ(TLOpen(nullptr), GC_ERR_INVALID_PARAMETER);

    // The text's size first, then a buffer too small: the text stays.
    GC_ERROR code = 0;
    size_t needed = 0;
    ASSERT_EQ(GCGetLastError(&code, nullptr, &needed), GC_ERR_SUCCESS);
    EXPECT_EQ(code, GC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(needed, std::string("TLOpen: no handle pointer given").size() + 1);
    char small[4];
    size = sizeof small;
    EXPECT_EQ(GCGetLastError(&code, small, &size), GC_ERR_INVALID_BUFFER_SIZE);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(LastError(), "TLOpen: no handle pointer given");

    // Each thread has its own.
    std::string other;
    std::thread([&] {
        GC_ERROR otherCode = -1;
        char text[64] = "x";
        size_t textSize = sizeof text;
        GCGetLastError(&otherCode, text, &textSize);
        other = std::to_string(otherCode) + ":" + text;
    }).join();
    EXPECT_EQ(other, "0:");
}
