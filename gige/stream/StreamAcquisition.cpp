// Starting and stopping an acquisition: the camera's packet size and its
// share of the link settled, its stream channel pointed at a receiver of
// this host and back to nothing, the receive path sized for the
// acquisition's buffers, and the receiving thread.
#include "stream/StreamState.h"

#include "stream/FrameAssembler.h"
#include "stream/PacketSizeProbe.h"
#include "stream/ReceivePath.h"
#include "stream/RegisterText.h"
#include "wire/Bootstrap.h"
#include "wire/StreamLayout.h"

#include <algorithm>
#include <exception>

namespace Gige {

namespace {

constexpr std::uint32_t Channel = 0;

}

GC_ERROR Stream::State::Start(std::uint64_t frames)
{
    std::size_t largest = 0;
    {
        std::lock_guard<std::mutex> lock(mLock);
        if (mAcquiring) {
            return FailLocked(GC_ERR_ACCESS_DENIED, "acquisition runs already");
        }
        if (frames == 0) {
            return FailLocked(GC_ERR_INVALID_PARAMETER, "no frames to acquire");
        }
        if (mLost) {
            return FailLocked(GC_ERR_DEVICE_LOST, "the camera was lost");
        }
        for (const auto& entry : mBuffers) {
            largest = std::max(largest, entry.second->mSize);
        }
        if (largest == 0) {
            return FailLocked(GC_ERR_ACCESS_DENIED, "no buffer announced: announce buffers before acquisition starts");
        }
    }

    // The driver may change the packet size after the stream was made: it
    // is read now, and everything is sized for it before the first frame.
    std::uint32_t scps = 0;
    const GC_ERROR readCode = mHost.ReadRegister(Bootstrap::Scps(Channel), scps);
    if (readCode != GC_ERR_SUCCESS) {
        return Fail(readCode, RegisterFailure("read the stream packet size SCPS", Bootstrap::Scps(Channel), readCode));
    }
    const GC_ERROR sizeCode = SettlePacketSize(scps);
    if (sizeCode != GC_ERR_SUCCESS) {
        return sizeCode;
    }
    const std::uint32_t packetSize = scps & Bootstrap::ScpsPacketSizeMask;
    if (PayloadBytesPerPacket(scps, true) == 0) {
        return Fail(GC_ERR_INVALID_PARAMETER, "the camera's stream packet size of " + std::to_string(packetSize) +
                                                  " bytes (SCPS) leaves no room for payload");
    }
    const unsigned mtu = mHost.InterfaceMtu();
    if (mtu != 0 && packetSize > mtu) {
        // The camera would have its packets fragmented, or dropped where it
        // may not fragment them.
        return Fail(GC_ERR_INVALID_PARAMETER, "the camera's stream packet size of " + std::to_string(packetSize) +
                                                  " bytes (SCPS) exceeds the MTU of " + std::to_string(mtu) +
                                                  " bytes of " + mHost.InterfaceName() +
                                                  ": lower the packet size or raise the adapter's MTU");
    }

    // Resend only where the camera announces it; a camera that cannot tell
    // gets none.
    std::uint32_t capability = 0;
    const bool resend = mOptions.mResend.mEnabled &&
                        mHost.ReadRegister(Bootstrap::Capability, capability) == GC_ERR_SUCCESS &&
                        (capability & Bootstrap::CapabilityPacketResend) != 0;

    ReceiveRequest request;
    request.mHost = mHost.HostAddress();
    request.mInterfaceName = mHost.InterfaceName();
    request.mCamera = mHost.CameraAddress();
    request.mPacketSize = packetSize;
    request.mLargestBuffer = largest;
    request.mAllowPacketRing = mOptions.mAllowPacketRing;
    ReceivePath path;
    std::string error;
    if (!OpenReceivePath(request, path, error)) {
        return Fail(GC_ERR_ERROR, error);
    }
    FrameAssembler::Settings settings;
    settings.mPacketSize = packetSize;
    settings.mLargestBuffer = largest;
    settings.mFramesInFlight = mOptions.mFramesInFlight;
    settings.mMissingPacketWaitMs = mOptions.mMissingPacketWaitMs;
    settings.mFrameRetentionMs = mOptions.mFrameRetentionMs;
    settings.mResend = mOptions.mResend;
    settings.mResend.mEnabled = resend;
    {
        std::lock_guard<std::mutex> lock(mLock);
        mAcquiring = true;
        mFramesLeft = frames;
        mPlannedBuffer = largest;
        mReceivePath = path.mDescription;
        mReceiveFailure.clear();
        mReceiveBuffer = path.mReceiveBuffer;
        mPacketSize = packetSize;
    }
    try {
        // The source sends the requests: from the port the stream comes to.
        auto assembler = std::make_unique<FrameAssembler>(*this, mCounters, settings, path.mSource.get());
        mReceiver = std::make_unique<Receiver>(std::move(path.mSource), std::move(assembler), *this);
    } catch (const std::exception& failure) {
        std::lock_guard<std::mutex> lock(mLock);
        mAcquiring = false;
        return FailLocked(GC_ERR_ERROR, std::string("cannot start the stream's receiving thread: ") + failure.what());
    }

    // The receiver is ready for the first packet before the camera may send
    // it, and the camera paced for its share of the link.
    JoinLink(packetSize);
    GC_ERROR code = mHost.WriteRegister(Bootstrap::Scda(Channel), request.mHost.Value());
    if (code != GC_ERR_SUCCESS) {
        error = RegisterFailure("write the stream destination SCDA", Bootstrap::Scda(Channel), code);
    } else {
        // Direction and interface bits 0: the channel sends, by the camera's first interface.
        code = mHost.WriteRegister(Bootstrap::Scp(Channel), path.mPort);
        if (code != GC_ERR_SUCCESS) {
            error = RegisterFailure("write the stream port SCP", Bootstrap::Scp(Channel), code);
        }
    }
    if (code != GC_ERR_SUCCESS) {
        // A write that timed out may have reached the camera all the same.
        mHost.WriteRegister(Bootstrap::Scp(Channel), 0);
        LeaveLink();
        mReceiverNanoseconds += mReceiver->Stop();
        mReceiver.reset();
        std::lock_guard<std::mutex> lock(mLock);
        FlushLocked();
        mAcquiring = false;
        return FailLocked(code, error);
    }
    if (!path.mWarning.empty()) {
        std::lock_guard<std::mutex> lock(mLock);
        mLastError = path.mWarning;
    }
    return GC_ERR_SUCCESS;
}

GC_ERROR Stream::State::Stop()
{
    GC_ERROR code = GC_ERR_SUCCESS;
    std::string error;
    if (mReceiver != nullptr) {
        bool lost = false;
        {
            std::lock_guard<std::mutex> lock(mLock);
            lost = mLost;
        }
        // A lost camera hears nothing: no write waits for its time-out.
        if (!lost && !mHost.IsLost()) {
            code = mHost.WriteRegister(Bootstrap::Scp(Channel), 0);
            if (code != GC_ERR_SUCCESS) {
                error = "acquisition stopped, but " +
                        RegisterFailure("clear the stream port SCP", Bootstrap::Scp(Channel), code);
            }
        }
        LeaveLink();
        mReceiverNanoseconds += mReceiver->Stop();
        mReceiver.reset();
    }
    std::lock_guard<std::mutex> lock(mLock);
    FlushLocked();
    mAcquiring = false;
    return code == GC_ERR_SUCCESS ? code : FailLocked(code, error);
}

GC_ERROR Stream::State::SettlePacketSize(std::uint32_t& scps)
{
    const std::uint32_t own = scps & Bootstrap::ScpsPacketSizeMask;
    if (mOptions.mPacketSize != 0) {
        if (own != mOptions.mPacketSize) {
            scps = (scps & ~(Bootstrap::ScpsFireTestPacket | Bootstrap::ScpsPacketSizeMask)) | mOptions.mPacketSize;
            const GC_ERROR code = mHost.WriteRegister(Bootstrap::Scps(Channel), scps);
            if (code != GC_ERR_SUCCESS) {
                return Fail(code, RegisterFailure("write the stream packet size SCPS", Bootstrap::Scps(Channel), code));
            }
        }
        return GC_ERR_SUCCESS;
    }
    std::string error;
    const GC_ERROR code = ProbePacketSize(mHost, scps, mHost.InterfaceMtu(), error);
    return code == GC_ERR_SUCCESS ? code : Fail(code, error);
}

void Stream::State::JoinLink(std::uint32_t packetSize)
{
    // A camera without SCPD streams unpaced: its write fails and is let be.
    if (mOptions.mPacketDelay) {
        mHost.WriteRegister(Bootstrap::Scpd(Channel), *mOptions.mPacketDelay);
        return;
    }
    if (mOptions.mLink == nullptr) {
        return;
    }
    LinkShare::Member member;
    member.mHost = &mHost;
    member.mPacketSize = packetSize;
    std::uint32_t high = 0;
    std::uint32_t low = 0;
    if (mHost.ReadRegister(Bootstrap::TimestampFrequencyHigh, high) == GC_ERR_SUCCESS &&
        mHost.ReadRegister(Bootstrap::TimestampFrequencyLow, low) == GC_ERR_SUCCESS) {
        member.mTicksPerSecond = std::uint64_t{high} << 32 | low;
    }
    mHost.ReadRegister(Bootstrap::Scpd(Channel), member.mOwnDelay);
    mOptions.mLink->Join(member);
    mSharesLink = true;
}

void Stream::State::LeaveLink()
{
    if (mSharesLink) {
        mOptions.mLink->Leave(&mHost);
        mSharesLink = false;
    }
}

}
