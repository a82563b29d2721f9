// The producer's stream receiver against the test camera on a lossy link:
// what the camera drops comes back on request, and a link where requests
// go unanswered costs no more than the resend budget.
#include "CameraLab.h"

#include "os/Event.h"
#include "stream/Stream.h"
#include "wire/Bootstrap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

using namespace CameraLab;
namespace Bootstrap = Gige::Bootstrap;

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t Width = 640;
constexpr std::uint32_t Height = 512;
constexpr std::size_t FrameBytes = std::size_t{Width} * Height;
constexpr std::uint32_t PacketSize = 1500;

// The stream's device side: the test's control channel.
class ClientHost : public Gige::StreamHost {
public:
    explicit ClientHost(ControlClient& client) : mClient(client) {}

    GC_ERROR ReadRegister(std::uint32_t address, std::uint32_t& value) override
    {
        return mClient.ReadRegister(address, value) == 0 ? GC_ERR_SUCCESS : GC_ERR_ERROR;
    }
    GC_ERROR WriteRegister(std::uint32_t address, std::uint32_t value) override
    {
        return mClient.WriteRegister(address, value) == 0 ? GC_ERR_SUCCESS : GC_ERR_ERROR;
    }
    Os::Ipv4Address HostAddress() const override { return CameraLab::HostAddress; }
    const std::string& InterfaceName() const override { return HostSide; }
    unsigned InterfaceIndex() const override { return 0; }
    unsigned InterfaceMtu() const override { return 0; }
    Os::Ipv4Address CameraAddress() const override { return CameraLab::CameraAddress; }
    bool IsLost() const override { return false; }

private:
    ControlClient& mClient;
};

std::uint32_t FloatBits(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// A stream from the camera with its buffers queued and its event registered.
class Acquisition {
public:
    Acquisition(ControlClient& client, const Gige::StreamOptions& options) : mHost(client), mStream(mHost, options)
    {
        EXPECT_EQ(client.TakeControl(), 0);
        EXPECT_EQ(client.WriteRegister(Bootstrap::Scps(0), PacketSize), 0);
        EXPECT_EQ(client.WriteRegister(Kx1300Register("WidthReg"), Width), 0);
        EXPECT_EQ(client.WriteRegister(Kx1300Register("HeightReg"), Height), 0);
        for (int i = 0; i < 8; ++i) {
            mMemory.push_back(std::make_unique<std::uint8_t[]>(FrameBytes));
            BUFFER_HANDLE handle = nullptr;
            EXPECT_EQ(mStream.AnnounceBuffer(mMemory.back().get(), FrameBytes, nullptr, &handle), GC_ERR_SUCCESS);
            mHandles.push_back(handle);
            EXPECT_EQ(mStream.QueueBuffer(handle), GC_ERR_SUCCESS);
        }
        EXPECT_EQ(mStream.RegisterEvent(mEvent.GetNative()), GC_ERR_SUCCESS);
        EXPECT_EQ(mStream.StartAcquisition(~std::uint64_t{0}), GC_ERR_SUCCESS) << mStream.LastError();
    }

    // The next record's code, with its image checked when complete, and
    // its buffer queued again; GC_ERR_TIMEOUT for none.
    GC_ERROR Next(std::uint32_t timeoutMs = 2000)
    {
        Os::Event* events[] = {&mEvent};
        if (Os::WaitForAny(events, 1, timeoutMs) != 0)
            return GC_ERR_TIMEOUT;
        BUFFER_HANDLE buffer = nullptr;
        const GC_ERROR code = mStream.TakeRecord(&buffer);
        const auto index = static_cast<std::size_t>(std::find(mHandles.begin(), mHandles.end(), buffer) - mHandles.begin());
        EXPECT_LT(index, mHandles.size());
        if (code == GC_ERR_SUCCESS && index < mHandles.size())
            ExpectPattern(mMemory[index].get());
        EXPECT_EQ(mStream.QueueBuffer(buffer), GC_ERR_SUCCESS);
        return code;
    }

    void Stop() { EXPECT_EQ(mStream.StopAcquisition(), GC_ERR_SUCCESS); }

    std::uint64_t Info(std::int32_t command) const
    {
        std::uint64_t value = 0;
        std::size_t size = sizeof value;
        std::int32_t type = 0;
        EXPECT_EQ(mStream.GetInfo(command, &type, &value, &size), GC_ERR_SUCCESS);
        return value;
    }

private:
    // Every packet in its place: the frame's number leads its pattern, and
    // row y holds x + y + n (PatternByte), a slice of one ramp.
    static void ExpectPattern(const std::uint8_t* image)
    {
        std::uint32_t n = 0;
        for (std::size_t i = 0; i < 4; ++i)
            n |= std::uint32_t{image[i]} << (8 * i);
        static const std::vector<std::uint8_t> ramp = [] {
            std::vector<std::uint8_t> bytes(Width + 256);
            for (std::size_t i = 0; i < bytes.size(); ++i)
                bytes[i] = static_cast<std::uint8_t>(i);
            return bytes;
        }();
        for (std::size_t y = 0; y < Height; ++y) {
            const std::size_t skip = y == 0 ? 4 : 0;
            const std::uint8_t* expected = ramp.data() + (y + n) % 256;
            ASSERT_EQ(std::memcmp(image + y * Width + skip, expected + skip, Width - skip), 0)
                << "row " << y << " of frame " << n;
        }
    }

    ClientHost mHost;
    Os::Event mEvent{Os::Event::Mode::ManualReset};
    std::vector<std::unique_ptr<std::uint8_t[]>> mMemory;
    std::vector<BUFFER_HANDLE> mHandles;
    // Last: it ends before the memory goes.
    Gige::Stream mStream;
};

Gige::StreamOptions ResendOptions()
{
    Gige::StreamOptions options;
    options.mResend.mEnabled = true;
    options.mResend.mBudget = std::make_shared<Gige::ResendBudget>(10000, 1000);
    return options;
}

}

