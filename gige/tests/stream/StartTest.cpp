// Starting and ending a stream: what it refuses and why, the receive buffer
// sized before the first frame (or what to raise when the system grants
// less than a frame), the answers of DSGetInfo, and no thread left behind.
#include "StreamLab.h"

#include "os/System.h"
#include "os/Thread.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

using namespace StreamLab;

namespace {

constexpr std::uint64_t NoLimit = ~std::uint64_t{0};

// The process's threads, where the system tells (Linux); 0 elsewhere.
int ThreadCount()
{
#if defined(_WIN32)
    // Under Wine the file would be Wine's, which counts threads of its own.
    return 0;
#else
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Threads:", 0) == 0) {
            return std::stoi(line.substr(8));
        }
    }
    return 0;
#endif
}

// The same, once a thread has come and gone: ThreadSanitizer starts a
// helper of its own with the process's first thread.
int ThreadsBefore()
{
    Os::Thread([] {}).Join(Os::Infinite);
    return ThreadCount();
}

struct Buffers {
    explicit Buffers(Gige::Stream& stream, std::size_t size, std::size_t count = 2)
    {
        for (std::size_t i = 0; i < count; ++i) {
            memory.push_back(NewBuffer(size));
            BUFFER_HANDLE handle = nullptr;
            EXPECT_EQ(stream.AnnounceBuffer(memory.back().get(), size, nullptr, &handle), GC_ERR_SUCCESS);
            EXPECT_EQ(stream.QueueBuffer(handle), GC_ERR_SUCCESS);
            handles.push_back(handle);
        }
    }
    std::vector<std::unique_ptr<std::uint8_t[]>> memory;
    std::vector<BUFFER_HANDLE> handles;
};

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(StreamStart, RefusesWhatItCannotReceiveAndLeavesNothingRunning)
{
    const int threads = ThreadsBefore();
    FakeHost host;
    std::vector<std::unique_ptr<std::uint8_t[]>> memory;
    Gige::Stream stream(host);
    EXPECT_EQ(stream.StartAcquisition(NoLimit), GC_ERR_ACCESS_DENIED);
    EXPECT_TRUE(Contains(stream.LastError(), "announce")) << stream.LastError();
    Buffers buffers(stream, 4096);
    EXPECT_EQ(stream.StartAcquisition(0), GC_ERR_INVALID_PARAMETER);

    host.SetMtu(1500);
    host.SetRegister(ScpsAddress, 0x40000000u | 9000);
    EXPECT_EQ(stream.StartAcquisition(NoLimit), GC_ERR_INVALID_PARAMETER);
    EXPECT_TRUE(Contains(stream.LastError(), "MTU of 1500")) << stream.LastError();
    host.SetRegister(ScpsAddress, 48);
    EXPECT_EQ(stream.StartAcquisition(NoLimit), GC_ERR_INVALID_PARAMETER);
    EXPECT_TRUE(Contains(stream.LastError(), "no room")) << stream.LastError();
    // Test packets were asked for, none came: the camera keeps its own size.
    EXPECT_EQ(host.Register(ScpsAddress), 48u);
    EXPECT_EQ(host.Register(ScpAddress), 0u) << "the camera's stream stays closed";

    host.SetRegister(ScpsAddress, 1500);
    host.FailWrites(ScpAddress, GC_ERR_TIMEOUT);
    EXPECT_EQ(stream.StartAcquisition(NoLimit), GC_ERR_TIMEOUT);
    EXPECT_TRUE(Contains(stream.LastError(), "SCP (0x0D00)")) << stream.LastError();
    if (threads != 0) {
        EXPECT_EQ(ThreadCount(), threads) << "the receiver ended with the failed start";
    }

    host.FailWrites(ScpAddress, GC_ERR_SUCCESS);
    ASSERT_EQ(stream.StartAcquisition(NoLimit), GC_ERR_SUCCESS) << stream.LastError();
    EXPECT_EQ(stream.StartAcquisition(NoLimit), GC_ERR_ACCESS_DENIED);
    BUFFER_HANDLE larger = nullptr;
    memory.push_back(NewBuffer(8192));
    EXPECT_EQ(stream.AnnounceBuffer(memory.back().get(), 8192, nullptr, &larger), GC_ERR_ACCESS_DENIED)
        << "larger than what the acquisition was sized for";
    EXPECT_TRUE(Contains(stream.LastError(), "after it stops")) << stream.LastError();
    BUFFER_HANDLE smaller = nullptr;
    memory.push_back(NewBuffer(1024));
    EXPECT_EQ(stream.AnnounceBuffer(memory.back().get(), 1024, nullptr, &smaller), GC_ERR_SUCCESS);

    host.FailWrites(ScpAddress, GC_ERR_TIMEOUT);
    EXPECT_EQ(stream.StopAcquisition(), GC_ERR_TIMEOUT);
    EXPECT_TRUE(Contains(stream.LastError(), "acquisition stopped, but")) << stream.LastError();
    EXPECT_EQ(stream.StopAcquisition(), GC_ERR_SUCCESS) << "stopping a stopped stream";
    EXPECT_EQ(stream.RevokeBuffer(buffers.handles[0], nullptr, nullptr), GC_ERR_SUCCESS);
    EXPECT_EQ(stream.RevokeBuffer(buffers.handles[0], nullptr, nullptr), GC_ERR_INVALID_HANDLE);
    if (threads != 0) {
        EXPECT_EQ(ThreadCount(), threads);
    }
}

