// Image streams: buffers, records, the event, and the stream's life.
#include "StreamSupport.h"

using namespace TliTest;

namespace {

class Streams : public StreamFixture {};

TEST_F(Streams, FramesFillTheOldestQueuedBufferAndLostFramesAreCounted)
{
    Announce(3);
    ASSERT_EQ(DSQueueBuffer(mStream, mHandles[2]), GC_ERR_SUCCESS);
    ASSERT_EQ(DSQueueBuffer(mStream, mHandles[0]), GC_ERR_SUCCESS);
    EXPECT_EQ(TLICtl_DeliverFrame(mCamera), GC_ERR_NO_DATA) << "the stream is not acquiring yet";
    Start();
    EXPECT_EQ(TLICtl_DeliverFrame(mCamera), GC_ERR_SUCCESS);
    EXPECT_EQ(TLICtl_DeliverFrame(mCamera), GC_ERR_SUCCESS);
    EXPECT_EQ(TLICtl_DeliverFrame(mCamera), GC_ERR_NO_DATA) << "no buffer left";

    EXPECT_EQ(WaitRecord(0), mHandles[2]);
    EXPECT_EQ(WaitRecord(0), mHandles[0]);
    EXPECT_EQ(FrameNumber(mBuffers[2]), 2u);
    EXPECT_EQ(FrameNumber(mBuffers[0]), 3u);
    EXPECT_EQ(mBuffers[1][0], 0xEE) << "a buffer not queued stays untouched";

    // The moving ramp: byte x of row y is x + y + frame number.
    const std::vector<uint8_t>& image = mBuffers[0];
    for (const auto& [x, y] : {std::pair{4u, 0u}, std::pair{100u, 7u}, std::pair{1279u, 1023u}})
        EXPECT_EQ(image[y * 1280 + x], static_cast<uint8_t>(x + y + 3)) << x << "," << y;

    const TLICtlStreamState state = State();
    EXPECT_EQ(state.mDelivered, 2u);
    EXPECT_EQ(state.mLost, 2u);
    EXPECT_EQ(state.mFrameNumber, 4u);
    EXPECT_EQ(state.mAnnounced, 3u);
    EXPECT_EQ(state.mQueued, 0u);
}

TEST_F(Streams, EventIsSetExactlyWhileARecordWaits)
{
    Announce(2);
    QueueAll();
    Start();
    EXPECT_FALSE(EventIsSet());
    ASSERT_EQ(TLICtl_DeliverFrame(mCamera), GC_ERR_SUCCESS);
    ASSERT_EQ(TLICtl_DeliverFrame(mCamera), GC_ERR_SUCCESS);
    EXPECT_TRUE(EventIsSet());
    EXPECT_NE(WaitRecord(0), nullptr);
    EXPECT_TRUE(EventIsSet()) << "one record still waits";
    EXPECT_NE(WaitRecord(0), nullptr);
    EXPECT_FALSE(EventIsSet());

    BUFFER_HANDLE handle = nullptr;
    size_t size = sizeof handle;
    EXPECT_EQ(GCGetEventData(mEventHandle, &handle, &size), GC_ERR_NO_DATA);

    // A record that waits when the event is registered sets it at once.
    QueueAll();
    ASSERT_EQ(TLICtl_DeliverFrame(mCamera), GC_ERR_SUCCESS);
    ASSERT_EQ(GCUnregisterEvent(mEventHandle, EVENT_NEW_BUFFER), GC_ERR_SUCCESS);
    mEvent.Reset();
    ASSERT_EQ(GCRegisterEvent(mStream, EVENT_NEW_BUFFER, mEvent.GetNative(), &mEventHandle), GC_ERR_SUCCESS);
    EXPECT_TRUE(EventIsSet());

    // Stopping hands every buffer back and clears the event.
    ASSERT_EQ(DSStopAcquisition(mStream, 0), GC_ERR_SUCCESS);
    EXPECT_FALSE(EventIsSet());
    EXPECT_EQ(State().mPending, 0u);
    EXPECT_EQ(State().mQueued, 0u);
    QueueAll();
}

TEST_F(Streams, EventDataIsAWholeBufferHandle)
{
    Announce(1);
    QueueAll();
    Start();
    ASSERT_EQ(TLICtl_DeliverFrame(mCamera), GC_ERR_SUCCESS);
    uint32_t narrow = 0;
    size_t size = sizeof narrow;
    EXPECT_EQ(GCGetEventData(mEventHandle, &narrow, &size), GC_ERR_INVALID_BUFFER_SIZE);
    EXPECT_EQ(size, sizeof(BUFFER_HANDLE));
    EXPECT_EQ(GCGetEventData(mEventHandle, nullptr, &size), GC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(GCGetEventData(mStream, &narrow, &size), GC_ERR_INVALID_HANDLE);
    EXPECT_TRUE(EventIsSet()) << "a refused call takes no record";
    EXPECT_EQ(WaitRecord(0), mHandles[0]);
}

TEST_F(Streams, InjectedRecordsCarryTheirCodeOrAnUnknownBuffer)
{
    Announce(2);
    QueueAll();
    Start();
    ASSERT_EQ(TLICtl_InjectEventRecord(mCamera, GC_ERR_TIMEOUT, 0), GC_ERR_SUCCESS);
    GC_ERROR code = GC_ERR_SUCCESS;
    EXPECT_EQ(WaitRecord(0, &code), mHandles[0]) << "the oldest queued buffer";
    EXPECT_EQ(code, GC_ERR_TIMEOUT);
    EXPECT_EQ(DSQueueBuffer(mStream, mHandles[0]), GC_ERR_SUCCESS) << "the host hands it straight back";

    ASSERT_EQ(TLICtl_InjectEventRecord(mCamera, GC_ERR_SUCCESS, 1), GC_ERR_SUCCESS);
    const BUFFER_HANDLE unknown = WaitRecord(0, &code);
    EXPECT_EQ(code, GC_ERR_SUCCESS);
    EXPECT_NE(unknown, nullptr);
    EXPECT_NE(unknown, mHandles[0]);
    EXPECT_NE(unknown, mHandles[1]);
    EXPECT_EQ(DSQueueBuffer(mStream, unknown), GC_ERR_INVALID_HANDLE);

    ASSERT_EQ(TLICtl_DeliverFrame(mCamera), GC_ERR_SUCCESS);
    ASSERT_EQ(TLICtl_DeliverFrame(mCamera), GC_ERR_SUCCESS);
    EXPECT_EQ(TLICtl_InjectEventRecord(mCamera, GC_ERR_ERROR, 0), GC_ERR_NO_DATA) << "nothing queued";
    EXPECT_EQ(TLICtl_InjectEventRecord(DefaultKx5000, GC_ERR_ERROR, 0), GC_ERR_ACCESS_DENIED) << "no stream";
}

TEST_F(Streams, BuffersCannotBeTakenFromARunningAcquisition)
{
    Announce(2);
    QueueAll();
    EXPECT_EQ(DSQueueBuffer(mStream, mHandles[0]), GC_ERR_ACCESS_DENIED) << "queued twice";
    Start();
    EXPECT_EQ(DSStartAcquisition(mStream, 0, ~uint64_t{0}), GC_ERR_ACCESS_DENIED);
    void* memory = nullptr;
    EXPECT_EQ(DSRevokeBuffer(mStream, mHandles[0], &memory, nullptr), GC_ERR_ACCESS_DENIED);
    ASSERT_EQ(DSStopAcquisition(mStream, 0), GC_ERR_SUCCESS);
    EXPECT_EQ(DSRevokeBuffer(mStream, mHandles[0], &memory, nullptr), GC_ERR_SUCCESS);
    EXPECT_EQ(memory, mBuffers[0].data());
    EXPECT_EQ(DSRevokeBuffer(mStream, mHandles[0], &memory, nullptr), GC_ERR_INVALID_HANDLE);
    EXPECT_EQ(State().mAnnounced, 1u);

    BUFFER_HANDLE handle = nullptr;
    EXPECT_EQ(DSAnnounceBuffer(mStream, nullptr, 100, nullptr, &handle), GC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(DSAnnounceBuffer(mStream, mBuffers[0].data(), 0, nullptr, &handle), GC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(DSStartAcquisition(mStream, 0, 0), GC_ERR_INVALID_PARAMETER);
}

TEST_F(Streams, AFrameLargerThanItsBufferIsCutAndReported)
{
    mBuffers.emplace_back(1100, 0xEE);
    mHandles.push_back(nullptr);
    ASSERT_EQ(DSAnnounceBuffer(mStream, mBuffers[0].data(), 1000, nullptr, &mHandles[0]), GC_ERR_SUCCESS);
    QueueAll();
    Start();
    ASSERT_EQ(TLICtl_DeliverFrame(mCamera), GC_ERR_SUCCESS);
    GC_ERROR code = GC_ERR_SUCCESS;
    EXPECT_EQ(WaitRecord(0, &code), mHandles[0]);
    EXPECT_EQ(code, GC_ERR_INVALID_BUFFER_SIZE);
    EXPECT_EQ(mBuffers[0][999], static_cast<uint8_t>(999 + 1));
    EXPECT_EQ(mBuffers[0][1000], 0xEE) << "nothing past the announced size";
}

TEST_F(Streams, FramesFollowThePixelFormatAndSize)
{
    ASSERT_EQ(WriteFeature(WidthAddress, 640), GC_ERR_SUCCESS);
    ASSERT_EQ(WriteFeature(HeightAddress, 480), GC_ERR_SUCCESS);
    ASSERT_EQ(WriteFeature(PixelFormatAddress, 0x010C0006), GC_ERR_SUCCESS);
    const size_t packed = 640 * 480 * 12 / 8;
    Announce(1, packed + 16);
    QueueAll();
    Start();
    ASSERT_EQ(TLICtl_DeliverFrame(mCamera), GC_ERR_SUCCESS);
    GC_ERROR code = GC_ERR_ERROR;
    ASSERT_EQ(WaitRecord(0, &code), mHandles[0]);
    EXPECT_EQ(code, GC_ERR_SUCCESS);
    EXPECT_NE(mBuffers[0][packed - 1], 0xEE);
    EXPECT_EQ(mBuffers[0][packed], 0xEE);
}

TEST_F(Streams, StreamOpeningIsChecked)
{
    DS_HANDLE second = nullptr;
    EXPECT_EQ(DevCreateDataStream(mDevice, 0, &second), GC_ERR_ACCESS_DENIED) << "one stream channel";
    DEV_HANDLE other = mLibrary.OpenDevice(DefaultInterface, DefaultKx5000);
    EXPECT_EQ(DevCreateDataStream(other, 1, &second), GC_ERR_INVALID_ID);
    ASSERT_EQ(TLICtl_SetRegisterValue(DefaultKx5000, "GevSCPSPacketSizeBits", 9000), GC_ERR_SUCCESS);
    EXPECT_EQ(DevCreateDataStream(other, 0, &second), GC_ERR_INVALID_PARAMETER) << "packets over the MTU";

    const std::string config = WriteConfig("tli-jumbo.ini",
                                           "[interface]\nname = eth1\nmtu = 9000\n"
                                           "[device]\nmodel = KX-5000-24gm\nname = Jumbo\npacket-size = 8192\n"
                                           "[interface]\nname = eth2\n"
                                           "[device]\nmodel = KX-5000-24gm\nname = Too big\npacket-size = 8192\n");
    ASSERT_EQ(TLICtl_LoadConfig(config.c_str()), GC_ERR_SUCCESS) << LastConfigError();
    Library library;
    EXPECT_EQ(DevCreateDataStream(library.OpenDevice("eth1", "Jumbo"), 0, &second), GC_ERR_SUCCESS);
    EXPECT_EQ(DevCreateDataStream(library.OpenDevice("eth2", "Too big"), 0, &second), GC_ERR_INVALID_PARAMETER);
}

TEST_F(Streams, ClosingReleasesBuffersEventAndStream)
{
    Announce(3);
    QueueAll();
    Start();
    ASSERT_EQ(WriteFeature(AcquisitionStartAddress, 1), GC_ERR_SUCCESS);
    ASSERT_EQ(DSClose(mStream), GC_ERR_SUCCESS);
    TLICtlStreamState state = State();
    EXPECT_EQ(state.mStreamOpen, 0);
    EXPECT_EQ(state.mAnnounced, 0u);
    BUFFER_HANDLE handle = nullptr;
    size_t size = sizeof handle;
    EXPECT_EQ(GCGetEventData(mEventHandle, &handle, &size), GC_ERR_INVALID_HANDLE);
    EXPECT_EQ(DSQueueBuffer(mStream, mHandles[0]), GC_ERR_INVALID_HANDLE);

    // Closing the device closes its stream too, frame thread and all.
    mHandles.clear();
    mBuffers.clear();
    ASSERT_EQ(DevCreateDataStream(mDevice, 0, &mStream), GC_ERR_SUCCESS);
    Announce(1);
    QueueAll();
    Start();
    ASSERT_EQ(DevClose(mDevice), GC_ERR_SUCCESS);
    state = State();
    EXPECT_EQ(state.mDeviceOpen, 0);
    EXPECT_EQ(state.mStreamOpen, 0);
    EXPECT_EQ(state.mCameraAcquiring, 0);
}

}