// Lost singly or in bursts, on either receive path: every frame completes
// with every byte in its place, and few packets come twice.
TEST(Resend, EveryFrameCompletesUnderLoss)
{
    struct Case {
        const char* mName;
        double mDrop;
        std::uint32_t mBurst;
        bool mRing;
    };
    for (const Case& loss : {Case{"1 % single, packet ring", 0.01, 1, true}, Case{"1 % single, UDP", 0.01, 1, false},
                             Case{"1 % in bursts of 20, UDP", 0.01, 20, false}}) {
        SCOPED_TRACE(loss.mName);
        GigeCamera::Options camera;
        camera.mFaults.mDrop = loss.mDrop;
        camera.mFaults.mBurst = loss.mBurst;
        Cameras cameras(camera);
        ControlClient client;
        Gige::StreamOptions options = ResendOptions();
        options.mAllowPacketRing = loss.mRing;
        Acquisition acquisition(client, options);
        ASSERT_EQ(client.WriteRegister(Kx1300Register("FrameRateReg"), FloatBits(60)), 0);
        ASSERT_EQ(client.WriteRegister(Kx1300Register("AcquisitionStartReg"), 1), 0);
        constexpr int Frames = 60;
        for (int i = 0; i < Frames; ++i)
            ASSERT_EQ(acquisition.Next(), GC_ERR_SUCCESS) << "frame " << i;
        ASSERT_EQ(client.WriteRegister(Kx1300Register("AcquisitionStopReg"), 1), 0);
        acquisition.Stop();
        const GigeCamera::StreamCounts sent = cameras.StopAndCount();
        const std::uint64_t resent = acquisition.Info(STREAM_INFO_PACKETS_RESENT);
        ASSERT_GT(sent.mDropped, 0u);
        EXPECT_LE(resent, sent.mDropped * 3 / 2) << "resent per lost";
        EXPECT_GT(acquisition.Info(STREAM_INFO_RESEND_REQUESTS), 0u);
        EXPECT_EQ(acquisition.Info(STREAM_INFO_NUM_INCOMPLETE), 0u);
    }
}

