#include "CameraLab.h"

#include "os/NetworkInterfaces.h"
#include "wire/Bootstrap.h"
#include "wire/Discovery.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>

using namespace CameraLab;

namespace {

std::optional<Gige::DeviceInfo> Decode(const Ack& ack)
{
    Gige::GvcpAck decoded{{ack.mStatus, ack.mCode, static_cast<std::uint16_t>(ack.mBody.size()), 0}, ack.mBody.data()};
    Gige::DeviceInfo info;
    if (Gige::DecodeDiscoveryAck(decoded, info) != Gige::WireError::None)
        return std::nullopt;
    return info;
}

unsigned IndexOf(const std::string& name)
{
    for (const Os::NetworkInterface& item : Os::NetworkInterfaces())
        if (item.name == name)
            return item.index;
    return 0;
}

}

TEST(Discovery, AUnicastRequestIsAnsweredWithTheBootstrapRegisters)
{
    Cameras cameras;
    ControlClient host;
    Gige::GvcpBuffer command;
    const auto ack = host.Request(command, Gige::EncodeDiscoveryCommand(host.NextId(), false, command));
    ASSERT_TRUE(ack);
    EXPECT_EQ(ack->mStatus, 0);
    const auto info = Decode(*ack);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->mVersion, 0x00010002u);
    EXPECT_EQ(info->mDeviceMode & Gige::Bootstrap::DeviceModeBigEndian, Gige::Bootstrap::DeviceModeBigEndian);
    // 02:4B:58 and the low 24 bits of serial 21810742 (0x14CCE36).
    EXPECT_EQ(info->mMac, (Gige::MacAddress{0x02, 0x4B, 0x58, 0x4C, 0xCE, 0x36}));
    EXPECT_NE(info->mIpConfigCurrent & Gige::Bootstrap::IpConfigLla, 0u);
    EXPECT_EQ(info->mIp, CameraAddress.Value());
    EXPECT_EQ(info->mSubnetMask, 0xFFFF0000u);
    EXPECT_EQ(info->mGateway, 0u);
    EXPECT_EQ(info->mManufacturer, "Kavrix");
    EXPECT_EQ(info->mModel, "KX-1300-60gm");
    EXPECT_EQ(info->mDeviceVersion, "1.4.2 (build 2117)");
    EXPECT_EQ(info->mSerial, "21810742");
    EXPECT_EQ(info->mUserName, "Kavrix KX-1300-");
}

TEST(Discovery, ABroadcastIsAnsweredByEveryCameraOfTheConfigurationFromItsOwnAddress)
{
    const ConfigFile config("[interface]\nname = lab\n[device]\nmodel = KX-1300-60gm\nname = Top\n"
                            "[device]\nmodel = KX-5000-24gm\nserial = 40012345\n");
    GigeCamera::Options options;
    options.mConfig = config.Path();
    Cameras cameras(options);

    // Sent out of the cameras' adapter, as a host on their link sends it.
    Os::UdpSocket host;
    ASSERT_TRUE(host.Open() && host.EnableBroadcast() && host.Bind({Os::Ipv4Address::Any(), 0}) &&
                host.SetSendInterface(IndexOf(CameraSide)))
        << host.LastError();
    Gige::GvcpBuffer command;
    const std::size_t size = Gige::EncodeDiscoveryCommand(0xFFFF, false, command);
    ASSERT_TRUE(host.SendTo({Os::Ipv4Address::Broadcast(), Gige::GvcpPort}, command.data(), size)) << host.LastError();

    std::set<std::string> answers;
    std::vector<std::uint8_t> bytes(1024);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (answers.size() < 2 && std::chrono::steady_clock::now() < deadline) {
        Os::DatagramSlot slot;
        slot.spans[0] = {bytes.data(), bytes.size()};
        slot.spanCount = 1;
        if (host.ReceiveMany(&slot, 1) != 1) {
            host.WaitReadable(100);
            continue;
        }
        Gige::GvcpAck ack;
        ASSERT_EQ(Gige::DecodeAck(bytes.data(), slot.size, ack), Gige::WireError::None);
        Gige::DeviceInfo info;
        ASSERT_EQ(Gige::DecodeDiscoveryAck(ack, info), Gige::WireError::None);
        EXPECT_EQ(slot.source, (Os::Endpoint{Os::Ipv4Address(info.mIp), Gige::GvcpPort}));
        answers.insert(info.mModel + " " + info.mSerial + " " + info.mUserName + " " + Os::Ipv4Address(info.mIp).ToString());
    }
    EXPECT_EQ(answers, (std::set<std::string>{"KX-1300-60gm 21810742 Top 169.254.20.1",
                                              "KX-5000-24gm 40012345 Kavrix KX-5000- 169.254.30.1"}));
}

TEST(Discovery, TheProgramRefusesASetupItCannotServe)
{
    GigeCamera::Silence silence;
    GigeCamera::Options options;
    options.mInterface = CameraSide;
    const ConfigFile three("[interface]\nname = lab\n[device]\nmodel = KX-1300-60gm\n[device]\nmodel = KX-1300-60gm\n"
                           "[device]\nmodel = KX-1300-60gm\n");
    options.mConfig = three.Path();
    try {
        GigeCamera::CameraSet set(options, silence);
        ADD_FAILURE() << "three cameras on two addresses";
    } catch (const GigeCamera::UsageError& error) {
        EXPECT_NE(std::string(error.what()).find("ip address add"), std::string::npos) << error.what();
    }
    const ConfigFile broken("[device]\nmodel = KX-1300-60gm\n");
    options.mConfig = broken.Path();
    EXPECT_THROW(GigeCamera::CameraSet(options, silence), GigeCamera::UsageError);
    options.mConfig.clear();
    options.mInterface = "lo";
    EXPECT_THROW(GigeCamera::CameraSet(options, silence), GigeCamera::UsageError) << "127.0.0.1 is not link-local";
}
