#include "CameraLab.h"

#include "camsim/CameraModel.h"
#include "os/NetworkInterfaces.h"
#include "os/System.h"
#include "wire/BigEndian.h"
#include "wire/Bootstrap.h"
#include "wire/MemoryAccess.h"
#include "wire/PendingAck.h"
#include "wire/RegisterAccess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace CameraLab {

namespace {

namespace Bootstrap = Gige::Bootstrap;

// These tests serve cameras and send GigE Vision traffic: nothing runs
// unless the process is in a network namespace of cmake/netns-run.sh, other
// than the one it was started from, whose every address is link-local or
// loopback, and whose lab adapters are there.
class LabCheck : public testing::Environment {
public:
    void SetUp() override
    {
        const std::optional<std::string> started = Os::GetEnvironment("KAVRIX_HOST_NETNS");
        ASSERT_TRUE(started) << "run the tests through cmake/netns-run.sh";
        ASSERT_NE(std::filesystem::read_symlink("/proc/self/ns/net").string(), *started)
            << "still in the namespace the tests were started from";
        bool host = false;
        bool cameras = false;
        for (const Os::NetworkInterface& item : Os::NetworkInterfaces()) {
            const std::uint32_t address = item.address.Value();
            ASSERT_TRUE(address >> 24 == 127 || address >> 16 == 0xA9FE)
                << item.name << " has " << item.address.ToString() << ": this is not the lab";
            host = host || item.name == HostSide;
            cameras = cameras || item.name == CameraSide;
        }
        ASSERT_TRUE(host && cameras) << "no " << HostSide << " or " << CameraSide << ": not the lab";
    }
};

[[maybe_unused]] testing::Environment* const gLabCheck = testing::AddGlobalTestEnvironment(new LabCheck);

using Clock = std::chrono::steady_clock;

std::uint32_t MillisecondsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<std::uint32_t>(left) : 0;
}

// One datagram, or none before the deadline.
std::optional<std::vector<std::uint8_t>> ReceiveOne(Os::UdpSocket& socket, Clock::time_point deadline)
{
    std::vector<std::uint8_t> bytes(65536);
    Os::DatagramSlot slot;
    slot.spans[0] = {bytes.data(), bytes.size()};
    slot.spanCount = 1;
    for (;;) {
        const int received = socket.ReceiveMany(&slot, 1);
        if (received == 1) {
            bytes.resize(slot.size);
            return bytes;
        }
        if (received < 0 || MillisecondsLeft(deadline) == 0 ||
            socket.WaitReadable(MillisecondsLeft(deadline)) != Os::WaitResult::Ready)
            return std::nullopt;
    }
}

Os::UdpSocket HostSocket()
{
    Os::UdpSocket socket;
    EXPECT_TRUE(socket.Open() && socket.BindToDevice(HostSide) && socket.Bind({HostAddress, 0})) << socket.LastError();
    return socket;
}

GigeCamera::Options OnCameraSide(GigeCamera::Options options)
{
    options.mInterface = CameraSide;
    return options;
}

}

std::uint32_t Kx1300Register(const char* name)
{
    const CamSim::RegisterField* field = CamSim::FindModel("KX-1300-60gm")->Layout()->FindField(name);
    EXPECT_NE(field, nullptr) << name;
    return field == nullptr ? 0 : static_cast<std::uint32_t>(field->mAddress);
}

Cameras::Cameras(GigeCamera::Options options) : mSet(OnCameraSide(std::move(options)), mSilence)
{
}

GigeCamera::StreamCounts Cameras::StopAndCount()
{
    mSet.Stop();
    return mSet.SentCounts(0);
}

ConfigFile::ConfigFile(const std::string& text)
{
    static int made = 0;
    const std::string name = "kavrix-gige-camera-test-" + std::to_string(Os::ProcessMilliseconds()) + "-" +
                             std::to_string(++made) + ".ini";
    mPath = (std::filesystem::temp_directory_path() / name).string();
    std::ofstream(mPath) << text;
}

ConfigFile::~ConfigFile()
{
    std::remove(mPath.c_str());
}

ControlClient::ControlClient(Os::Ipv4Address camera) : mSocket(HostSocket()), mCamera{camera, Gige::GvcpPort}
{
}

std::optional<Ack> ControlClient::Request(const Gige::GvcpBuffer& command, std::size_t size, std::uint32_t timeoutMs,
                                          bool keepPending)
{
    Send(command, size);
    return Receive(static_cast<std::uint16_t>(command[6] << 8 | command[7]), timeoutMs, keepPending);
}

void ControlClient::Send(const Gige::GvcpBuffer& command, std::size_t size)
{
    EXPECT_TRUE(mSocket.SendTo(mCamera, command.data(), size)) << mSocket.LastError();
}

std::optional<Ack> ControlClient::Receive(std::uint16_t id, std::uint32_t timeoutMs, bool keepPending)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (const auto bytes = ReceiveOne(mSocket, deadline)) {
        Gige::GvcpAck ack;
        if (Gige::DecodeAck(bytes->data(), bytes->size(), ack) != Gige::WireError::None || ack.mHeader.mAckId != id)
            continue;
        if (ack.mHeader.mAck == Gige::GvcpCode::PendingAck && !keepPending)
            continue;
        return Ack{ack.mHeader.mStatus, ack.mHeader.mAck,
                   std::vector<std::uint8_t>(ack.mBody, ack.mBody + ack.mHeader.mLength)};
    }
    return std::nullopt;
}