// Requests no resent packet answers: each frame comes incomplete once it
// was silent for the retention time, and the camera is asked for no more
// packets than the budget grants.
TEST(Resend, UnansweredRequestsEndInIncompleteFramesWithinTheBudget)
{
    GigeCamera::Options camera;
    camera.mFaults.mDrop = 0.05;
    camera.mFaults.mDropResent = 1;
    Cameras cameras(camera);
    ControlClient client;
    Gige::StreamOptions options = ResendOptions();
    options.mFrameRetentionMs = 60;
    constexpr std::uint32_t Rate = 200;
    constexpr std::uint32_t Burst = 20;
    options.mResend.mBudget = std::make_shared<Gige::ResendBudget>(Rate, Burst);
    Acquisition acquisition(client, options);
    ASSERT_EQ(client.WriteRegister(Kx1300Register("TriggerModeReg"), 1), 0);
    ASSERT_EQ(client.WriteRegister(Kx1300Register("TriggerSourceReg"), 7), 0);
    ASSERT_EQ(client.WriteRegister(Kx1300Register("AcquisitionStartReg"), 1), 0);
    const auto start = Clock::now();
    for (int i = 0; i < 8; ++i) {
        const auto triggered = Clock::now();
        Trigger(client);
        ASSERT_EQ(acquisition.Next(), GC_ERR_INCOMPLETE_FRAME) << "frame " << i;
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - triggered).count();
        EXPECT_GE(waited, 60) << "frame " << i << " handed over before the retention time";
        EXPECT_LE(waited, 60 + 100) << "frame " << i << " held past the retention time";
    }
    const auto seconds = std::chrono::duration<double>(Clock::now() - start).count();
    acquisition.Stop();
    const GigeCamera::StreamCounts sent = cameras.StopAndCount();
    EXPECT_GT(sent.mResentDropped, 0u);
    EXPECT_LE(static_cast<double>(sent.mResentDropped + sent.mResent), Burst + Rate * seconds)
        << "packets asked for beyond the budget";
}

// A camera that no longer has a frame's packets says so: the frame asks no
// more and comes at once, not after the retention time. A camera that
// offers no resend is never asked.
TEST(Resend, EndsWhereTheCameraHasNoPacketsAndNeverBeginsWhereItOffersNone)
{
    for (const std::uint32_t kept : {1u, 0u}) {
        SCOPED_TRACE(kept == 0 ? "no resend offered" : "one frame kept for resend");
        GigeCamera::Options camera;
        camera.mResendFrames = kept;
        camera.mFaults.mDrop = 0.05;
        camera.mFaults.mDropResent = 1;
        Cameras cameras(camera);
        ControlClient client;
        Gige::StreamOptions options = ResendOptions();
        options.mFrameRetentionMs = 1000;
        Acquisition acquisition(client, options);
        ASSERT_EQ(client.WriteRegister(Kx1300Register("TriggerModeReg"), 1), 0);
        ASSERT_EQ(client.WriteRegister(Kx1300Register("TriggerSourceReg"), 7), 0);
        ASSERT_EQ(client.WriteRegister(Kx1300Register("AcquisitionStartReg"), 1), 0);
        // The second frame takes the first one's place in the camera before
        // the first one's requests are asked again; the third the second's.
        const auto start = Clock::now();
        for (int i = 0; i < 3; ++i) {
            Trigger(client);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(acquisition.Next(), GC_ERR_INCOMPLETE_FRAME) << "frame " << i;
        EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500)) << "frames held for the retention time";
        const std::uint64_t requests = acquisition.Info(STREAM_INFO_RESEND_REQUESTS);
        acquisition.Stop();
        const GigeCamera::StreamCounts sent = cameras.StopAndCount();
        if (kept == 0) {
            EXPECT_EQ(requests, 0u);
            EXPECT_EQ(sent.mResendRequests, 0u);
        } else {
            EXPECT_GT(sent.mUnavailable, 0u);
            EXPECT_LE(sent.mUnavailable, sent.mDropped) << "asked again once the camera said the packets were gone";
        }
    }
}
