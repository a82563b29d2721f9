#include "ScriptedCamera.h"

#include "os/NetworkInterfaces.h"
#include "wire/BigEndian.h"
#include "wire/Bootstrap.h"
#include "wire/GvcpStatus.h"
#include "wire/MemoryAccess.h"
#include "wire/PendingAck.h"
#include "wire/RegisterAccess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

using namespace Gige;

namespace Test {

namespace {

constexpr std::size_t MemorySize = 0x20000;

unsigned AdapterIndex()
{
    for (const Os::NetworkInterface& item : Os::NetworkInterfaces())
        if (item.name == Adapter)
            return item.index;
    return 0;
}

void Sleep(std::uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}

DeviceInfo ScriptedCamera::Identity()
{
    DeviceInfo info{};
    info.mVersion = 0x00020000;
    info.mDeviceMode = Bootstrap::DeviceModeBigEndian;
    info.mMac = {0x02, 0x4B, 0x58, 0x4C, 0x88, 0x36};
    info.mIpConfigCurrent = Bootstrap::IpConfigLla;
    info.mIp = CameraAddress.Value();
    info.mSubnetMask = 0xFFFF0000;
    info.mManufacturer = "Kavrix";
    info.mModel = "KX-1300-60gm";
    info.mDeviceVersion = "1.0.0";
    info.mSerial = "21810742";
    return info;
}

ScriptedCamera::ScriptedCamera(std::vector<DeviceInfo> identities)
    : mIdentities(std::move(identities)), mMemory(MemorySize, 0)
{
    SetRegister(Bootstrap::HeartbeatTimeout, 600);
    SetRegister(0x01F0, 0x12345678);
    const std::string url = "Local:kx.xml;10000;400";
    SetBytes(Bootstrap::FirstUrl, std::vector<std::uint8_t>(url.begin(), url.end()));
    for (std::size_t i = 0; i < 0x400; ++i)
        mMemory[0x10000 + i] = static_cast<std::uint8_t>(i * 7);

    EXPECT_TRUE(mSocket.Open() && mSocket.Bind({Os::Ipv4Address::Any(), GvcpPort}) && mSocket.ReportArrival())
        << mSocket.LastError();
    EXPECT_TRUE(mBroadcaster.Open() && mBroadcaster.Bind({Os::Ipv4Address::Any(), 0}) &&
                mBroadcaster.EnableBroadcast() && mBroadcaster.SetSendInterface(AdapterIndex()))
        << mBroadcaster.LastError();
    mThread = std::thread([this] { Run(); });
}

ScriptedCamera::~ScriptedCamera()
{
    mStop = true;
    mSocket.Wake();
    mThread.join();
}

void ScriptedCamera::SetScript(const Script& script)
{
    const std::lock_guard<std::mutex> guard(mMutex);
    mScript = script;
}

void ScriptedCamera::SetRegister(std::uint32_t address, std::uint32_t value)
{
    const std::lock_guard<std::mutex> guard(mMutex);
    Put32(&mMemory[address], value);
}

std::uint32_t ScriptedCamera::Register(std::uint32_t address)
{
    const std::lock_guard<std::mutex> guard(mMutex);
    return Get32(&mMemory[address]);
}

void ScriptedCamera::SetBytes(std::uint32_t address, const std::vector<std::uint8_t>& bytes)
{
    const std::lock_guard<std::mutex> guard(mMutex);
    std::copy(bytes.begin(), bytes.end(), mMemory.begin() + address);
}

int ScriptedCamera::Seen(GvcpCode command)
{
    const std::lock_guard<std::mutex> guard(mMutex);
    return mSeen[command];
}

int ScriptedCamera::TakePrivilegeReads()
{
    const std::lock_guard<std::mutex> guard(mMutex);
    const int reads = mPrivilegeReads;
    mPrivilegeReads = 0;
    return reads;
}

void ScriptedCamera::Run()
{
    const unsigned adapter = AdapterIndex();
    GvcpBuffer buffer;
    Os::DatagramSlot slot;
    slot.spans[0] = Os::BufferSpan{buffer.data(), buffer.size()};
    slot.spanCount = 1;
    while (!mStop) {
        if (mSocket.WaitReadable(Os::Infinite) != Os::WaitResult::Ready)
            continue;
        while (!mStop && mSocket.ReceiveMany(&slot, 1) == 1) {
            GvcpCommand command{};
            if (DecodeCommand(buffer.data(), slot.size, command) != WireError::None)
                continue;
            // Discovery only from the adapter it lives on.
            if (command.mHeader.mCommand == GvcpCode::DiscoveryCmd && slot.arrival.interfaceIndex != adapter)
                continue;
            Answer(buffer.data(), slot.size, slot.source);
        }
    }
}

void ScriptedCamera::Send(const GvcpBuffer& buffer, std::size_t size, const Os::Endpoint& to)
{
    if (size > 0)
        mSocket.SendTo(to, buffer.data(), size);
}

void ScriptedCamera::Answer(const std::uint8_t* data, std::size_t size, const Os::Endpoint& from)
{
    GvcpCommand command{};
    DecodeCommand(data, size, command);
    const std::uint16_t id = command.mHeader.mRequestId;
    GvcpBuffer out;
    Script script;
    {
        const std::lock_guard<std::mutex> guard(mMutex);
        ++mSeen[command.mHeader.mCommand];
        if (mScript.mSilent)
            return;
        if (command.mHeader.mCommand != GvcpCode::DiscoveryCmd && mScript.mDrop > 0) {
            --mScript.mDrop;
            return;
        }
        script = mScript;
    }

    switch (command.mHeader.mCommand) {
    case GvcpCode::DiscoveryCmd:
        for (const DeviceInfo& identity : mIdentities) {
            const std::size_t length = EncodeDiscoveryAck(id, identity, out);
            mBroadcaster.SendTo({Os::Ipv4Address::Broadcast(), from.port}, out.data(), length);
        }
        return;
    case GvcpCode::ReadRegCmd: {
        std::vector<std::uint32_t> addresses;
        if (DecodeReadRegCommand(command, addresses) != WireError::None)
            return;
        std::vector<std::uint32_t> values;
        {
            const std::lock_guard<std::mutex> guard(mMutex);
            for (const std::uint32_t address : addresses) {
                values.push_back(address + 4 <= MemorySize ? Get32(&mMemory[address]) : 0);
                if (address == Bootstrap::Ccp)
                    ++mPrivilegeReads;
            }
        }
        if (script.mStrayFirst) {
            const std::uint32_t wrong[2] = {0xBAD, 0xBAD};
            Send(out, EncodeReadRegAck(static_cast<std::uint16_t>(id + 1), wrong, values.size(), out), from);
            Send(out, EncodeWriteRegAck(id, 1, out), from);
            Send(out, EncodeReadRegAck(id, wrong, 2, out), from);
        }
        Send(out, EncodeReadRegAck(id, values.data(), values.size(), out), from);
        return;
    }
    case GvcpCode::WriteRegCmd: {
        std::vector<RegisterWrite> writes;
        if (DecodeWriteRegCommand(command, writes) != WireError::None)
            return;
        std::uint16_t index = 0;
        for (const RegisterWrite& write : writes) {
            if (write.mAddress == script.mRefuseAddress) {
                EncodeWriteRegAck(id, index, out);
                Put16(&out[0], GvcpStatus::AccessDenied);
                Send(out, GvcpHeaderSize + 4, from);
                return;
            }
            SetRegister(write.mAddress, write.mValue);
            ++index;
        }
        Send(out, EncodeWriteRegAck(id, index, out), from);
        return;
    }
    case GvcpCode::ReadMemCmd: {
        std::uint32_t address = 0;
        std::size_t count = 0;
        if (DecodeReadMemCommand(command, address, count) != WireError::None || address + count > MemorySize)
            return;
        if (script.mPendingMs > 0) {
            Send(out, EncodePendingAck(id, script.mPendingMs, out), from);
            Sleep(script.mPendingMs - script.mPendingMs / 10);
        }
        Sleep(script.mReadMemDelayMs);
        std::vector<std::uint8_t> bytes(count);
        {
            const std::lock_guard<std::mutex> guard(mMutex);
            std::memcpy(bytes.data(), &mMemory[address], count);
        }
        Send(out, EncodeReadMemAck(id, MemoryBlock{address, bytes.data(), count}, out), from);
        return;
    }
    case GvcpCode::WriteMemCmd: {
        MemoryBlock block{};
        if (DecodeWriteMemCommand(command, block) != WireError::None || block.mAddress + block.mSize > MemorySize)
            return;
        {
            const std::lock_guard<std::mutex> guard(mMutex);
            std::memcpy(&mMemory[block.mAddress], block.mData, block.mSize);
        }
        Send(out, EncodeWriteMemAck(id, static_cast<std::uint16_t>(block.mSize), out), from);
        return;
    }
    default:
        return;
    }
}

}
