// What the stream does besides frames: resend requests, test packets, and
// the log lines of a stream's start and end.
#include "StreamChannel.h"

#include "EventLog.h"

#include <algorithm>
#include <deque>

namespace GigeCamera {

namespace {

// A request for packets of a frame that is gone is answered packet by
// packet, up to this many: a host asks for what it missed, not for more.
constexpr std::uint64_t MaxUnavailableAnswers = 256;
// An IP datagram's headers: the test packet's size counts them.
constexpr std::uint32_t IpAndUdpHeaders = 28;

std::string Text(std::uint64_t value)
{
    return std::to_string(value);
}

}

void StreamChannel::ServeRequests(const Config& config)
{
    std::deque<StreamRequest> requests;
    {
        std::lock_guard<std::mutex> lock(mCore.mMutex);
        requests.swap(mCore.mRequests);
    }
    for (const StreamRequest& request : requests) {
        if (mStopping)
            return;
        if (request.mKind == StreamRequest::Kind::TestPacket)
            SendTestPacket(config);
        else
            Resend(request.mResend, config);
    }
}

void StreamChannel::Resend(const Gige::PacketResend& request, const Config& config)
{
    if (!config.IsOpen())
        return;
    ++mCounts.mResendRequests;
    const std::uint64_t first = request.mFirstPacket;
    // A range that ends before it starts asks for its first packet.
    const std::uint64_t last = std::max<std::uint64_t>(request.mLastPacket, first);
    Datagram datagram;
    const SentFrame* frame = mRing.Find(request.mBlockId, request.mExtended);
    if (frame == nullptr) {
        const std::uint64_t end = std::min(last, first + MaxUnavailableAnswers - 1);
        for (std::uint64_t id = first; id <= end && !mStopping; ++id) {
            MakeUnavailable(request.mBlockId, request.mExtended, static_cast<std::uint32_t>(id), false, datagram);
            if (Transmit(config, datagram))
                ++mCounts.mUnavailable;
        }
        return;
    }
    const std::uint64_t trailer = std::uint64_t{frame->mPayloadPackets} + 1;
    for (std::uint64_t id = first; id <= std::min(last, trailer) && !mStopping; ++id) {
        if (mDice.DropResent()) {
            ++mCounts.mResentDropped;
            continue;
        }
        MakePacket(*frame, static_cast<std::uint32_t>(id), true, datagram);
        if (Transmit(config, datagram))
            ++mCounts.mResent;
    }
    if (last > trailer) {
        MakeUnavailable(request.mBlockId, request.mExtended, static_cast<std::uint32_t>(std::max(first, trailer + 1)),
                        true, datagram);
        if (Transmit(config, datagram))
            ++mCounts.mUnavailable;
    }
}

void StreamChannel::SendTestPacket(const Config& config)
{
    if (!config.IsOpen()) {
        LogEvent(mSettings.mLabel + ": test packet not sent: no stream destination");
        return;
    }
    if (config.mPacketSize <= IpAndUdpHeaders)
        return;
    // A datagram of the packet size, IP header included; its bytes are zeros
    // (a header of block 0, packet 0).
    mTestPacket.assign(config.mPacketSize - IpAndUdpHeaders, 0);
    Datagram datagram;
    datagram.mPayload = mTestPacket.data();
    datagram.mPayloadSize = mTestPacket.size();
    // A test packet too large for the path is what the test is for.
    if (!Send(config, datagram) && !mSilence.IsOn())
        LogEvent(mSettings.mLabel + ": test packet of " + Text(config.mPacketSize) + " bytes" +
                 (config.mDontFragment ? " (don't fragment)" : "") + " not sent: " + mSocket.LastError());
}

void StreamChannel::UpdateSession(const Config& config)
{
    const Os::Endpoint destination = config.IsOpen() ? config.mDestination : Os::Endpoint{};
    if (destination == mSessionDestination)
        return;
    EndSession();
    if (!config.IsOpen())
        return;
    mSessionDestination = destination;
    mSessionStart = mCounts;
    mSendFailureReported = false;
    LogEvent(mSettings.mLabel + ": stream to " + destination.ToString() + ", packets of " + Text(config.mPacketSize) +
             " bytes, " + (config.mExtended ? "64-bit" : "16-bit") + " block ids");
}

void StreamChannel::EndSession()
{
    if (mSessionDestination == Os::Endpoint{})
        return;
    const StreamCounts& start = mSessionStart;
    LogEvent(mSettings.mLabel + ": stream to " + mSessionDestination.ToString() + " stopped: " +
             Text(mCounts.mFrames - start.mFrames) + " frames, " + Text(mCounts.mPackets - start.mPackets) +
             " packets sent, " + Text(mCounts.mDropped - start.mDropped) + " dropped, " +
             Text(mCounts.mResent - start.mResent) + " resent, " + Text(mCounts.mUnavailable - start.mUnavailable) +
             " unavailable");
    mSessionDestination = {};
}

}
