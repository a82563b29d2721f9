// Discovery: the default set, names and device information, buffer sizes,
// handle validation and the control API's changes to the set.
#include "Support.h"

#include <thread>

using namespace TliTest;

namespace {

class Discovery : public ProducerTest {};

bool IsUsableSectionName(const std::string& name)
{
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == '[' || c == ']')
            return false;
    return !name.empty() && name.front() != ' ' && name.back() != ' ';
}

TEST_F(Discovery, DefaultSetIsOneInterfaceWithOneCameraOfEachModel)
{
    Library library;
    EXPECT_EQ(library.InterfaceNames(), std::vector<std::string>{DefaultInterface});
    const std::vector<std::string> devices = library.DeviceNames(DefaultInterface);
    ASSERT_EQ(devices, (std::vector<std::string>{DefaultKx1300, DefaultKx5000}));
    for (const auto& name : devices)
        EXPECT_TRUE(IsUsableSectionName(name)) << name;

    DEV_HANDLE first = library.OpenDevice(DefaultInterface, DefaultKx1300);
    DEV_HANDLE second = library.OpenDevice(DefaultInterface, DefaultKx5000);
    EXPECT_EQ(DeviceInfo(first, DEVICE_INFO_VENDOR), "Kavrix");
    EXPECT_EQ(DeviceInfo(first, DEVICE_INFO_MODEL), TLICTL_MODEL_KX1300);
    EXPECT_EQ(DeviceInfo(second, DEVICE_INFO_MODEL), TLICTL_MODEL_KX5000);
    EXPECT_EQ(DeviceInfo(first, DEVICE_INFO_TLTYPE), "GEV");
    EXPECT_EQ(DeviceInfo(first, DEVICE_INFO_DISPLAYNAME), DefaultKx1300);
    EXPECT_EQ(DeviceInfo(first, DEVICE_INFO_SERIAL_NUMBER), "21810742");
    EXPECT_EQ(DeviceInfo(second, DEVICE_INFO_SERIAL_NUMBER), "21810743");
    EXPECT_EQ(DeviceInfo(first, DEVICE_INFO_IP_ADDRESS), "192.168.10.11");
    EXPECT_EQ(DeviceInfo(second, DEVICE_INFO_IP_ADDRESS), "192.168.10.12");
    const std::string mac = DeviceInfo(first, DEVICE_INFO_MAC_ADDRESS);
    EXPECT_EQ(mac.size(), 17u);
    EXPECT_NE(mac, DeviceInfo(second, DEVICE_INFO_MAC_ADDRESS));
    EXPECT_NE(DeviceInfo(first, DEVICE_INFO_ID), DeviceInfo(second, DEVICE_INFO_ID));
    EXPECT_FALSE(DeviceInfo(first, DEVICE_INFO_VERSION).empty());

    int32_t type = 0;
    char text[256];
    size_t size = sizeof text;
    EXPECT_EQ(DevGetInfo(first, DEVICE_INFO_MODEL, &type, text, &size), GC_ERR_SUCCESS);
    EXPECT_EQ(type, 1);
    size = sizeof text;
    EXPECT_EQ(DevGetInfo(first, 99, nullptr, text, &size), GC_ERR_INVALID_PARAMETER);
}

TEST_F(Discovery, TextsHonourTheCallersBufferSize)
{
    Library library;
    const std::string name = DefaultInterface;
    size_t size = 0;
    EXPECT_EQ(TLGetInterfaceName(library.Get(), 0, nullptr, &size), GC_ERR_SUCCESS);
    EXPECT_EQ(size, name.size() + 1);

    char text[256];
    std::fill(std::begin(text), std::end(text), 'x');
    size = name.size();
    EXPECT_EQ(TLGetInterfaceName(library.Get(), 0, text, &size), GC_ERR_INVALID_BUFFER_SIZE);
    EXPECT_EQ(size, name.size() + 1) << "the size needed is reported";
    EXPECT_EQ(text[0], 'x') << "nothing is written into a buffer that is too small";

    EXPECT_EQ(TLGetInterfaceName(library.Get(), 0, text, &size), GC_ERR_SUCCESS);
    EXPECT_EQ(std::string(text), name);
    EXPECT_EQ(TLGetInterfaceName(library.Get(), 0, text, nullptr), GC_ERR_INVALID_PARAMETER);
    size = sizeof text;
    EXPECT_EQ(TLGetInterfaceName(library.Get(), 1, text, &size), GC_ERR_INVALID_PARAMETER);

    IF_HANDLE iface = library.OpenInterface(DefaultInterface);
    size = 5;
    EXPECT_EQ(TLGetDeviceName(iface, 0, text, &size), GC_ERR_INVALID_BUFFER_SIZE);
    size = sizeof text;
    EXPECT_EQ(TLGetDeviceName(iface, 2, text, &size), GC_ERR_INVALID_PARAMETER);

    DEV_HANDLE device = library.OpenDevice(DefaultInterface, DefaultKx1300);
    size = 3;
    EXPECT_EQ(DevGetInfo(device, DEVICE_INFO_VENDOR, nullptr, text, &size), GC_ERR_INVALID_BUFFER_SIZE);
    EXPECT_EQ(size, 7u);
}