TEST(StreamStart, AnswersItsInformationTheGenTlWay)
{
    FakeHost host;
    Gige::StreamOptions options;
    options.mFramesInFlight = 6;
    Gige::Stream stream(host, options);
    // The frames a camera at 80 fps sends while one is kept open 100 ms.
    EXPECT_EQ(Info(stream, STREAM_INFO_BUF_ANNOUNCE_MIN), 8u);
    EXPECT_EQ(Info(stream, STREAM_INFO_PACKET_SIZE), 0u);
    EXPECT_TRUE(Contains(InfoText(stream, STREAM_INFO_RECEIVE_PATH), "not receiving"));

    std::size_t size = 0;
    std::int32_t type = 0;
    ASSERT_EQ(stream.GetInfo(STREAM_INFO_NUM_DELIVERED, &type, nullptr, &size), GC_ERR_SUCCESS);
    EXPECT_EQ(size, sizeof(std::uint64_t));
    EXPECT_EQ(type, INFO_DATATYPE_UINT64);
    std::uint32_t small = 0;
    size = sizeof small;
    EXPECT_EQ(stream.GetInfo(STREAM_INFO_NUM_DELIVERED, &type, &small, &size), GC_ERR_INVALID_BUFFER_SIZE);
    EXPECT_EQ(size, sizeof(std::uint64_t));
    char text[4] = {};
    size = sizeof text;
    EXPECT_EQ(stream.GetInfo(STREAM_INFO_RECEIVE_PATH, &type, text, &size), GC_ERR_INVALID_BUFFER_SIZE);
    EXPECT_GT(size, sizeof text);
    EXPECT_EQ(stream.GetInfo(STREAM_INFO_NUM_DELIVERED, &type, &small, nullptr), GC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(stream.GetInfo(4711, &type, nullptr, &size), GC_ERR_INVALID_PARAMETER);
    EXPECT_TRUE(Contains(stream.LastError(), "4711")) << stream.LastError();

    Gige::BufferInfo info;
    EXPECT_EQ(stream.GetBufferInfo(nullptr, info), GC_ERR_INVALID_HANDLE);
    Buffers buffers(stream, 4096, 1);
    EXPECT_EQ(stream.GetBufferInfo(buffers.handles[0], info), GC_ERR_NO_DATA) << "never filled";
    BUFFER_HANDLE none = nullptr;
    EXPECT_EQ(stream.TakeRecord(&none), GC_ERR_NO_DATA);
    EXPECT_EQ(stream.TakeRecord(nullptr), GC_ERR_INVALID_PARAMETER);
}

TEST(StreamStart, TheReceiveBufferHoldsTwoFramesOrTheStreamSaysWhatToRaise)
{
    // Frames of 6 MiB: two are beyond net.core.rmem_max (4 MiB here).
    constexpr std::size_t Frame = 6u << 20;
    FakeHost host;
    Gige::StreamOptions options;
    options.mAllowPacketRing = false;
    Gige::Stream stream(host, options);
    Buffers buffers(stream, Frame, 1);
    ASSERT_EQ(stream.StartAcquisition(NoLimit), GC_ERR_SUCCESS) << stream.LastError();
    const std::uint64_t granted = Info(stream, STREAM_INFO_RECEIVE_BUFFER);
    const std::string path = InfoText(stream, STREAM_INFO_RECEIVE_PATH);
    EXPECT_TRUE(Contains(path, "UDP socket 169.254.10.1:")) << path;
    if (Os::RunsUnderWine()) {
        EXPECT_EQ(granted, 2 * Frame) << "Wine answers what was asked";
        EXPECT_TRUE(Contains(path, "Wine does not tell")) << path;
    } else if (Lab::Unprivileged()) {
        std::uint64_t limit = 0;
        std::ifstream("/proc/sys/net/core/rmem_max") >> limit;
        ASSERT_LT(limit, Frame) << "the lab's limit is above a frame: nothing to see";
        EXPECT_EQ(granted, limit);
        EXPECT_TRUE(Contains(path, "warning")) << path;
        EXPECT_TRUE(Contains(path, "net.core.rmem_max")) << path;
        EXPECT_TRUE(Contains(stream.LastError(), "net.core.rmem_max to at least " + std::to_string(2 * Frame)))
            << stream.LastError();
    } else {
        EXPECT_EQ(granted, 2 * Frame) << "a privileged process is granted beyond the limit";
        EXPECT_FALSE(Contains(path, "warning")) << path;
        EXPECT_TRUE(stream.LastError().empty()) << stream.LastError();
    }
    ASSERT_EQ(stream.StopAcquisition(), GC_ERR_SUCCESS);

    if (RingExpected()) {
        Gige::Stream ringStream(host);
        Buffers ringBuffers(ringStream, Frame, 1);
        ASSERT_EQ(ringStream.StartAcquisition(NoLimit), GC_ERR_SUCCESS) << ringStream.LastError();
        EXPECT_GE(Info(ringStream, STREAM_INFO_RECEIVE_BUFFER), 2 * Frame);
        EXPECT_TRUE(Contains(InfoText(ringStream, STREAM_INFO_RECEIVE_PATH), "packet ring on veth-kx0"));
    } else if (!Os::RunsUnderWine()) {
        Gige::Stream udpStream(host);
        Buffers udpBuffers(udpStream, 4096, 1);
        ASSERT_EQ(udpStream.StartAcquisition(NoLimit), GC_ERR_SUCCESS) << udpStream.LastError();
        const std::string udpPath = InfoText(udpStream, STREAM_INFO_RECEIVE_PATH);
        EXPECT_TRUE(Contains(udpPath, "no packet ring")) << "says why not: " << udpPath;
        EXPECT_TRUE(Contains(udpPath, "CAP_NET_RAW")) << udpPath;
    }
}

TEST(StreamLifetime, NoThreadOutlivesTheStreamWhichClearsTheCamerasDestination)
{
    const int threads = ThreadsBefore();
    FakeHost host;
    {
        Gige::Stream stream(host);
        Buffers buffers(stream, 4096);
        ASSERT_EQ(stream.StartAcquisition(NoLimit), GC_ERR_SUCCESS) << stream.LastError();
        if (threads != 0) {
            EXPECT_EQ(ThreadCount(), threads + 1) << "one receiving thread";
        }
        // Destroyed while acquiring.
    }
    ASSERT_FALSE(host.Writes().empty());
    EXPECT_EQ(host.Writes().back(), std::make_pair(ScpAddress, 0u));
    if (threads == 0) {
        GTEST_SKIP() << "the system does not tell the process's threads";
    }
    EXPECT_EQ(ThreadCount(), threads);
}

}

