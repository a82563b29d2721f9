#include "CameraLab.h"

#include "camsim/CameraModel.h"
#include "camsim/ServedDescription.h"
#include "wire/BigEndian.h"
#include "wire/Bootstrap.h"
#include "wire/GvcpStatus.h"
#include "wire/MemoryAccess.h"
#include "wire/RegisterAccess.h"

#include <gtest/gtest.h>

#include <string>

using namespace CameraLab;
namespace Bootstrap = Gige::Bootstrap;
namespace Status = Gige::GvcpStatus;

TEST(Registers, TheDescriptionIsReadThroughItsUrlWordByWord)
{
    Cameras cameras;
    ControlClient host;
    std::vector<std::uint8_t> url;
    ASSERT_EQ(host.ReadMemory(Bootstrap::FirstUrl, Bootstrap::UrlSize, url), 0);
    const std::string text(reinterpret_cast<const char*>(url.data()));
    const std::vector<std::uint8_t> expected =
        CamSim::ServeDescription(*CamSim::FindModel("KX-1300-60gm"), CamSim::DescriptionForm::Zipped).mMemory;
    char length[16];
    std::snprintf(length, sizeof length, "%zx", expected.size());
    EXPECT_EQ(text, std::string("local:KavrixKX1300.zip;10000;") + length);

    // In pieces of 512 as hosts read it; the last piece ends on the word
    // after the description's last byte.
    std::vector<std::uint8_t> description;
    while (description.size() < expected.size()) {
        const std::size_t count = std::min<std::size_t>(512, (expected.size() - description.size() + 3) / 4 * 4);
        std::vector<std::uint8_t> piece;
        ASSERT_EQ(host.ReadMemory(static_cast<std::uint32_t>(0x10000 + description.size()), count, piece), 0);
        description.insert(description.end(), piece.begin(), piece.end());
    }
    description.resize(expected.size());
    EXPECT_EQ(description, expected);

    // The bootstrap block in one piece, reserved words included.
    std::vector<std::uint8_t> block;
    ASSERT_EQ(host.ReadMemory(0, 0xF8, block), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&block[Bootstrap::Manufacturer])), "Kavrix");
}

TEST(Registers, FeatureRegistersAreReadAndWrittenAsTheModelSays)
{
    Cameras cameras;
    ControlClient host;
    const std::uint32_t width = Kx1300Register("WidthReg");
    EXPECT_EQ(host.ReadRegister(width), 1280u);
    EXPECT_EQ(host.ReadRegister(Bootstrap::StreamChannelCount), 1u);
    const std::uint32_t capability = host.ReadRegister(Bootstrap::Capability);
    for (const std::uint32_t bit : {Bootstrap::CapabilityWriteMem, Bootstrap::CapabilityPacketResend,
                                    Bootstrap::CapabilityPendingAck, Bootstrap::CapabilityHeartbeatDisable})
        EXPECT_NE(capability & bit, 0u) << std::hex << bit;

    ASSERT_EQ(host.TakeControl(), 0);
    EXPECT_EQ(host.WriteMemory(width, {0, 0, 2, 0x80}), 0);
    EXPECT_EQ(host.ReadRegister(width), 640u);
    std::vector<std::uint8_t> bytes;
    ASSERT_EQ(host.ReadMemory(width, 4, bytes), 0);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0, 0, 2, 0x80}));

    // Several registers in one request, and one that fails among them: the
    // values before it come back.
    Gige::GvcpBuffer command;
    const std::uint32_t addresses[] = {width, Bootstrap::Ccp, 0x7FFF0, width};
    const auto ack = host.Request(command, Gige::EncodeReadRegCommand(host.NextId(), addresses, 4, command));
    ASSERT_TRUE(ack);
    EXPECT_EQ(ack->mStatus, Status::InvalidAddress);
    ASSERT_EQ(ack->mBody.size(), 8u);
    EXPECT_EQ(Gige::Get32(&ack->mBody[0]), 640u);
    EXPECT_EQ(Gige::Get32(&ack->mBody[4]), Bootstrap::CcpControl);
}

TEST(Registers, ARegisterShorterThanAWordIsReadAndWrittenInItsWord)
{
    const ConfigFile config("[interface]\nname = lab\n[device]\nmodel = KX-5000-24gm\n");
    GigeCamera::Options options;
    options.mConfig = config.Path();
    Cameras cameras(options);
    ControlClient host;
    ASSERT_EQ(host.TakeControl(), 0);
    // GainRawReg: 2 bytes, little-endian, at the start of its word.
    const CamSim::RegisterField* gain = CamSim::FindModel("KX-5000-24gm")->Layout()->FindField("GainRawReg");
    ASSERT_TRUE(gain != nullptr && gain->mLength == 2 && gain->mAddress % 4 == 0);
    const auto address = static_cast<std::uint32_t>(gain->mAddress);
    EXPECT_EQ(host.WriteMemory(address, {0x40, 0x01, 0xAA, 0xBB}), 0);
    std::vector<std::uint8_t> word;
    ASSERT_EQ(host.ReadMemory(address, 4, word), 0);
    EXPECT_EQ(word[0] | word[1] << 8, 0x140);
}

TEST(Registers, BadRequestsGetTheirErrorStatus)
{
    Cameras cameras;
    ControlClient host;
    ASSERT_EQ(host.TakeControl(), 0);
    std::uint32_t value = 0;
    EXPECT_EQ(host.ReadRegister(0x7FFF0, value), Status::InvalidAddress);
    EXPECT_EQ(host.ReadRegister(Kx1300Register("WidthReg") + 2, value), Status::BadAlignment);
    EXPECT_EQ(host.WriteRegister(Kx1300Register("WidthReg") + 1, 64), Status::BadAlignment);
    EXPECT_EQ(host.WriteRegister(0x7FFF0, 1), Status::InvalidAddress);
    EXPECT_EQ(host.WriteRegister(Kx1300Register("SensorWidthReg"), 64), Status::AccessDenied) << "read-only";
    EXPECT_EQ(host.ReadRegister(Kx1300Register("AcquisitionStartReg"), value), Status::AccessDenied) << "write-only";
    EXPECT_EQ(host.ReadRegister(Kx1300Register("LineStatusAllReg"), value), Status::AccessDenied) << "the firmware refuses";
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(host.ReadMemory(0x10002, 8, bytes), Status::BadAlignment);
    EXPECT_EQ(host.ReadMemory(0x7FFF0, 8, bytes), Status::InvalidAddress);

    // A write without data, and a command the camera does not know.
    Gige::GvcpBuffer command;
    Gige::EncodeCommandHeader({Gige::CommandFlag::AckRequired, Gige::GvcpCode::WriteMemCmd, 4, host.NextId()}, command);
    Gige::Put32(&command[Gige::GvcpHeaderSize], Kx1300Register("WidthReg"));
    const auto empty = host.Request(command, Gige::GvcpHeaderSize + 4);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->mStatus, Status::InvalidParameter);
    Gige::EncodeCommandHeader({Gige::CommandFlag::AckRequired, static_cast<Gige::GvcpCode>(0x0042), 0, host.NextId()},
                              command);
    const auto unknown = host.Request(command, Gige::GvcpHeaderSize);
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->mStatus, Status::NotImplemented);
    EXPECT_EQ(static_cast<int>(unknown->mCode), 0x0043);
}