TEST_F(Discovery, HandlesAreCheckedByKindAndLifetime)
{
    Library library;
    IF_HANDLE iface = library.OpenInterface(DefaultInterface);
    DEV_HANDLE device = library.OpenDevice(DefaultInterface, DefaultKx1300);
    uint32_t count = 0;
    int bogus = 0;

    EXPECT_EQ(TLGetNumInterfaces(nullptr, &count), GC_ERR_INVALID_HANDLE);
    EXPECT_EQ(TLGetNumInterfaces(&bogus, &count), GC_ERR_INVALID_HANDLE);
    EXPECT_EQ(TLGetNumInterfaces(iface, &count), GC_ERR_INVALID_HANDLE);
    EXPECT_EQ(TLGetNumDevices(library.Get(), &count), GC_ERR_INVALID_HANDLE);
    EXPECT_EQ(TLGetNumDevices(device, &count), GC_ERR_INVALID_HANDLE);
    EXPECT_EQ(DevClose(iface), GC_ERR_INVALID_HANDLE);
    EXPECT_EQ(TLCloseInterface(device), GC_ERR_INVALID_HANDLE);
    EXPECT_EQ(TLGetNumDevices(iface, nullptr), GC_ERR_INVALID_PARAMETER);

    EXPECT_EQ(DevClose(device), GC_ERR_SUCCESS);
    EXPECT_EQ(DevClose(device), GC_ERR_INVALID_HANDLE);
    EXPECT_EQ(TLCloseInterface(iface), GC_ERR_SUCCESS);
    EXPECT_EQ(TLGetNumDevices(iface, &count), GC_ERR_INVALID_HANDLE);

    // A reset takes back every handle, and no new handle takes an old value.
    IF_HANDLE before = library.OpenInterface(DefaultInterface);
    ASSERT_EQ(TLICtl_Reset(), GC_ERR_SUCCESS);
    EXPECT_EQ(TLGetNumDevices(before, &count), GC_ERR_INVALID_HANDLE);
    EXPECT_EQ(TLGetNumInterfaces(library.Get(), &count), GC_ERR_INVALID_HANDLE);
    Library again;
    IF_HANDLE after = again.OpenInterface(DefaultInterface);
    EXPECT_NE(after, before);
    EXPECT_NE(after, iface);
}

TEST_F(Discovery, ClosingAParentReleasesWhatWasOpenedThroughIt)
{
    TL_HANDLE library = nullptr;
    ASSERT_EQ(TLOpen(&library), GC_ERR_SUCCESS);
    IF_HANDLE iface = nullptr;
    ASSERT_EQ(TLOpenInterface(library, DefaultInterface, &iface), GC_ERR_SUCCESS);
    DEV_HANDLE device = nullptr;
    ASSERT_EQ(TLOpenDevice(iface, DefaultKx1300, DEVICE_ACCESS_EXCLUSIVE, &device), GC_ERR_SUCCESS);
    ASSERT_EQ(TLClose(library), GC_ERR_SUCCESS);
    EXPECT_EQ(DevClose(device), GC_ERR_INVALID_HANDLE);
    EXPECT_EQ(TLCloseInterface(iface), GC_ERR_INVALID_HANDLE);

    Library other;
    EXPECT_NE(other.OpenDevice(DefaultInterface, DefaultKx1300), nullptr) << "the camera was released";
}

TEST_F(Discovery, OpeningByNameFindsOnlyWhatExistsAndOneHolderPerCamera)
{
    Library library;
    IF_HANDLE iface = nullptr;
    EXPECT_EQ(TLOpenInterface(library.Get(), "eth9", &iface), GC_ERR_INVALID_ID);
    EXPECT_EQ(TLOpenInterface(library.Get(), nullptr, &iface), GC_ERR_INVALID_PARAMETER);
    iface = library.OpenInterface(DefaultInterface);

    DEV_HANDLE device = nullptr;
    EXPECT_EQ(TLOpenDevice(iface, "Kavrix KX-1300-60gm", DEVICE_ACCESS_EXCLUSIVE, &device), GC_ERR_INVALID_ID);
    EXPECT_EQ(TLOpenDevice(iface, DefaultKx1300, 7, &device), GC_ERR_INVALID_PARAMETER);
    ASSERT_EQ(TLOpenDevice(iface, DefaultKx1300, DEVICE_ACCESS_EXCLUSIVE, &device), GC_ERR_SUCCESS);

    Library other;
    DEV_HANDLE second = nullptr;
    EXPECT_EQ(TLOpenDevice(other.OpenInterface(DefaultInterface), DefaultKx1300, DEVICE_ACCESS_EXCLUSIVE, &second),
              GC_ERR_ACCESS_DENIED);
    EXPECT_EQ(DevClose(device), GC_ERR_SUCCESS);
    EXPECT_NE(other.OpenDevice(DefaultInterface, DefaultKx1300), nullptr);
}

