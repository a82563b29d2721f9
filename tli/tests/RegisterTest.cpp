// The cameras' register memory: access modes, byte orders and widths, the
// control channel privilege, the stream lock and the command registers.
#include "Support.h"

#include <cstring>

using namespace TliTest;

namespace {

constexpr uint64_t Privilege = 0x0A00;
constexpr uint64_t SensorWidth = 0x40000;   // read-only in both models
constexpr uint64_t Width = 0x40010;
constexpr uint64_t OffsetX = 0x40018;
constexpr uint64_t AcquisitionStart = 0x40034;   // write-only
constexpr bool Big = true;
constexpr bool Little = false;

class Registers : public ProducerTest {
protected:
    Library mLibrary;
    DEV_HANDLE mKx1300 = mLibrary.OpenDevice(DefaultInterface, DefaultKx1300);
    DEV_HANDLE mKx5000 = mLibrary.OpenDevice(DefaultInterface, DefaultKx5000);
};

TEST_F(Registers, PrivilegeRegisterFollowsTheOpen)
{
    EXPECT_EQ(Read32(mKx1300, Privilege, Big), 1u) << "an exclusive open";
    ASSERT_EQ(Write32(mKx1300, Privilege, 2, Big), GC_ERR_SUCCESS);
    EXPECT_EQ(Read32(mKx1300, Privilege, Big), 2u);
    ASSERT_EQ(DevClose(mKx1300), GC_ERR_SUCCESS);
    EXPECT_EQ(RegisterValue(DefaultKx1300, "ControlChannelPrivilegeReg"), 0) << "released on close";

    IF_HANDLE iface = mLibrary.OpenInterface(DefaultInterface);
    DEV_HANDLE device = nullptr;
    ASSERT_EQ(TLOpenDevice(iface, DefaultKx1300, DEVICE_ACCESS_CONTROL, &device), GC_ERR_SUCCESS);
    EXPECT_EQ(Read32(device, Privilege, Big), 2u) << "a control open";
    ASSERT_EQ(DevClose(device), GC_ERR_SUCCESS);

    for (const int32_t value : {0, 2, 3}) {
        ASSERT_EQ(TLICtl_SetPrivilegeOnOpen(DefaultKx1300, value), GC_ERR_SUCCESS);
        ASSERT_EQ(TLOpenDevice(iface, DefaultKx1300, DEVICE_ACCESS_EXCLUSIVE, &device), GC_ERR_SUCCESS);
        EXPECT_EQ(Read32(device, Privilege, Big), static_cast<uint32_t>(value));
        ASSERT_EQ(DevClose(device), GC_ERR_SUCCESS);
    }
    EXPECT_EQ(TLICtl_SetPrivilegeOnOpen(DefaultKx1300, 4), GC_ERR_INVALID_PARAMETER);
    ASSERT_EQ(TLICtl_SetPrivilegeOnOpen(DefaultKx1300, -1), GC_ERR_SUCCESS);
    ASSERT_EQ(TLOpenDevice(iface, DefaultKx1300, DEVICE_ACCESS_EXCLUSIVE, &device), GC_ERR_SUCCESS);
    EXPECT_EQ(Read32(device, Privilege, Big), 1u);
}

TEST_F(Registers, TransferLimitsMoveFewerBytesAndSaySo)
{
    ASSERT_EQ(TLICtl_SetTransferLimits(DefaultKx1300, 2, 3), GC_ERR_SUCCESS);
    unsigned char value[4] = {9, 9, 9, 9};
    size_t size = sizeof value;
    ASSERT_EQ(GCReadData(mKx1300, Privilege, value, &size), GC_ERR_SUCCESS);
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(value[2], 9) << "the bytes past the limit are not touched";

    const unsigned char control[4] = {0, 0, 0, 2};
    size = sizeof control;
    ASSERT_EQ(GCWriteData(mKx1300, Privilege, control, &size), GC_ERR_SUCCESS);
    EXPECT_EQ(size, 3u);
    ASSERT_EQ(TLICtl_SetTransferLimits(DefaultKx1300, 0, 0), GC_ERR_SUCCESS);
    EXPECT_EQ(Read32(mKx1300, Privilege, Big), 1u) << "the last byte was not written";
    EXPECT_EQ(TLICtl_SetTransferLimits("No such camera", 2, 2), GC_ERR_INVALID_ID);
}

TEST_F(Registers, AccessModesAndMappedSpaceAreEnforced)
{
    uint32_t value = 0;
    EXPECT_EQ(Write(mKx1300, SensorWidth, &value, 4), GC_ERR_ACCESS_DENIED);
    EXPECT_EQ(Read32(mKx1300, SensorWidth, Big), 1280u) << "a refused write changes nothing";
    EXPECT_EQ(Read(mKx1300, AcquisitionStart, &value, 4), GC_ERR_ACCESS_DENIED);

    unsigned char block[16];
    EXPECT_EQ(Read(mKx1300, 0x7FFF0, block, 4), GC_ERR_INVALID_ADDRESS);
    EXPECT_EQ(Read(mKx1300, 0x413FC, block, 8), GC_ERR_INVALID_ADDRESS) << "runs past the last byte";
    EXPECT_EQ(Read(mKx1300, 0xFFFFFFFFFFFFFFFCull, block, 8), GC_ERR_INVALID_ADDRESS);
    EXPECT_EQ(Write(mKx1300, 0x7FFF0, block, 4), GC_ERR_INVALID_ADDRESS);
    // A write that is partly unmapped changes nothing either.
    const uint32_t before = Read32(mKx1300, 0x413FC, Big);
    std::memset(block, 0xAB, sizeof block);
    EXPECT_EQ(Write(mKx1300, 0x413FC, block, 16), GC_ERR_INVALID_ADDRESS);
    EXPECT_EQ(Read32(mKx1300, 0x413FC, Big), before);

    // Adjacent registers read in one go, as a register dump does.
    unsigned char mac[8];
    ASSERT_EQ(Read(mKx1300, 0x0008, mac, 8), GC_ERR_SUCCESS);
    EXPECT_EQ(mac[2], 0x02);
    EXPECT_EQ(mac[3], 0x4B);

    size_t size = 4;
    EXPECT_EQ(GCReadData(mKx1300, SensorWidth, nullptr, &size), GC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(GCReadData(mKx1300, SensorWidth, &value, nullptr), GC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(GCReadData(nullptr, SensorWidth, &value, &size), GC_ERR_INVALID_HANDLE);
}

TEST_F(Registers, FirmwareRefusesRegistersItsDescriptionOffers)
{
    constexpr uint64_t LineStatus = 0x400C0;   // read-only, yet the camera answers no read
    constexpr uint64_t Debouncer = 0x400C4;    // read-write, yet the camera takes no write
    for (DEV_HANDLE camera : {mKx1300, mKx5000}) {
        uint32_t value = 0;
        EXPECT_EQ(Read(camera, LineStatus, &value, 4), GC_ERR_ACCESS_DENIED);
        unsigned char block[16];
        EXPECT_EQ(Read(camera, LineStatus, block, sizeof block), GC_ERR_ACCESS_DENIED) << "nor a block holding it";
        EXPECT_EQ(Write(camera, LineStatus, &value, 4), GC_ERR_ACCESS_DENIED);
        EXPECT_EQ(Write32(camera, Debouncer, 20, camera == mKx1300), GC_ERR_ACCESS_DENIED);
        EXPECT_EQ(Read32(camera, Debouncer, camera == mKx1300), 10u) << "the power-on value stays";
        EXPECT_EQ(Read(camera, 0x7FFF0, &value, 4), GC_ERR_INVALID_ADDRESS);
    }
    ASSERT_EQ(TLICtl_SetRegisterValue(DefaultKx1300, "LineDebouncerTimeRawReg", 30), GC_ERR_SUCCESS)
        << "tests reach them all the same";
    EXPECT_EQ(Read32(mKx1300, Debouncer, Big), 30u);
    ASSERT_EQ(TLICtl_SetRegisterValue(DefaultKx1300, "LineStatusAllReg", 5), GC_ERR_SUCCESS);
    EXPECT_EQ(RegisterValue(DefaultKx1300, "LineStatusAllReg"), 5);
}

TEST_F(Registers, ReadOnlyOpensAndUnpluggedCamerasRefuse)
{
    ASSERT_EQ(DevClose(mKx1300), GC_ERR_SUCCESS);
    IF_HANDLE iface = mLibrary.OpenInterface(DefaultInterface);
    DEV_HANDLE monitor = nullptr;
    ASSERT_EQ(TLOpenDevice(iface, DefaultKx1300, DEVICE_ACCESS_READONLY, &monitor), GC_ERR_SUCCESS);
    EXPECT_EQ(Read32(monitor, Width, Big), 1280u);
    EXPECT_EQ(Write32(monitor, Width, 640, Big), GC_ERR_ACCESS_DENIED);

    ASSERT_EQ(TLICtl_RemoveDevice(DefaultKx5000), GC_ERR_SUCCESS);
    uint32_t value = 0;
    EXPECT_EQ(Read(mKx5000, Width, &value, 4), GC_ERR_TIMEOUT);
    EXPECT_EQ(Write(mKx5000, Width, &value, 4), GC_ERR_TIMEOUT);
    char url[2048];
    size_t size = sizeof url;
    EXPECT_EQ(GCGetURL(mKx5000, url, &size, 1), GC_ERR_TIMEOUT);
    EXPECT_EQ(DeviceInfo(mKx5000, DEVICE_INFO_MODEL), TLICTL_MODEL_KX5000) << "information stays known";
}

TEST_F(Registers, ByteOrdersAndWidthsMatchTheDescriptions)
{
    // KX-1300: big-endian feature registers; KX-5000: little-endian ones.
    EXPECT_EQ(Read32(mKx1300, Width, Big), 1280u);
    EXPECT_EQ(Read32(mKx5000, Width, Little), 2448u);
    EXPECT_EQ(Read32(mKx1300, 0x40020, Big), 0x01080001u) << "PixelFormat Mono8";
    EXPECT_EQ(Read32(mKx5000, 0x40020, Little), 0x01080001u);

    float frameRate = 0;
    uint32_t bits = Read32(mKx1300, 0x40060, Big);
    std::memcpy(&frameRate, &bits, 4);
    EXPECT_EQ(frameRate, 30.0f);
    unsigned char raw[8];
    ASSERT_EQ(Read(mKx5000, 0x40060, raw, 8), GC_ERR_SUCCESS);
    uint64_t word = 0;
    for (int i = 7; i >= 0; --i)
        word = (word << 8) | raw[i];
    double rate = 0;
    std::memcpy(&rate, &word, 8);
    EXPECT_EQ(rate, 24.0) << "an 8-byte little-endian float";

    // A signed 2-byte register and bit fields sharing one register.
    const unsigned char minusFive[2] = {0xFB, 0xFF};
    ASSERT_EQ(Write(mKx5000, 0x40074, minusFive, 2), GC_ERR_SUCCESS);
    EXPECT_EQ(RegisterValue(DefaultKx5000, "BlackLevelRawReg"), -5);
    ASSERT_EQ(Write32(mKx5000, 0x40024, 0x0302, Little), GC_ERR_SUCCESS);
    EXPECT_EQ(RegisterValue(DefaultKx5000, "BinningVerticalBits"), 2);
    EXPECT_EQ(RegisterValue(DefaultKx5000, "BinningHorizontalBits"), 3);
    ASSERT_EQ(TLICtl_SetRegisterValue(DefaultKx1300, "GainAutoBits", 2), GC_ERR_SUCCESS);
    ASSERT_EQ(TLICtl_SetRegisterValue(DefaultKx1300, "AutoFrameRateBit", 1), GC_ERR_SUCCESS);
    EXPECT_EQ(Read32(mKx1300, 0x40064, Big), 0x9u);
    EXPECT_EQ(RegisterValue(DefaultKx1300, "GevSCPSPacketSizeBits"), 1500);

    int64_t value = 0;
    EXPECT_EQ(TLICtl_GetRegisterValue(DefaultKx1300, "FrameRateReg", &value), GC_ERR_INVALID_PARAMETER)
        << "not an integer register";
    EXPECT_EQ(TLICtl_GetRegisterValue(DefaultKx1300, "NoSuchReg", &value), GC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(TLICtl_GetRegisterValue("Nobody", "WidthReg", &value), GC_ERR_INVALID_ID);
}

TEST_F(Registers, StreamLockKeepsTheImageGeometry)
{
    ASSERT_EQ(TLICtl_SetRegisterValue(DefaultKx5000, "TLParamsLockedReg", 1), GC_ERR_SUCCESS);
    EXPECT_EQ(Write32(mKx5000, Width, 640, Little), GC_ERR_ACCESS_DENIED);
    EXPECT_EQ(Write32(mKx5000, 0x40020, 0x010C0006, Little), GC_ERR_ACCESS_DENIED) << "PixelFormat";
    EXPECT_EQ(Write32(mKx5000, 0x40024, 0x0202, Little), GC_ERR_ACCESS_DENIED) << "binning";
    EXPECT_EQ(Write32(mKx5000, OffsetX, 16, Little), GC_ERR_ACCESS_DENIED)
        << "the offset would narrow the locked width";
    EXPECT_EQ(Write32(mKx5000, 0x40054, 100, Little), GC_ERR_SUCCESS) << "TriggerInhibit is not locked";
    ASSERT_EQ(Write32(mKx5000, 0x40090, 0, Little), GC_ERR_SUCCESS) << "the host unlocks";
    EXPECT_EQ(Write32(mKx5000, Width, 640, Little), GC_ERR_SUCCESS);
}

TEST_F(Registers, AnOffsetShrinksTheImageToStayOnTheSensor)
{
    ASSERT_EQ(Write32(mKx1300, OffsetX, 1000, Big), GC_ERR_SUCCESS);
    EXPECT_EQ(Read32(mKx1300, Width, Big), 280u);
    ASSERT_EQ(Write32(mKx1300, Width, 200, Big), GC_ERR_SUCCESS);
    ASSERT_EQ(Write32(mKx1300, OffsetX, 8, Big), GC_ERR_SUCCESS);
    EXPECT_EQ(Read32(mKx1300, Width, Big), 200u) << "a smaller offset leaves the width";
}

TEST_F(Registers, CommandRegistersActAndClearThemselves)
{
    ASSERT_EQ(Write32(mKx1300, AcquisitionStart, 1, Big), GC_ERR_SUCCESS);
    EXPECT_EQ(RegisterValue(DefaultKx1300, "AcquisitionStartReg"), 0);

    // Latching the time stamp copies the running counter.
    ASSERT_EQ(Write32(mKx1300, 0x0944, 2, Big), GC_ERR_SUCCESS);
    const uint64_t first = (uint64_t{Read32(mKx1300, 0x0948, Big)} << 32) | Read32(mKx1300, 0x094C, Big);
    ASSERT_EQ(Write32(mKx1300, 0x0944, 2, Big), GC_ERR_SUCCESS);
    const uint64_t second = (uint64_t{Read32(mKx1300, 0x0948, Big)} << 32) | Read32(mKx1300, 0x094C, Big);
    EXPECT_GT(second, first);
}

TEST_F(Registers, ControlApiWritesAnyMappedByte)
{
    const unsigned char width[4] = {0, 0, 0x02, 0x80};
    ASSERT_EQ(TLICtl_SetRegister(DefaultKx1300, SensorWidth, width, 4), GC_ERR_SUCCESS) << "even read-only ones";
    EXPECT_EQ(Read32(mKx1300, SensorWidth, Big), 640u);
    unsigned char back[4] = {};
    ASSERT_EQ(TLICtl_GetRegister(DefaultKx1300, AcquisitionStart, back, 4), GC_ERR_SUCCESS) << "and write-only ones";
    EXPECT_EQ(TLICtl_SetRegister(DefaultKx1300, 0x7FFF0, width, 4), GC_ERR_INVALID_ADDRESS);
    EXPECT_EQ(TLICtl_SetRegister("Nobody", SensorWidth, width, 4), GC_ERR_INVALID_ID);
    ASSERT_EQ(TLICtl_Reset(), GC_ERR_SUCCESS);
    EXPECT_EQ(RegisterValue(DefaultKx1300, "SensorWidthReg"), 1280) << "a reset powers the cameras on again";
}

}
