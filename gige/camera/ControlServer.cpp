#include "ControlServer.h"

#include "EventLog.h"
#include "NetworkRegisters.h"
#include "wire/BigEndian.h"
#include "wire/Bootstrap.h"
#include "wire/Discovery.h"
#include "wire/GvcpMessage.h"
#include "wire/GvcpStatus.h"
#include "wire/PacketResend.h"
#include "wire/PendingAck.h"

#include <array>

namespace GigeCamera {

namespace {

namespace Bootstrap = Gige::Bootstrap;
using Gige::GvcpCode;

// Datagrams taken per wait; a control datagram is at most 548 bytes, and a
// longer one is refused whole.
constexpr std::size_t Batch = 16;
constexpr std::size_t SlotBytes = Gige::GvcpMaxDatagram + 4;
// Resend requests waiting for the stream thread beyond this are dropped: a
// host asking faster than packets can go gets them as the queue drains.
constexpr std::size_t MaxQueuedRequests = 4096;
constexpr std::size_t MaxQueuedDiscoveries = 64;

}

ControlServer::ControlServer(CameraCore& core, Os::UdpSocket socket, ControlSettings settings, const Silence& silence)
    : mCore(core), mSocket(std::move(socket)), mSettings(std::move(settings)), mSilence(silence)
{
    mThread = std::thread([this] { Run(); });
}

ControlServer::~ControlServer()
{
    Stop();
}

void ControlServer::Stop()
{
    mStopping = true;
    {
        std::lock_guard<std::mutex> lock(mDelayMutex);
        mDelayWake.notify_all();
    }
    mSocket.Wake();
    if (mThread.joinable())
        mThread.join();
}

void ControlServer::QueueDiscovery(const Os::Endpoint& host, std::uint16_t requestId, bool allowBroadcastAck)
{
    {
        std::lock_guard<std::mutex> lock(mQueueMutex);
        if (mDiscoveries.size() >= MaxQueuedDiscoveries)
            return;
        mDiscoveries.push_back({host, requestId, allowBroadcastAck});
    }
    mSocket.Wake();
}

void ControlServer::Run()
{
    std::vector<std::array<std::uint8_t, SlotBytes>> buffers(Batch);
    Os::DatagramSlot slots[Batch];
    for (std::size_t i = 0; i < Batch; ++i) {
        slots[i].spans[0] = {buffers[i].data(), buffers[i].size()};
        slots[i].spanCount = 1;
    }
    while (!mStopping) {
        std::uint32_t timeout = 0;
        {
            std::lock_guard<std::mutex> lock(mCore.mMutex);
            timeout = MillisecondsToHeartbeatDeadline();
        }
        const Os::WaitResult waited = mSocket.WaitReadable(timeout);
        if (mStopping)
            break;
        if (waited == Os::WaitResult::Failed) {
            LogEvent(mSettings.mLabel + ": control channel stops: " + mSocket.LastError());
            break;
        }
        const int received = waited == Os::WaitResult::Ready ? mSocket.ReceiveMany(slots, Batch) : 0;
        if (received < 0) {
            LogEvent(mSettings.mLabel + ": control channel stops: " + mSocket.LastError());
            break;
        }
        for (int i = 0; i < received; ++i) {
            if (mSilence.IsOn())
                continue;
            if (slots[i].truncated) {
                ++mCounts.mRejected;
                continue;
            }
            Handle(buffers[i].data(), slots[i].size, slots[i].source);
        }
        std::vector<Discovery> discoveries;
        {
            std::lock_guard<std::mutex> lock(mQueueMutex);
            discoveries.swap(mDiscoveries);
        }
        if (!mSilence.IsOn())
            for (const Discovery& discovery : discoveries)
                AnswerDiscovery(discovery);
        CheckHeartbeat();
    }
}

void ControlServer::Handle(const std::uint8_t* data, std::size_t size, const Os::Endpoint& from)
{
    Gige::GvcpCommand command;
    if (Gige::DecodeCommand(data, size, command) != Gige::WireError::None) {
        ++mCounts.mRejected;
        return;
    }
    const Gige::CommandHeader& header = command.mHeader;
    {
        std::lock_guard<std::mutex> lock(mCore.mMutex);
        // Any request of the controlling host is its heartbeat.
        if (mPrivilege.IsController(from))
            mPrivilege.Heard(Clock::now());
    }
    if (header.mCommand == GvcpCode::PacketResendCmd) {
        HandleResend(command, from);
        return;
    }
    if (header.mCommand == GvcpCode::DiscoveryCmd) {
        bool allowBroadcastAck = false;
        if (Gige::DecodeDiscoveryCommand(command, allowBroadcastAck) == Gige::WireError::None)
            AnswerDiscovery({from, header.mRequestId, allowBroadcastAck});
        return;
    }
    const bool ackRequired = (header.mFlags & Gige::CommandFlag::AckRequired) != 0;
    if (mLast.mValid && mLast.mHost == from && mLast.mCommand == header.mCommand &&
        mLast.mRequestId == header.mRequestId) {
        if (ackRequired)
            Send(from, mLast.mBytes, mLast.mSize);
        return;
    }
    DelayIfSlow(command, from);
    Gige::GvcpBuffer ack{};
    const std::size_t ackSize = Execute(command, from, ack);
    if (!ackRequired || ackSize == 0)
        return;
    Send(from, ack, ackSize);
    mLast = {true, from, header.mCommand, header.mRequestId, ack, ackSize};
}

std::size_t ControlServer::Execute(const Gige::GvcpCommand& command, const Os::Endpoint& from,
                                   Gige::GvcpBuffer& ack)
{
    std::lock_guard<std::mutex> lock(mCore.mMutex);
    switch (command.mHeader.mCommand) {
    case GvcpCode::ReadRegCmd:
        return ReadRegisters(command, from, ack);
    case GvcpCode::WriteRegCmd:
        return WriteRegisters(command, from, ack);
    case GvcpCode::ReadMemCmd:
        return ReadMemory(command, from, ack);
    case GvcpCode::WriteMemCmd:
        return WriteMemory(command, from, ack);
    default: {
        // Acknowledge codes are the command's plus one.
        const auto code = static_cast<GvcpCode>(static_cast<std::uint16_t>(command.mHeader.mCommand) + 1);
        return Gige::EncodeAckHeader({Gige::GvcpStatus::NotImplemented, code, 0, command.mHeader.mRequestId}, ack);
    }
    }
}

void ControlServer::AnswerDiscovery(const Discovery& discovery)
{
    Gige::GvcpBuffer ack{};
    std::uint32_t address = 0;
    {
        std::lock_guard<std::mutex> lock(mCore.mMutex);
        mCore.mModel.Registers().Read(0, &ack[Gige::GvcpHeaderSize], Gige::DiscoveryAckLength, false);
        address = ReadRegister(mCore.mModel, Bootstrap::CurrentIp);
    }
    const std::size_t size = Gige::FinishAck(GvcpCode::DiscoveryAck, discovery.mRequestId, Gige::DiscoveryAckLength, ack);
    Os::Endpoint to = discovery.mHost;
    // A host on another subnet cannot reach this address: it may ask for
    // the answer by broadcast, which reaches it on the link.
    const std::uint32_t mask = mSettings.mSubnetMask;
    if (discovery.mAllowBroadcastAck && (to.address.Value() & mask) != (address & mask))
        to.address = Os::Ipv4Address::Broadcast();
    Send(to, ack, size);
}

void ControlServer::HandleResend(const Gige::GvcpCommand& command, const Os::Endpoint& from)
{
    Gige::PacketResend resend{};
    std::lock_guard<std::mutex> lock(mCore.mMutex);
    // The controlling host may ask from any port: receivers ask from their
    // stream socket.
    if (!mSettings.mOffersResend || !mPrivilege.IsHeld() || mPrivilege.Controller().address != from.address ||
        Gige::DecodePacketResend(command, resend) != Gige::WireError::None || resend.mChannel != 0 ||
        mCore.mRequests.size() >= MaxQueuedRequests) {
        ++mCounts.mResendIgnored;
        return;
    }
    ++mCounts.mResendRequests;
    mCore.mRequests.push_back({StreamRequest::Kind::Resend, resend});
    mCore.mStreamWake.notify_all();
}

void ControlServer::Send(const Os::Endpoint& to, const Gige::GvcpBuffer& bytes, std::size_t size)
{
    // A host that went away is no reason to stop serving the others.
    mSocket.SendTo(to, bytes.data(), size);
}

void ControlServer::DelayIfSlow(const Gige::GvcpCommand& command, const Os::Endpoint& from)
{
    const Gige::GvcpCode code = command.mHeader.mCommand;
    if (mSettings.mSlowStartMs == 0 || (code != GvcpCode::WriteRegCmd && code != GvcpCode::WriteMemCmd))
        return;
    bool starts = false;
    bool pendingAcks = false;
    {
        std::lock_guard<std::mutex> lock(mCore.mMutex);
        if (!mPrivilege.IsController(from))
            return;
        const CamSim::RegisterSpace& space = mCore.mModel.Registers();
        const char* start = mCore.mModel.GetModel().mRegisters.mAcquisitionStart;
        const std::uint8_t* body = command.mBody;
        const std::size_t length = command.mHeader.mLength;
        if (code == GvcpCode::WriteRegCmd) {
            for (std::size_t offset = 0; offset + 8 <= length; offset += 8)
                starts = starts || space.Touches(start, Gige::Get32(body + offset), 4);
        } else if (length > 4) {
            starts = space.Touches(start, Gige::Get32(body), length - 4);
        }
        pendingAcks = (ReadRegister(mCore.mModel, Bootstrap::GvcpConfig) & Bootstrap::GvcpConfigPendingAck) != 0;
    }
    if (!starts)
        return;
    if (pendingAcks && (command.mHeader.mFlags & Gige::CommandFlag::AckRequired) != 0) {
        Gige::GvcpBuffer pending{};
        const std::size_t size = Gige::EncodePendingAck(command.mHeader.mRequestId,
                                                        static_cast<std::uint16_t>(mSettings.mSlowStartMs), pending);
        Send(from, pending, size);
    }
    std::unique_lock<std::mutex> lock(mDelayMutex);
    mDelayWake.wait_for(lock, std::chrono::milliseconds(mSettings.mSlowStartMs), [this] { return mStopping.load(); });
}

}
