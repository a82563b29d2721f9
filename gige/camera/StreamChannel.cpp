#include "StreamChannel.h"

#include "EventLog.h"
#include "NetworkRegisters.h"
#include "camsim/FrameClock.h"
#include "wire/Bootstrap.h"
#include "wire/StreamLayout.h"

namespace GigeCamera {

namespace {

namespace Bootstrap = Gige::Bootstrap;
using Clock = std::chrono::steady_clock;

constexpr std::uint32_t StandardPacketIdLimit = 0xFFFFFF;

}

StreamChannel::StreamChannel(CameraCore& core, Os::UdpSocket socket, StreamSettings settings, const Silence& silence)
    : mCore(core), mSocket(std::move(socket)), mSettings(std::move(settings)), mSilence(silence),
      mDice(mSettings.mFaults, mSettings.mSeed), mRing(mSettings.mResendFrames)
{
    mThread = std::thread([this] { Run(); });
}

StreamChannel::~StreamChannel()
{
    Stop();
}

void StreamChannel::Stop()
{
    {
        // Under the locks its waits use, so that no wait misses it.
        std::lock_guard<std::mutex> core(mCore.mMutex);
        std::lock_guard<std::mutex> pace(mPaceMutex);
        mStopping = true;
    }
    mCore.mStreamWake.notify_all();
    mPaceWake.notify_all();
    if (mThread.joinable())
        mThread.join();
}

StreamChannel::Config StreamChannel::ReadConfig() const
{
    const CamSim::Camera& camera = mCore.mModel;
    Config config;
    const std::uint32_t scp = ReadRegister(camera, Bootstrap::Scp(0));
    const std::uint32_t scps = ReadRegister(camera, Bootstrap::Scps(0));
    config.mDestination = {Os::Ipv4Address(ReadRegister(camera, Bootstrap::Scda(0))),
                           static_cast<std::uint16_t>(scp & Bootstrap::ScpHostPortMask)};
    config.mPacketSize = scps & Bootstrap::ScpsPacketSizeMask;
    config.mDontFragment = (scps & Bootstrap::ScpsDoNotFragment) != 0;
    config.mExtended = (ReadRegister(camera, Bootstrap::GvspConfig) & Bootstrap::GvspConfigExtendedIds) != 0;
    const std::uint64_t frequency = std::uint64_t{ReadRegister(camera, Bootstrap::TimestampFrequencyHigh)} << 32 |
                                    ReadRegister(camera, Bootstrap::TimestampFrequencyLow);
    const std::uint32_t ticks = ReadRegister(camera, Bootstrap::Scpd(0));
    if (frequency != 0)
        config.mDelay = std::chrono::nanoseconds(static_cast<std::int64_t>(ticks * 1000000000ull / frequency));
    return config;
}

void StreamChannel::Run()
{
    CamSim::FrameClock clock;
    std::unique_lock<std::mutex> lock(mCore.mMutex);
    while (!mStopping) {
        const Config config = ReadConfig();
        UpdateSession(config);
        CamSim::Camera& camera = mCore.mModel;
        if (!mCore.mRequests.empty()) {
            lock.unlock();
            ServeRequests(config);
            lock.lock();
            continue;
        }
        if (!config.IsOpen()) {
            clock.Stop();
            mCore.mStreamWake.wait(lock);
            continue;
        }
        if (camera.TakeTrigger()) {
            SendFrame(lock, config);
            continue;
        }
        if (!camera.IsFreeRunning()) {
            clock.Stop();
            mCore.mStreamWake.wait(lock);
            continue;
        }
        // Unpaced frames go as fast as the link takes them; while nothing
        // leaves (silence, refused sends) they keep the frame rate instead,
        // rather than take the processor.
        if (camera.IsUnpaced() && !mSilence.IsOn() && !mLastFrameFailed) {
            SendFrame(lock, config);
            continue;
        }
        if (mCore.mStreamWake.wait_until(lock, clock.NextDue(camera)) == std::cv_status::timeout) {
            SendFrame(lock, config);
            clock.Advance(camera);
        }
    }
    lock.unlock();
    EndSession();
}

void StreamChannel::SendFrame(std::unique_lock<std::mutex>& lock, const Config& config)
{
    CamSim::Camera& camera = mCore.mModel;
    const CamSim::FrameGeometry geometry = camera.Geometry();
    const std::uint32_t number = camera.NextFrameNumber(true);
    const std::uint64_t timestamp = camera.TimestampTicks();
    lock.unlock();
    SentFrame& frame = mRing.Next();
    const std::uint64_t sentBefore = mCounts.mPackets;
    if (FillFrame(frame, geometry, number, timestamp, config)) {
        ++mCounts.mFrames;
        const std::uint32_t trailer = frame.mPayloadPackets + 1;
        for (std::uint32_t id = 0; id <= trailer && !mStopping; ++id) {
            ServeRequests(config);
            Datagram datagram;
            MakePacket(frame, id, false, datagram);
            if (mDice.DropOriginal())
                ++mCounts.mDropped;
            else
                Transmit(config, datagram);
            if (const unsigned kind = mDice.Malformed()) {
                MakeMalformed(frame, id, kind, mZeros.data(), datagram);
                if (Transmit(config, datagram))
                    ++mCounts.mMalformed;
            }
        }
    }
    mLastFrameFailed = mCounts.mPackets == sentBefore;
    lock.lock();
}

bool StreamChannel::FillFrame(SentFrame& frame, const CamSim::FrameGeometry& geometry, std::uint32_t number,
                              std::uint64_t timestamp, const Config& config)
{
    const std::uint32_t bytesPerPacket = Gige::PayloadBytesPerPacket(config.mPacketSize, config.mExtended);
    const std::uint64_t bytes = geometry.FrameBytes();
    const std::uint64_t packets = Gige::PayloadPacketCount(bytes, bytesPerPacket);
    if (bytesPerPacket == 0 || (!config.mExtended && packets + 1 > StandardPacketIdLimit)) {
        if (!mPacketSizeReported)
            LogEvent(mSettings.mLabel + ": frames not sent: a packet size of " + std::to_string(config.mPacketSize) +
                     " bytes leaves no room for them");
        mPacketSizeReported = true;
        return false;
    }
    mPacketSizeReported = false;
    frame.mBlockId = NextBlockId(config.mExtended);
    frame.mExtended = config.mExtended;
    frame.mBytesPerPacket = bytesPerPacket;
    frame.mPayloadPackets = static_cast<std::uint32_t>(packets);
    frame.mLeader = {Gige::PayloadType::Image, timestamp, geometry.mPixelFormat, geometry.mWidth, geometry.mHeight,
                     geometry.mOffsetX, geometry.mOffsetY, 0, 0};
    frame.mPixels.resize(static_cast<std::size_t>(bytes));
    mPattern.Fill(frame.mPixels.data(), frame.mPixels.size(), geometry, number);
    if (mZeros.size() < std::size_t{bytesPerPacket} + 4)
        mZeros.assign(std::size_t{bytesPerPacket} + 4, 0);
    return true;
}

std::uint64_t StreamChannel::NextBlockId(bool extended)
{
    ++mBlocksSent;
    // 16-bit ids skip 0, which names no block.
    return extended ? mBlocksSent : (mBlocksSent - 1) % 0xFFFF + 1;
}

bool StreamChannel::Transmit(const Config& config, const Datagram& datagram)
{
    if (Send(config, datagram))
        return true;
    if (!mSendFailureReported && !mSilence.IsOn())
        LogEvent(mSettings.mLabel + ": stream packet not sent: " + mSocket.LastError());
    mSendFailureReported = true;
    return false;
}

bool StreamChannel::Send(const Config& config, const Datagram& datagram)
{
    Pace(config.mDelay);
    if (mSilence.IsOn())
        return false;
    if (mDontFragment != config.mDontFragment) {
        if (!mSocket.SetDontFragment(config.mDontFragment))
            LogEvent(mSettings.mLabel + ": " + mSocket.LastError());
        mDontFragment = config.mDontFragment;
    }
    Os::ConstBufferSpan spans[Os::MaxDatagramSpans];
    const std::size_t count = datagram.Spans(spans);
    if (mSocket.SendTo(config.mDestination, spans, count)) {
        ++mCounts.mPackets;
        return true;
    }
    ++mCounts.mSendFailures;
    return false;
}

void StreamChannel::Pace(std::chrono::nanoseconds delay)
{
    if (delay.count() == 0)
        return;
    // At least the delay between two packets; a late packet moves the next.
    if (mNextSend > Clock::now()) {
        std::unique_lock<std::mutex> lock(mPaceMutex);
        mPaceWake.wait_until(lock, mNextSend, [this] { return mStopping.load(); });
    }
    mNextSend = Clock::now() + delay;
}

}