TEST_F(Discovery, ControlApiAddsAndRemovesInterfacesAndCameras)
{
    ASSERT_EQ(TLICtl_AddInterface("eth1 (10.0.5.1/24)"), GC_ERR_SUCCESS);
    EXPECT_EQ(TLICtl_AddInterface("eth1 (10.0.5.1/24)"), GC_ERR_INVALID_ID);
    EXPECT_EQ(TLICtl_AddInterface(""), GC_ERR_INVALID_PARAMETER);
    ASSERT_EQ(TLICtl_AddDevice("eth1 (10.0.5.1/24)", TLICTL_MODEL_KX5000, nullptr), GC_ERR_SUCCESS);
    ASSERT_EQ(TLICtl_AddDevice("eth1 (10.0.5.1/24)", TLICTL_MODEL_KX1300, "Twin"), GC_ERR_SUCCESS);
    ASSERT_EQ(TLICtl_AddDevice("eth1 (10.0.5.1/24)", TLICTL_MODEL_KX5000, "Twin"), GC_ERR_SUCCESS);
    EXPECT_EQ(TLICtl_AddDevice("eth1 (10.0.5.1/24)", "KX-9999", nullptr), GC_ERR_INVALID_ID);
    EXPECT_EQ(TLICtl_AddDevice("eth7", TLICTL_MODEL_KX1300, nullptr), GC_ERR_INVALID_ID);
    for (const char* bad : {"[Cam]", "Cam\t1", " Cam", "Cam ", "Cam]"})
        EXPECT_EQ(TLICtl_AddDevice("eth1 (10.0.5.1/24)", TLICTL_MODEL_KX1300, bad), GC_ERR_INVALID_PARAMETER) << bad;

    Library library;
    EXPECT_EQ(library.InterfaceNames(), (std::vector<std::string>{DefaultInterface, "eth1 (10.0.5.1/24)"}));
    EXPECT_EQ(library.DeviceNames("eth1 (10.0.5.1/24)"),
              (std::vector<std::string>{"Kavrix KX-5000-24gm (21810744)", "Twin", "Twin"}));
    DEV_HANDLE added = library.OpenDevice("eth1 (10.0.5.1/24)", "Kavrix KX-5000-24gm (21810744)");
    EXPECT_EQ(DeviceInfo(added, DEVICE_INFO_IP_ADDRESS), "10.0.5.11");

    // Two cameras of one name: the first is meant, by open and by removal.
    DEV_HANDLE twin = library.OpenDevice("eth1 (10.0.5.1/24)", "Twin");
    EXPECT_EQ(DeviceInfo(twin, DEVICE_INFO_MODEL), TLICTL_MODEL_KX1300);
    ASSERT_EQ(TLICtl_RemoveDevice("Twin"), GC_ERR_SUCCESS);
    EXPECT_EQ(library.DeviceNames("eth1 (10.0.5.1/24)"),
              (std::vector<std::string>{"Kavrix KX-5000-24gm (21810744)", "Twin"}));
    EXPECT_EQ(DevClose(twin), GC_ERR_SUCCESS) << "an unplugged camera's handle still closes";
    EXPECT_EQ(TLICtl_RemoveDevice("Nobody"), GC_ERR_INVALID_ID);

    ASSERT_EQ(TLICtl_RemoveInterface("eth1 (10.0.5.1/24)"), GC_ERR_SUCCESS);
    EXPECT_EQ(library.InterfaceNames(), std::vector<std::string>{DefaultInterface});
    EXPECT_EQ(TLICtl_RemoveInterface("eth1 (10.0.5.1/24)"), GC_ERR_INVALID_ID);

    ASSERT_EQ(TLICtl_Reset(), GC_ERR_SUCCESS);
    Library fresh;
    EXPECT_EQ(fresh.InterfaceNames(), std::vector<std::string>{DefaultInterface});
}

TEST_F(Discovery, EnumerationWhileTheSetChangesIsSafe)
{
    std::thread changer([] {
        for (int i = 0; i < 200; ++i) {
            TLICtl_AddDevice(DefaultInterface, TLICTL_MODEL_KX1300, "Hot plug");
            TLICtl_RemoveDevice("Hot plug");
        }
    });
    for (int i = 0; i < 200; ++i) {
        Library library;
        IF_HANDLE iface = library.OpenInterface(DefaultInterface);
        uint32_t count = 0;
        ASSERT_EQ(TLGetNumDevices(iface, &count), GC_ERR_SUCCESS);
        for (uint32_t d = 0; d < count; ++d) {
            char name[256];
            size_t size = sizeof name;
            const GC_ERROR result = TLGetDeviceName(iface, d, name, &size);
            // The camera may go between the count and the name.
            EXPECT_TRUE(result == GC_ERR_SUCCESS || result == GC_ERR_INVALID_PARAMETER);
        }
    }
    changer.join();
}

}
