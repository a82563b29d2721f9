// Frames from the test camera into the announced buffers, by the packet
// ring and by the UDP socket: whole and byte-exact in any packet order,
// incomplete with the right count when packets are lost, untouched by
// packets of another source or malformed ones; and the records, the event,
// underruns, stop and restart, and a lost device around them.
#include "ReceiveFixture.h"

#include "os/System.h"
#include "wire/GvcpStatus.h"
#include "wire/ImageLeader.h"
#include "wire/StreamLayout.h"

#include <algorithm>
#include <random>
#include <set>

using namespace StreamLab;
using Gige::GvspFormat;
using Gige::GvspHeader;

namespace {

class StreamReceive : public ReceiveFixture {};

std::vector<Bytes> Without(std::vector<Bytes> packets, const std::set<std::size_t>& dropped)
{
    std::vector<Bytes> kept;
    for (std::size_t i = 0; i < packets.size(); ++i) {
        if (dropped.count(i) == 0) {
            kept.push_back(std::move(packets[i]));
        }
    }
    return kept;
}

TEST_P(StreamReceive, FramesArriveWholeInAnyOrderWithStandardAndExtendedHeaders)
{
    // A frame whose trailer comes first has ended: the rest of it must come
    // within the wait, which a sender slowed by a sanitizer may not keep.
    mOptions.mMissingPacketWaitMs = 50;
    const FrameShape small;
    Start(4, small.ImageBytes());
    EXPECT_EQ(mHost.Register(ScdaAddress), Lab::LeftAddress.Value());
    EXPECT_NE(mHost.Register(ScpAddress), 0u);
    EXPECT_EQ(mHost.Register(ScpAddress) & 0xFFFF0000u, 0u) << "direction and interface bits stay 0";
    EXPECT_EQ(Info(*mStream, STREAM_INFO_PACKET_SIZE), 1500u);
    EXPECT_GE(Info(*mStream, STREAM_INFO_RECEIVE_BUFFER), 2 * small.ImageBytes());

    struct Case {
        std::uint64_t blockId;
        bool extended;
        enum { InOrder, Reversed, Shuffled } order;
    };
    const Case cases[] = {{1, false, Case::InOrder},
                          {0x100000002u, true, Case::InOrder},
                          {3, false, Case::Reversed},
                          {0x100000004u, true, Case::Shuffled},
                          {65535, false, Case::Shuffled}};
    std::mt19937 random(7);
    std::uint64_t packets = 0;
    std::size_t k = 0;
    for (const Case& item : cases) {
        SCOPED_TRACE("block " + std::to_string(item.blockId));
        FrameShape shape;
        shape.mBlockId = item.blockId;
        shape.mExtended = item.extended;
        const Bytes image = Image(shape, static_cast<std::uint8_t>(k));
        std::vector<Bytes> datagrams = FramePackets(shape, image);
        packets += datagrams.size();
        if (item.order == Case::Reversed) {
            std::reverse(datagrams.begin(), datagrams.end());
        } else if (item.order == Case::Shuffled) {
            std::shuffle(datagrams.begin(), datagrams.end(), random);
        }
        mCamera.Send(datagrams);

        const Taken taken = TakeNext(*mStream, mEvent);
        ASSERT_EQ(taken.mCode, GC_ERR_SUCCESS);
        EXPECT_EQ(taken.mBuffer, mBuffers[k % mBuffers.size()]) << "buffers are filled in the order they were queued";
        ExpectImage(taken.mBuffer, image);
        Gige::BufferInfo info;
        ASSERT_EQ(mStream->GetBufferInfo(taken.mBuffer, info), GC_ERR_SUCCESS);
        EXPECT_EQ(info.mBlockId, item.blockId);
        EXPECT_TRUE(info.mHasLeader);
        EXPECT_EQ(info.mPixelFormat, Mono8);
        EXPECT_EQ(info.mWidth, shape.mWidth);
        EXPECT_EQ(info.mHeight, shape.mHeight);
        EXPECT_EQ(info.mTimestamp, 0x1122334455667788u + item.blockId);
        EXPECT_EQ(info.mFilledBytes, image.size());
        EXPECT_EQ(info.mMissingPackets, 0u);
        EXPECT_FALSE(WaitFor(mEvent, 0)) << "no record waits";
        ASSERT_EQ(mStream->QueueBuffer(taken.mBuffer), GC_ERR_SUCCESS);
        ++k;
    }
    EXPECT_EQ(Info(*mStream, STREAM_INFO_NUM_DELIVERED), k);
    EXPECT_EQ(Info(*mStream, STREAM_INFO_NUM_INCOMPLETE), 0u);
    EXPECT_EQ(Info(*mStream, STREAM_INFO_PACKETS_RECEIVED), packets);
    EXPECT_EQ(Info(*mStream, STREAM_INFO_PACKETS_MISSING), 0u);
    EXPECT_EQ(Info(*mStream, STREAM_INFO_PACKETS_OUT_OF_RANGE), 0u);
    EXPECT_EQ(Info(*mStream, STREAM_INFO_RESEND_REQUESTS), 0u);
    EXPECT_EQ(Info(*mStream, STREAM_INFO_PACKETS_RESENT), 0u);
}

TEST_P(StreamReceive, RecordsComeInOrderAndTheEventIsSetExactlyWhileOneWaits)
{
    FrameShape shape;
    Start(3, shape.ImageBytes());
    EXPECT_EQ(mStream->RegisterEvent(mEvent.GetNative()), GC_ERR_ACCESS_DENIED);
    for (std::uint64_t block = 1; block <= 2; ++block) {
        shape.mBlockId = block;
        mCamera.Send(FramePackets(shape, Image(shape, 1)));
    }
    ASSERT_EQ(WaitForInfo(*mStream, STREAM_INFO_NUM_DELIVERED, 2), 2u);
    for (std::uint64_t block = 1; block <= 2; ++block) {
        ASSERT_TRUE(WaitFor(mEvent, 0)) << "set while a record waits";
        BUFFER_HANDLE buffer = nullptr;
        ASSERT_EQ(mStream->TakeRecord(&buffer), GC_ERR_SUCCESS);
        Gige::BufferInfo info;
        ASSERT_EQ(mStream->GetBufferInfo(buffer, info), GC_ERR_SUCCESS);
        EXPECT_EQ(info.mBlockId, block);
    }
    EXPECT_FALSE(WaitFor(mEvent, 0)) << "reset with the last record taken";
    BUFFER_HANDLE none = nullptr;
    EXPECT_EQ(mStream->TakeRecord(&none), GC_ERR_NO_DATA);

    // A record that waits while no event is registered sets the next one at once.
    mStream->UnregisterEvent();
    shape.mBlockId = 3;
    mCamera.Send(FramePackets(shape, Image(shape, 3)));
    ASSERT_EQ(WaitForInfo(*mStream, STREAM_INFO_NUM_DELIVERED, 3), 3u);
    EXPECT_FALSE(WaitFor(mEvent, 0)) << "an unregistered event is left alone";
    Os::Event second(Os::Event::Mode::ManualReset);
    ASSERT_EQ(mStream->RegisterEvent(second.GetNative()), GC_ERR_SUCCESS);
    EXPECT_TRUE(WaitFor(second, 0));
    EXPECT_EQ(TakeNext(*mStream, second).mCode, GC_ERR_SUCCESS);
    EXPECT_FALSE(WaitFor(second, 0));
}

TEST_P(StreamReceive, LostPacketsMakeFramesIncompleteWithTheirCount)
{
    mOptions.mFrameRetentionMs = 400;
    const FrameShape base;
    Start(3, base.ImageBytes());
    const std::size_t trailer = base.PayloadPackets() + 1;
    struct Case {
        std::set<std::size_t> dropped;   // indices into the frame's packets: 0 is the leader
        GC_ERROR code;
    };
    // Three payload packets; the leader and the trailer, so that only the
    // retention time ends the frame; and a trailer, with the next frame
    // right behind, which ends the frame at once.
    const Case cases[] = {{{5, 6, 100}, GC_ERR_INCOMPLETE_FRAME},
                          {{0, trailer}, GC_ERR_INCOMPLETE_FRAME},
                          {{trailer}, GC_ERR_INCOMPLETE_FRAME},
                          {{}, GC_ERR_SUCCESS}};
    std::uint64_t block = 1;
    std::uint64_t missing = 0;
    for (const Case& item : cases) {
        SCOPED_TRACE("block " + std::to_string(block));
        FrameShape shape;
        shape.mBlockId = block;
        const Bytes image = Image(shape, static_cast<std::uint8_t>(block));
        const long long sent = Os::MonotonicMilliseconds();
        mCamera.Send(Without(FramePackets(shape, image), item.dropped));
        const bool endedByTheNext = item.dropped.size() == 1 && item.dropped.count(trailer) == 1;
        if (endedByTheNext) {
            ++block;
            shape.mBlockId = block;
            mCamera.Send(FramePackets(shape, Image(shape, 0)));
        }
        const Taken taken = TakeNext(*mStream, mEvent);
        ASSERT_EQ(taken.mCode, item.code);
        const long long waited = Os::MonotonicMilliseconds() - sent;
        if (item.dropped.count(trailer) != 0 && !endedByTheNext) {
            EXPECT_GE(waited, 390) << "handed over before the retention time";
        } else {
            EXPECT_LT(waited, 300) << "waited for the retention time";
        }
        Gige::BufferInfo info;
        ASSERT_EQ(mStream->GetBufferInfo(taken.mBuffer, info), GC_ERR_SUCCESS);
        EXPECT_EQ(info.mMissingPackets, item.dropped.size());
        EXPECT_EQ(info.mHasLeader, item.dropped.count(0) == 0);
        missing += item.dropped.size();
        // What came is in place.
        const std::uint8_t* memory = mMemory[IndexOf(taken.mBuffer)].get();
        const std::uint32_t perPacket = shape.BytesPerPacket();
        for (std::uint32_t id = 1; id <= shape.PayloadPackets(); ++id) {
            const std::size_t offset = std::size_t{id - 1} * perPacket;
            const std::size_t size = std::min<std::size_t>(perPacket, image.size() - offset);
            if (item.dropped.count(id) == 0) {
                ASSERT_TRUE(std::equal(image.begin() + static_cast<std::ptrdiff_t>(offset),
                                       image.begin() + static_cast<std::ptrdiff_t>(offset + size), memory + offset))
                    << "payload packet " << id;
            }
        }
        ASSERT_EQ(mStream->QueueBuffer(taken.mBuffer), GC_ERR_SUCCESS);
        if (endedByTheNext) {
            const Taken next = TakeNext(*mStream, mEvent);
            EXPECT_EQ(next.mCode, GC_ERR_SUCCESS) << "the frame behind the incomplete one";
            ASSERT_EQ(mStream->QueueBuffer(next.mBuffer), GC_ERR_SUCCESS);
        }
        ++block;
    }
    EXPECT_EQ(Info(*mStream, STREAM_INFO_NUM_INCOMPLETE), 3u);
    EXPECT_EQ(Info(*mStream, STREAM_INFO_NUM_DELIVERED), 2u);
    EXPECT_EQ(Info(*mStream, STREAM_INFO_PACKETS_MISSING), missing);
}

TEST_P(StreamReceive, PacketsOfAnotherSourceAreDropped)
{
    TestCamera other(Lab::RightSecondAddress);
    Os::UdpSocket probe = Lab::Bound(Lab::LeftAddress);
    other.Aim(probe.LocalEndpoint());
    other.Send(Bytes{1});
    Os::Endpoint source;
    ASSERT_EQ(Lab::ReceiveOne(probe, 2000, &source).size(), 1u);
    if (source.address != Lab::RightSecondAddress) {
        GTEST_SKIP() << "the other source sends from " << source.address.ToString()
                     << ", the camera's address (Wine sends from its adapter's first address)";
    }
    FrameShape shape;
    shape.mBlockId = 9;
    Start(2, shape.ImageBytes());
    other.Aim(mHost);
    const Bytes image = Image(shape, 9);
    const std::vector<Bytes> camera = FramePackets(shape, image);
    const std::vector<Bytes> impostor = FramePackets(shape, Image(shape, 99));
    for (std::size_t i = 0; i < camera.size(); ++i) {
        other.Send(impostor[i]);
        mCamera.Send(camera[i]);
    }
    const Taken taken = TakeNext(*mStream, mEvent);
    ASSERT_EQ(taken.mCode, GC_ERR_SUCCESS);
    ExpectImage(taken.mBuffer, image);

    // Alone, another source begins no frame.
    shape.mBlockId = 10;
    other.Send(FramePackets(shape, image));
    EXPECT_FALSE(WaitFor(mEvent, 200));
    EXPECT_EQ(Info(*mStream, STREAM_INFO_NUM_UNDERRUN), 0u);
    EXPECT_EQ(Info(*mStream, STREAM_INFO_PACKETS_RECEIVED), camera.size());
    EXPECT_EQ(Info(*mStream, STREAM_INFO_PACKETS_OUT_OF_RANGE), 0u);
}

TEST_P(StreamReceive, MalformedPacketsAreCountedAndNeverWritten)
{
    FrameShape shape;
    shape.mBlockId = 5;
    // The buffer holds the image exactly: a byte past it is past the buffer.
    Start(2, shape.ImageBytes());
    const Bytes image = Image(shape, 5);
    const std::vector<Bytes> packets = FramePackets(shape, image);
    const std::uint32_t count = shape.PayloadPackets();
    const std::uint32_t perPacket = shape.BytesPerPacket();
    const std::uint32_t half = count / 2;
    // The leader and the first half of the payload come first.
    mCamera.Send(std::vector<Bytes>(packets.begin(), packets.begin() + half + 1));

    const auto header = [](GvspFormat format, std::uint32_t id, std::uint64_t block = 5) {
        return GvspHeader{0, false, 0, format, block, id};
    };
    GvspHeader failed = header(GvspFormat::Payload, half + 2);
    failed.mStatus = Gige::GvcpStatus::NotImplemented;
    const Bytes junk(3 * perPacket, 0x5A);
    const auto part = [&junk](std::size_t size) { return Bytes(junk.begin(), junk.begin() + static_cast<std::ptrdiff_t>(size)); };
    const Bytes extendedCut = {0x00, 0x00, 0x00, 0x00, 0x83, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05};
    const std::vector<Bytes> malformed = {
        {0x00, 0x00, 0x00, 0x05, 0x03},                                        // shorter than a header
        extendedCut,                                                            // an extended header cut short
        Packet(header(GvspFormat::Trailer, count + 1), part(4)),               // a trailer cut short
        Packet(header(GvspFormat::Payload, 3), part(perPacket + 100)),         // oversized, on a packet that came
        Packet(header(GvspFormat::Payload, 2), part(perPacket / 2)),           // short, not the last
        Packet(header(GvspFormat::Payload, half + 1), part(perPacket - 1)),    // short, not come yet
        Packet(header(GvspFormat::Payload, 0), part(perPacket)),               // payload with the leader's ID
        Packet(header(GvspFormat::Leader, 7), part(Gige::ImageLeaderSize)),    // a leader with a payload ID
        Packet(header(GvspFormat::Trailer, 1), part(Gige::ImageTrailerSize)),  // a trailer before any payload
        Packet(header(GvspFormat::Payload, count + 3), part(perPacket)),       // beyond the frame
        Packet(header(GvspFormat::Payload, 0xFFFFFF), part(perPacket)),        // far beyond the buffer
        Packet(header(GvspFormat::Payload, count), part(perPacket)),           // past the buffer's end
        Packet(header(GvspFormat::Payload, 4, 0), part(perPacket)),            // block 0
        Packet(header(GvspFormat::AllIn, 6), part(perPacket)),                 // a format no image has
        Packet(failed, part(perPacket)),                                        // an error status
        Packet(header(GvspFormat::Payload, 4), part(2 * perPacket + 40)),      // larger than any packet
        Packet(header(GvspFormat::Payload, 4, 5 + 0x8000), part(perPacket)),  // a block far from any frame
    };
    mCamera.Send(malformed);
    mCamera.Send(std::vector<Bytes>(packets.begin() + half + 1, packets.end()));

    const Taken taken = TakeNext(*mStream, mEvent);
    ASSERT_EQ(taken.mCode, GC_ERR_SUCCESS);
    ExpectImage(taken.mBuffer, image);
    EXPECT_EQ(Info(*mStream, STREAM_INFO_PACKETS_OUT_OF_RANGE), malformed.size());
    EXPECT_EQ(Info(*mStream, STREAM_INFO_PACKETS_RECEIVED), packets.size());
    EXPECT_EQ(Info(*mStream, STREAM_INFO_NUM_UNDERRUN), 0u);
    const std::uint8_t* other = mMemory[1 - IndexOf(taken.mBuffer)].get();
    EXPECT_TRUE(std::all_of(other, other + shape.ImageBytes(), [](std::uint8_t b) { return b == Untouched; }))
        << "the other buffer was written";

    // Bad packets of the frame handed over count as well; a late copy of
    // one of its packets does not.
    ASSERT_EQ(mStream->QueueBuffer(taken.mBuffer), GC_ERR_SUCCESS);
    mCamera.Send({Packet(header(GvspFormat::Payload, 0), part(perPacket)),
                  Packet(header(GvspFormat::Payload, count + 3), part(perPacket)), packets[3]});
    shape.mBlockId = 6;
    mCamera.Send(FramePackets(shape, image));
    const Taken next = TakeNext(*mStream, mEvent);
    EXPECT_EQ(next.mCode, GC_ERR_SUCCESS);
    EXPECT_EQ(Info(*mStream, STREAM_INFO_PACKETS_OUT_OF_RANGE), malformed.size() + 2);
}

TEST_P(StreamReceive, AFrameWithoutAQueuedBufferIsAnUnderrunAndFramesStopAtTheCountAsked)
{
    FrameShape shape;
    Start(2, shape.ImageBytes(), false);
    mCamera.Send(FramePackets(shape, Image(shape, 1)));
    EXPECT_EQ(WaitForInfo(*mStream, STREAM_INFO_NUM_UNDERRUN, 1), 1u);
    EXPECT_FALSE(WaitFor(mEvent, 50));

    ASSERT_EQ(mStream->QueueBuffer(mBuffers[0]), GC_ERR_SUCCESS);
    shape.mBlockId = 2;
    const Bytes image = Image(shape, 2);
    mCamera.Send(FramePackets(shape, image));
    const Taken taken = TakeNext(*mStream, mEvent);
    ASSERT_EQ(taken.mCode, GC_ERR_SUCCESS);
    ExpectImage(taken.mBuffer, image);

    // One frame asked for: the next finds no buffer wanted, which is no underrun.
    ASSERT_EQ(mStream->StopAcquisition(), GC_ERR_SUCCESS);
    for (BUFFER_HANDLE buffer : mBuffers) {
        ASSERT_EQ(mStream->QueueBuffer(buffer), GC_ERR_SUCCESS);
    }
    ASSERT_EQ(mStream->StartAcquisition(1), GC_ERR_SUCCESS) << mStream->LastError();
    mCamera.Aim(mHost);
    for (std::uint64_t block = 3; block <= 4; ++block) {
        shape.mBlockId = block;
        mCamera.Send(FramePackets(shape, Image(shape, 3)));
    }
    EXPECT_EQ(TakeNext(*mStream, mEvent).mCode, GC_ERR_SUCCESS);
    EXPECT_FALSE(WaitFor(mEvent, 100));
    EXPECT_EQ(Info(*mStream, STREAM_INFO_NUM_UNDERRUN), 1u);
    EXPECT_EQ(Info(*mStream, STREAM_INFO_NUM_DELIVERED), 2u);
}

TEST_P(StreamReceive, StopHandsEveryBufferBackAndARestartReceivesAgain)
{
    FrameShape shape;
    Start(3, shape.ImageBytes());
    mCamera.Send(FramePackets(shape, Image(shape, 1)));
    ASSERT_EQ(WaitForInfo(*mStream, STREAM_INFO_NUM_DELIVERED, 1), 1u);
    ASSERT_TRUE(WaitFor(mEvent, 0));
    EXPECT_EQ(mStream->RevokeBuffer(mBuffers[2], nullptr, nullptr), GC_ERR_ACCESS_DENIED) << "queued while acquiring";
    EXPECT_EQ(mStream->QueueBuffer(mBuffers[2]), GC_ERR_ACCESS_DENIED) << "queued already";

    ASSERT_EQ(mStream->StopAcquisition(), GC_ERR_SUCCESS);
    ASSERT_FALSE(mHost.Writes().empty());
    EXPECT_EQ(mHost.Writes().back(), std::make_pair(ScpAddress, 0u)) << "the camera stops sending";
    EXPECT_FALSE(WaitFor(mEvent, 0)) << "the records went with the stop";
    BUFFER_HANDLE none = nullptr;
    EXPECT_EQ(mStream->TakeRecord(&none), GC_ERR_NO_DATA);
    void* memory = nullptr;
    ASSERT_EQ(mStream->RevokeBuffer(mBuffers[2], &memory, nullptr), GC_ERR_SUCCESS);
    EXPECT_EQ(memory, mMemory[2].get());
    // The filled buffer and the queued one are the host's again.
    ASSERT_EQ(mStream->QueueBuffer(mBuffers[1]), GC_ERR_SUCCESS);
    ASSERT_EQ(mStream->QueueBuffer(mBuffers[0]), GC_ERR_SUCCESS);

    ASSERT_EQ(mStream->StartAcquisition(NoLimit), GC_ERR_SUCCESS) << mStream->LastError();
    EXPECT_NE(mHost.Register(ScpAddress), 0u);
    mCamera.Aim(mHost);
    shape.mBlockId = 2;
    const Bytes image = Image(shape, 2);
    mCamera.Send(FramePackets(shape, image));
    const Taken taken = TakeNext(*mStream, mEvent);
    ASSERT_EQ(taken.mCode, GC_ERR_SUCCESS);
    EXPECT_EQ(taken.mBuffer, mBuffers[1]);
    ExpectImage(taken.mBuffer, image);
    EXPECT_EQ(Info(*mStream, STREAM_INFO_NUM_DELIVERED), 2u) << "counted since the stream was made";
}

TEST_P(StreamReceive, ALostDeviceEndsTheStreamWithARecordOfItsOwn)
{
    FrameShape shape;
    Start(3, shape.ImageBytes());
    mCamera.Send(FramePackets(shape, Image(shape, 1)));
    ASSERT_EQ(WaitForInfo(*mStream, STREAM_INFO_NUM_DELIVERED, 1), 1u);
    mStream->DeviceLost();
    mStream->DeviceLost();

    EXPECT_EQ(TakeNext(*mStream, mEvent).mCode, GC_ERR_SUCCESS) << "what came before comes first";
    EXPECT_TRUE(WaitFor(mEvent, 0));
    const Taken lost = TakeNext(*mStream, mEvent);
    EXPECT_EQ(lost.mCode, GC_ERR_DEVICE_LOST);
    EXPECT_EQ(lost.mBuffer, nullptr);
    EXPECT_FALSE(WaitFor(mEvent, 0)) << "one record for the loss";

    shape.mBlockId = 2;
    mCamera.Send(FramePackets(shape, Image(shape, 2)));
    EXPECT_FALSE(WaitFor(mEvent, 200)) << "nothing is delivered after the loss";

    mHost.SetLost();
    const std::size_t writes = mHost.Writes().size();
    EXPECT_EQ(mStream->StopAcquisition(), GC_ERR_SUCCESS);
    EXPECT_EQ(mHost.Writes().size(), writes) << "a lost camera is not written to";
    EXPECT_EQ(mStream->StartAcquisition(NoLimit), GC_ERR_DEVICE_LOST);
    EXPECT_NE(mStream->LastError().find("lost"), std::string::npos) << mStream->LastError();
}

INSTANTIATE_TEST_SUITE_P(Paths, StreamReceive, testing::Values(Path::Ring, Path::Udp), PathName);

}