std::uint16_t ControlClient::WriteRegister(std::uint32_t address, std::uint32_t value)
{
    Gige::GvcpBuffer command;
    const Gige::RegisterWrite write{address, value};
    const auto ack = Request(command, Gige::EncodeWriteRegCommand(NextId(), &write, 1, command));
    EXPECT_TRUE(ack) << "no answer to a write of " << address;
    return ack ? ack->mStatus : 0xFFFF;
}

std::uint16_t ControlClient::ReadRegister(std::uint32_t address, std::uint32_t& value)
{
    Gige::GvcpBuffer command;
    const auto ack = Request(command, Gige::EncodeReadRegCommand(NextId(), &address, 1, command));
    EXPECT_TRUE(ack) << "no answer to a read of " << address;
    if (!ack)
        return 0xFFFF;
    if (ack->mBody.size() == 4)
        value = Gige::Get32(ack->mBody.data());
    return ack->mStatus;
}

std::uint32_t ControlClient::ReadRegister(std::uint32_t address)
{
    std::uint32_t value = 0;
    EXPECT_EQ(ReadRegister(address, value), 0) << "reading " << address;
    return value;
}

std::uint16_t ControlClient::ReadMemory(std::uint32_t address, std::size_t count, std::vector<std::uint8_t>& data)
{
    Gige::GvcpBuffer command;
    const auto ack = Request(command, Gige::EncodeReadMemCommand(NextId(), address, count, command));
    EXPECT_TRUE(ack) << "no answer to a read of " << count << " bytes at " << address;
    if (!ack)
        return 0xFFFF;
    if (ack->mStatus == 0 && ack->mBody.size() == count + 4)
        data.assign(ack->mBody.begin() + 4, ack->mBody.end());
    return ack->mStatus;
}

std::uint16_t ControlClient::WriteMemory(std::uint32_t address, const std::vector<std::uint8_t>& data)
{
    Gige::GvcpBuffer command;
    const auto ack = Request(command, Gige::EncodeWriteMemCommand(NextId(), {address, data.data(), data.size()}, command));
    EXPECT_TRUE(ack) << "no answer to a write of " << data.size() << " bytes at " << address;
    return ack ? ack->mStatus : 0xFFFF;
}

std::uint16_t ControlClient::TakeControl(bool exclusive)
{
    return WriteRegister(Bootstrap::Ccp, exclusive ? Bootstrap::CcpExclusive : Bootstrap::CcpControl);
}

StreamReceiver::StreamReceiver() : mSocket(HostSocket())
{
    mSocket.SetReceiveBufferSize(8 << 20);
}

std::optional<Packet> StreamReceiver::Next(std::uint32_t timeoutMs)
{
    auto bytes = ReceiveOne(mSocket, Clock::now() + std::chrono::milliseconds(timeoutMs));
    if (!bytes)
        return std::nullopt;
    Packet packet{std::move(*bytes), {}};
    Gige::GvspPacket decoded;
    if (Gige::DecodeGvspPacket(packet.mBytes.data(), packet.mBytes.size(), decoded) == Gige::WireError::None)
        packet.mHeader = decoded.mHeader;
    return packet;
}

std::vector<Packet> StreamReceiver::Frame(std::uint32_t timeoutMs)
{
    std::vector<Packet> packets;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (auto packet = Next(MillisecondsLeft(deadline))) {
        packets.push_back(std::move(*packet));
        if (packets.back().mHeader.mFormat == Gige::GvspFormat::Trailer)
            break;
    }
    return packets;
}

void OpenStream(ControlClient& host, StreamReceiver& receiver, std::uint32_t packetSize)
{
    EXPECT_EQ(host.WriteRegister(Bootstrap::Scda(0), HostAddress.Value()), 0);
    EXPECT_EQ(host.WriteRegister(Bootstrap::Scps(0), packetSize), 0);
    EXPECT_EQ(host.WriteRegister(Bootstrap::Scp(0), receiver.Port()), 0);
}

void TriggeredSmallImage(ControlClient& host)
{
    EXPECT_EQ(host.WriteRegister(Kx1300Register("WidthReg"), 64), 0);
    EXPECT_EQ(host.WriteRegister(Kx1300Register("HeightReg"), 32), 0);
    EXPECT_EQ(host.WriteRegister(Kx1300Register("TriggerModeReg"), 1), 0);
    EXPECT_EQ(host.WriteRegister(Kx1300Register("TriggerSourceReg"), 7), 0);
    EXPECT_EQ(host.WriteRegister(Kx1300Register("AcquisitionStartReg"), 1), 0);
}

void Trigger(ControlClient& host)
{
    EXPECT_EQ(host.WriteRegister(Kx1300Register("TriggerSoftwareReg"), 1), 0);
}

std::uint8_t PatternByte(std::size_t index, std::uint32_t width, std::uint32_t n)
{
    if (index < 4)
        return static_cast<std::uint8_t>(n >> (8 * index));
    return static_cast<std::uint8_t>(index % width + index / width + n);
}

}