TEST(StreamStart, ACameraThatRefusesTheTestPacketStreamsAtItsOwnSize)
{
    FakeHost host;
    host.FailWrites(ScpsAddress, GC_ERR_ACCESS_DENIED);
    Gige::Stream stream(host);
    Buffers buffers(stream, 4096);
    ASSERT_EQ(stream.StartAcquisition(NoLimit), GC_ERR_SUCCESS) << stream.LastError();
    EXPECT_EQ(Info(stream, STREAM_INFO_PACKET_SIZE), 1500u);
}

TEST(StreamStart, CamerasOfOneLinkArePacedToShareItAndGetTheirOwnDelayBack)
{
    constexpr std::uint32_t ScpdAddress = 0x0D08;
    constexpr std::uint32_t TicksPerSecondLow = 0x0940;
    Gige::StreamOptions options;
    options.mLink = std::make_shared<Gige::LinkShare>(1000000000);
    FakeHost first;
    FakeHost second;
    first.SetRegister(TicksPerSecondLow, 1000000000);
    second.SetRegister(TicksPerSecondLow, 125000000);
    // Longer than its share: the camera's own stays.
    second.SetRegister(ScpdAddress, 50000);
    Gige::Stream a(first, options);
    Gige::Stream b(second, options);
    Buffers buffersA(a, 4096);
    Buffers buffersB(b, 4096);

    ASSERT_EQ(a.StartAcquisition(NoLimit), GC_ERR_SUCCESS) << a.LastError();
    EXPECT_EQ(first.Register(ScpdAddress), 0u) << "alone on the link";
    ASSERT_EQ(b.StartAcquisition(NoLimit), GC_ERR_SUCCESS) << b.LastError();
    // Half of 1 Gbit/s: after each packet of 1500 bytes (1538 on the wire),
    // a gap as long as the packet, 12304 ns.
    EXPECT_EQ(first.Register(ScpdAddress), 12304u);
    EXPECT_EQ(second.Register(ScpdAddress), 50000u);
    EXPECT_EQ(Gige::SharedLinkDelay(1500, 1000000000, 2, 125000000), 1538u);
    EXPECT_EQ(Gige::SharedLinkDelay(1500, 1000000000, 4, 1000000000), 3 * 12304u);

    EXPECT_EQ(a.StopAcquisition(), GC_ERR_SUCCESS);
    EXPECT_EQ(first.Register(ScpdAddress), 0u) << "its own delay back";
    EXPECT_EQ(second.Register(ScpdAddress), 50000u);
    EXPECT_EQ(b.StopAcquisition(), GC_ERR_SUCCESS);

    options.mPacketDelay = 777;
    Gige::Stream forced(first, options);
    Buffers buffersForced(forced, 4096);
    ASSERT_EQ(forced.StartAcquisition(NoLimit), GC_ERR_SUCCESS) << forced.LastError();
    EXPECT_EQ(first.Register(ScpdAddress), 777u) << "as the setting says";
}
