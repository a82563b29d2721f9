// A device's stream: buffers sized from the camera, images taken oldest
// first, the producer's odd records, and closing in every state.
#include "diag/DriverContext.h"
#include "os/Event.h"
#include "support/LogCapture.h"
#include "support/ProducerState.h"
#include "support/StreamDevice.h"
#include "transport/CameraError.h"

#include <gtest/gtest.h>

#include <vector>

using TestSupport::ErrorOf;
using TestSupport::StreamDevice;

namespace {

class DataStreamTest : public ::testing::Test {
protected:
    DataStreamTest()
    {
        DriverContext::Instance().SetDebugMsgProc(TestSupport::LogCapture::Callback());
        DriverContext::Instance().mLogLevel = 3;
    }
    ~DataStreamTest() override { DriverContext::Instance().SetDebugMsgProc(nullptr); }

    static bool IsSignalled(Os::Event& event)
    {
        Os::Event* events[] = {&event};
        return Os::WaitForAny(events, 1, 0) == 0;
    }

    TestSupport::ProducerState mProducer;
    TestSupport::LogCapture mLog;
};

TEST_F(DataStreamTest, BuffersAreSizedFromTheCameraAndTheCameraIsLockedWhileTheStreamRuns)
{
    StreamDevice device(0, 640, 480);
    device->OpenDataStream();
    const auto& buffers = device->GetDataStream()->GetBuffers();
    ASSERT_EQ(buffers.size(), 5u);
    for (const auto& buffer : buffers) {
        EXPECT_EQ(buffer->GetSize(), 640u * 480u);
        EXPECT_TRUE(buffer->IsQueued());
    }
    EXPECT_EQ(device.State().mAnnounced, 5u);
    EXPECT_EQ(device.State().mQueued, 5u);
    EXPECT_EQ(device->GetTLParamsLocked()->GetValue(false, true), 1);
    EXPECT_EQ(ErrorOf([&] { device->GetIntegerNode("Width").SetValue(320); }).find("(no exception)"),
              std::string::npos)
        << "the camera refuses geometry changes while its stream runs";

    device->Close();
    EXPECT_EQ(device.State().mAnnounced, 0u);
    EXPECT_EQ(device.State().mStreamOpen, 0);
    int64_t locked = -1;
    ASSERT_EQ(TLICtl_GetRegisterValue(device.Name().c_str(), "TLParamsLockedReg", &locked), GC_ERR_SUCCESS);
    EXPECT_EQ(locked, 0);
}

TEST_F(DataStreamTest, OnlyMono8ImagesCanBeReadOut)
{
    StreamDevice device(0, 640, 480, TestSupport::Mono12Packed);
    device->OpenDataStream();
    for (const auto& buffer : device->GetDataStream()->GetBuffers()) {
        EXPECT_EQ(buffer->GetSize(), 640u * 480u * 12u / 8u);
    }
    ASSERT_EQ(TLICtl_DeliverFrame(device.Name().c_str()), GC_ERR_SUCCESS);
    device->ProcessEvent("Cam");
    std::vector<unsigned char> image(640 * 480);
    EXPECT_EQ(ErrorOf([&] { device->GetImage(image.data(), image.size()); }),
              "GrabBuffer::GetImage: Unsupported image format");
    EXPECT_EQ(device.State().mQueued, 5u) << "a failed copy still gives the buffer back";
}

TEST_F(DataStreamTest, ImagesAreTakenOldestFirstAndTheEventFollowsThePendingRecords)
{
    StreamDevice device(0, 64, 48);
    device->OpenDataStream();
    Os::Event& event = *device->GetImageReceivedEvent();
    EXPECT_FALSE(IsSignalled(event));

    ASSERT_EQ(TLICtl_DeliverFrame(device.Name().c_str()), GC_ERR_SUCCESS);
    ASSERT_EQ(TLICtl_DeliverFrame(device.Name().c_str()), GC_ERR_SUCCESS);
    EXPECT_TRUE(IsSignalled(event));
    device->ProcessEvent("Cam");
    EXPECT_TRUE(IsSignalled(event)) << "one record is still pending";
    device->ProcessEvent("Cam");
    EXPECT_FALSE(IsSignalled(event));
    EXPECT_EQ(device.State().mQueued, 3u);

    std::vector<unsigned char> first(64 * 48);
    std::vector<unsigned char> second(64 * 48);
    ASSERT_TRUE(device->HasImage());
    device->GetImage(first.data(), first.size());
    device->GetImage(second.data(), second.size());
    EXPECT_FALSE(device->HasImage());
    EXPECT_EQ(TestSupport::FrameNumber(second.data()), TestSupport::FrameNumber(first.data()) + 1);
    EXPECT_EQ(device.State().mQueued, 5u) << "both buffers went back to the producer";

    EXPECT_EQ(ErrorOf([&] { device->GetImage(first.data(), first.size()); }),
              "Image requested when there is no image in the buffer");
    EXPECT_EQ(ErrorOf([&] { device->ProcessEvent("Cam"); }),
              "GrabFinishedEvent::GetBufferHandle: Failed to get event data -- TL API error code: -5(GC_ERR_NO_DATA)");
}

TEST_F(DataStreamTest, DiscardingRequeuesWithoutCopyingAndOversizedReadsAreRefused)
{
    StreamDevice device(0, 64, 48);
    device->OpenDataStream();
    TLICtl_DeliverFrame(device.Name().c_str());
    TLICtl_DeliverFrame(device.Name().c_str());
    device->ProcessEvent("Cam");
    device->ProcessEvent("Cam");

    std::vector<unsigned char> image(64 * 48 + 1, 0xAB);
    EXPECT_EQ(ErrorOf([&] { device->GetImage(image.data(), image.size()); }),
              "GrabBuffer::GetImage: Image size exceeds buffer size");
    EXPECT_EQ(image[0], 0xAB);
    device->DiscardImage();
    EXPECT_EQ(image[0], 0xAB);
    EXPECT_FALSE(device->HasImage());
    EXPECT_EQ(device.State().mQueued, 5u) << "the refused read and the discard both gave their buffers back";
}

TEST_F(DataStreamTest, CallsInTheWrongStateChangeNothing)
{
    StreamDevice device(0, 64, 48);
    Kavrix::DataStream& stream = *device->GetDataStream();
    EXPECT_EQ(ErrorOf([&] { device->GetImageReceivedEvent(); }),
              "DataStream::GetImageReceivedEvent: Acquisition not started");
    EXPECT_EQ(ErrorOf([&] { stream.StopAcquisition(); }), "DataStream::StopAcquisition: Acquisition not started");
    EXPECT_EQ(ErrorOf([&] { stream.GetHandle(); }), "DataStream does not opened");
    device->OpenDataStream();
    EXPECT_EQ(ErrorOf([&] { stream.StartAcquisition(); }),
              "DataStream::StartAcquisition: Acquisition allready started");
    EXPECT_EQ(ErrorOf([&] { stream.Create(); }), "DataStream::Create: Stream allready created");
    EXPECT_EQ(device.State().mQueued, 5u);

    EXPECT_EQ(ErrorOf([&] { device->StopAcquisition(); }), "Device::StopAcquisition: Acquisition already stopped");
    device->StartAcquisition();
    EXPECT_EQ(device.State().mCameraAcquiring, 1);
    EXPECT_EQ(ErrorOf([&] { device->StartAcquisition(); }),
              "Device::StartAcquisition: Acquisition allready started");
    device->StopAcquisition();
    EXPECT_EQ(device.State().mCameraAcquiring, 0);
    EXPECT_EQ(ErrorOf([&] { device->StopAcquisition(); }), "Device::StopAcquisition: Acquisition already stopped");
}

TEST_F(DataStreamTest, StreamCreationFailures)
{
    StreamDevice device(0, 64, 48);
    TLICtl_InjectFault("DevCreateDataStream", GC_ERR_INVALID_PARAMETER, 0, 1);
    const std::string mtu = ErrorOf([&] { device->OpenDataStream(); });
    EXPECT_EQ(mtu, "Video packet size exceeds maximum packet size (MTU) allowed by your network. Please configure "
                   "your network adapter or decrease the size configured for the device.");
    TLICtl_InjectFault("DevCreateDataStream", GC_ERR_ERROR, 0, 1);
    EXPECT_EQ(ErrorOf([&] { device->OpenDataStream(); }),
              "DataStream::DataStream: Failed to create video stream -- TL API error code: -6(GC_ERR_ERROR)");
    TLICtl_InjectFault("DSAnnounceBuffer", GC_ERR_ERROR, 2, 1);
    EXPECT_EQ(ErrorOf([&] { device->OpenDataStream(); }),
              "GrabBuffer::GrabBuffer: Failed announce buffer -- TL API error code: -6(GC_ERR_ERROR)");
    EXPECT_EQ(device.State().mAnnounced, 2u);
    device->Close();
    EXPECT_EQ(device.State().mAnnounced, 0u);
    EXPECT_EQ(device.State().mStreamOpen, 0);
}

TEST_F(DataStreamTest, RecordsWithACodeGoBackAndUnknownBuffersAreDropped)
{
    StreamDevice device(0, 64, 48);
    device->OpenDataStream();

    ASSERT_EQ(TLICtl_InjectEventRecord(device.Name().c_str(), GC_ERR_ERROR, 0), GC_ERR_SUCCESS);
    EXPECT_EQ(device.State().mQueued, 4u);
    device->ProcessEvent("Cam");
    EXPECT_FALSE(device->HasImage());
    EXPECT_EQ(device.State().mQueued, 5u) << "the buffer went straight back to the producer";
    EXPECT_TRUE(mLog.Contains("DataStream::ProcessEvent: GCGetEventData result: -6\n")) << mLog.Dump();

    ASSERT_EQ(TLICtl_InjectEventRecord(device.Name().c_str(), GC_ERR_SUCCESS, 1), GC_ERR_SUCCESS);
    device->ProcessEvent("Cam");
    EXPECT_FALSE(device->HasImage());
    EXPECT_EQ(device.State().mQueued, 5u);
    EXPECT_TRUE(mLog.Contains("DataStream::ProcessEvent: buffer not found\n")) << mLog.Dump();
}

TEST_F(DataStreamTest, ClosingReleasesTheStreamInEveryState)
{
    {
        // Made but never started: destroyed without a stop.
        StreamDevice device(0, 64, 48);
        device->GetDataStream()->Create();
        device->Close();
        EXPECT_EQ(TLICtl_CallCount("DSStopAcquisition"), 0);
        EXPECT_EQ(TLICtl_CallCount("DSClose"), 1);
        EXPECT_EQ(TLICtl_CallCount("DevClose"), 1);
    }
    {
        // Running, with the camera acquiring and images waiting.
        StreamDevice device(0, 64, 48);
        device->OpenDataStream();
        device->StartAcquisition();
        TLICtl_DeliverFrame(device.Name().c_str());
        device->ProcessEvent("Cam");
        device->Close();
        const TLICtlStreamState state = device.State();
        EXPECT_EQ(state.mCameraAcquiring, 0);
        EXPECT_EQ(state.mAnnounced, 0u);
        EXPECT_EQ(state.mDeviceOpen, 0);
    }
    {
        // The destructor alone.
        StreamDevice device(0, 64, 48);
        device->OpenDataStream();
    }
    EXPECT_EQ(TLICtl_CallCount("DevClose"), 3);
}

TEST_F(DataStreamTest, AFailedRevokeEndsTheCloseAndALaterCloseFinishesIt)
{
    StreamDevice device(0, 64, 48);
    device->OpenDataStream();
    TLICtl_InjectFault("DSRevokeBuffer", GC_ERR_ERROR, 2, 1);
    EXPECT_EQ(ErrorOf([&] { device->Close(); }),
              "GrabBuffer::~GrabBuffer: Failed to revoke buffer -- TL API error code: -6(GC_ERR_ERROR)");
    EXPECT_TRUE(device->IsOpen());
    EXPECT_EQ(device.State().mAnnounced, 3u) << "the refused buffer and those after it stay announced";
    EXPECT_EQ(device.State().mStreamOpen, 1);
    device->Close();
    EXPECT_FALSE(device->IsOpen());
    EXPECT_EQ(device.State().mAnnounced, 0u);
}

}
