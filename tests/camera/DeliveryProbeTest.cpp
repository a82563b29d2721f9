// The probe that the frame-path benchmark times deliveries with: its figures
// mean something only if it sees each delivery begin, the very grab buffer
// that is then copied into the image buffer, and the copy's end, in order.
#include "TLIControl.h"
#include "camera/CameraList.h"
#include "camera/DeliveryProbe.h"
#include "diag/DriverContext.h"
#include "os/Profile.h"
#include "support/ProducerState.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr char Kx1300[] = "Kavrix KX-1300-60gm (21810742)";
constexpr int Width = 64;
constexpr int Height = 48;

std::uint32_t FrameNumber(const unsigned char* image)
{
    std::uint32_t frame = 0;
    std::memcpy(&frame, image, sizeof frame);
    return frame;
}

class RecordingProbe final : public DeliveryProbe {
public:
    void Entered() noexcept override { Note("entered"); }
    void Copying(const unsigned char* grabBuffer, unsigned char* imageBuffer, std::size_t size) noexcept override
    {
        Note("copying " + std::to_string(FrameNumber(grabBuffer)) + " " + std::to_string(size));
        std::lock_guard<std::mutex> lock(mLock);
        mImageBuffers.push_back(imageBuffer);
    }
    void Copied() noexcept override { Note("copied"); }

    std::vector<std::string> Events()
    {
        std::lock_guard<std::mutex> lock(mLock);
        return mEvents;
    }
    std::vector<const unsigned char*> ImageBuffers()
    {
        std::lock_guard<std::mutex> lock(mLock);
        return mImageBuffers;
    }

private:
    void Note(const std::string& event)
    {
        std::lock_guard<std::mutex> lock(mLock);
        mEvents.push_back(event);
    }

    std::mutex mLock;
    std::vector<std::string> mEvents;
    std::vector<const unsigned char*> mImageBuffers;
};

// What the host's callback found in the image buffer.
struct Delivered {
    std::mutex mLock;
    std::condition_variable mArrived;
    Camera* mCamera = nullptr;
    std::vector<std::string> mImages;
};

Delivered sDelivered;

int ReceiveImage(int, int)
{
    const unsigned char* row = sDelivered.mCamera->GetRow(0);
    {
        std::lock_guard<std::mutex> lock(sDelivered.mLock);
        sDelivered.mImages.push_back(std::to_string(FrameNumber(row)) + " at " +
                                     std::to_string(reinterpret_cast<std::uintptr_t>(row)));
    }
    sDelivered.mArrived.notify_all();
    return 0;
}

class DeliveryProbeTest : public ::testing::Test {
protected:
    ~DeliveryProbeTest() override
    {
        DeliveryProbe::Install(nullptr);
        CameraList::Release();
    }

    TestSupport::ProducerState mProducer;
    TestSupport::TempFolder mFolder;
};

TEST_F(DeliveryProbeTest, SeesEachDeliveryAndTheGrabBufferThatIsCopied)
{
    for (const auto& [key, value] : {std::pair{"Width", Width}, std::pair{"Height", Height}}) {
        ASSERT_TRUE(Os::WriteProfileString(Kx1300, key, std::to_string(value), mFolder.File("Kavrix.ini")));
    }
    DriverContext::Instance().SetSystemPath(mFolder.Path());
    CameraList* list = CameraList::Create();
    list->Init();
    Camera* camera = list->GetByName(Kx1300);
    int size[2] = {0, 0};
    ASSERT_TRUE(camera->Open(0, size));
    sDelivered.mCamera = camera;
    camera->SetCompleteCB(&ReceiveImage);

    RecordingProbe probe;
    DeliveryProbe::Install(&probe);
    camera->SetContinuousGrab(true);
    {
        std::unique_lock<std::mutex> lock(sDelivered.mLock);
        EXPECT_TRUE(sDelivered.mArrived.wait_for(lock, std::chrono::seconds(10),
                                                 [] { return sDelivered.mImages.size() >= 3; }));
    }
    camera->Close();
    DeliveryProbe::Install(nullptr);

    // Each delivery, in order, with the frame the probe saw in the grab buffer
    // being the one the host then finds in the image buffer the probe was given.
    std::vector<std::string> expected;
    std::vector<std::string> images;
    {
        std::lock_guard<std::mutex> lock(sDelivered.mLock);
        images = sDelivered.mImages;
    }
    const std::vector<const unsigned char*> imageBuffers = probe.ImageBuffers();
    ASSERT_EQ(imageBuffers.size(), images.size());
    std::vector<std::string> seen;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::string frame = std::to_string(i + 1);
        expected.insert(expected.end(), {"entered", "copying " + frame + " " + std::to_string(Width * Height),
                                         "copied"});
        seen.push_back(frame + " at " + std::to_string(reinterpret_cast<std::uintptr_t>(imageBuffers[i])));
    }
    EXPECT_EQ(probe.Events(), expected);
    EXPECT_EQ(images, seen);
}

}
