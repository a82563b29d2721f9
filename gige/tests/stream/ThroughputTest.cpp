// A camera at 25 frames a second, each frame one burst as cameras send
// them: every frame comes complete with no tuning, by either path, at the
// standard and the jumbo packet size, and the receiving thread's processor
// time per frame is printed (what a frame costs the host). Where sockets
// are slow (sanitizers, Wine) the camera sends 5 frames a second.
#include "ReceiveFixture.h"

#include "os/System.h"
#include "os/Thread.h"

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace StreamLab;

namespace {

struct Load {
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t packetSize;
};

class StreamThroughput : public ReceiveFixture {};

#if defined(KAVRIX_TEST_SANITIZED)
// The sanitizers make both ends several times slower.
constexpr bool Slowed = true;
#else
constexpr bool Slowed = false;
#endif

// Wine's sockets take some 35 us a datagram (against 1 us natively): it
// keeps up with 5 frames a second of 4 MiB.
bool SlowSockets()
{
    return Slowed || Os::RunsUnderWine();
}

void SetBlockId(Bytes& datagram, std::uint16_t blockId)
{
    datagram[2] = static_cast<std::uint8_t>(blockId >> 8);
    datagram[3] = static_cast<std::uint8_t>(blockId);
}

std::vector<Load> Loads()
{
    // Wine asks for the receive buffer without force, so it stops at
    // net.core.rmem_max (4 MiB here), which a 4 MiB frame fills while
    // Wine's slow receiving falls behind the burst.
    const std::uint32_t side = Os::RunsUnderWine() ? 1024 : 2048;
    return {Load{512, 512, 1500}, Load{side, side, 1500}, Load{side, side, 9000}};
}

TEST_P(StreamThroughput, EveryFrameOfACameraAt25FramesASecondComesComplete)
{
    for (const Load& load : Loads()) {
        SCOPED_TRACE(std::to_string(load.width) + "x" + std::to_string(load.height) + " at packet size " +
                     std::to_string(load.packetSize));
        FrameShape shape;
        shape.mWidth = load.width;
        shape.mHeight = load.height;
        shape.mPacketSize = load.packetSize;
        mHost.SetRegister(ScpsAddress, load.packetSize);
        mStream.reset();
        mMemory.clear();
        mSizes.clear();
        mBuffers.clear();
        mEvent.Reset();
        Start(5, shape.ImageBytes());
        const Bytes image = Image(shape, 1);
        std::vector<Bytes> packets = FramePackets(shape, image);

        const int frames = SlowSockets() ? 10 : 50;
        const long long period = SlowSockets() ? 200 : 40;
        long long next = Os::MonotonicMilliseconds();
        int taken = 0;
        // The host's side: take what came, check it and queue it again.
        const auto take = [&](const Taken& record) {
            ASSERT_EQ(record.mCode, GC_ERR_SUCCESS) << "frame " << taken + 1;
            ExpectImage(record.mBuffer, image);
            ASSERT_EQ(mStream->QueueBuffer(record.mBuffer), GC_ERR_SUCCESS);
            ++taken;
        };
        for (int frame = 1; frame <= frames; ++frame) {
            for (Bytes& datagram : packets) {
                SetBlockId(datagram, static_cast<std::uint16_t>(frame));
            }
            mCamera.Send(packets);
            next += period;
            // What waits is taken also when the sending fell behind.
            for (;;) {
                const long long left = std::max(next - Os::MonotonicMilliseconds(), 0LL);
                if (!WaitFor(mEvent, static_cast<std::uint32_t>(left))) {
                    break;
                }
                Taken record;
                record.mCode = mStream->TakeRecord(&record.mBuffer);
                take(record);
                if (HasFatalFailure()) {
                    return;
                }
            }
        }
        while (taken < frames && !HasFatalFailure()) {
            take(TakeNext(*mStream, mEvent));
        }
        if (HasFatalFailure()) {
            return;
        }
        EXPECT_EQ(Info(*mStream, STREAM_INFO_NUM_DELIVERED), static_cast<std::uint64_t>(frames));
        EXPECT_EQ(Info(*mStream, STREAM_INFO_NUM_UNDERRUN), 0u);
        ASSERT_EQ(mStream->StopAcquisition(), GC_ERR_SUCCESS);
        const double perFrameMs = mStream->ReceiverProcessorNanoseconds() / 1e6 / frames;
        std::printf("[ receiver ] %s, %ux%u, packet size %u: %.3f ms of processor time per frame\n",
                    GetParam() == Path::Ring ? "packet ring" : "UDP socket", load.width, load.height, load.packetSize,
                    perFrameMs);
        std::fflush(stdout);
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, StreamThroughput, testing::Values(Path::Ring, Path::Udp), PathName);

}
