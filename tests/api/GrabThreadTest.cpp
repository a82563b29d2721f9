// Host threads reading and writing properties and asking for grabs while the
// wait thread delivers images (run under ThreadSanitizer too).
#include "CameraFixture.h"

#include "TLIControl.h"

#include <atomic>
#include <thread>

namespace {

using namespace std::chrono_literals;
using TestSupport::CameraFixture;
using TestSupport::Kx1300;
using TestSupport::Kx5000;

class GrabThreadTest : public CameraFixture {};

TEST_F(GrabThreadTest, PropertiesAndGrabsFromHostThreadsWhileImagesArrive)
{
    for (const char* camera : {Kx1300, Kx5000}) {
        Store(camera, "Width", "320");
        Store(camera, "Height", "240");
    }
    TLICtl_SetPacing(Kx5000, 0);
    OpenForImages(Kx1300, 0);
    OpenForImages(Kx5000, 1);
    ASSERT_EQ(mDriver->setProperty(0, 0, "continuous", 1), 1);
    std::atomic<bool> stop{false};
    std::vector<std::thread> hosts;
    hosts.emplace_back([&] {
        while (!stop) {
            int value = 0;
            int high = 0;
            mDriver->getProperty(0, 0, "ExposureTimeRaw", &value);
            mDriver->getPropertyRange(0, 0, "GainAbs", &value, &high);
            mDriver->setProperty(0, 0, "ExposureTimeRaw", 1000 + value % 7);
            mDriver->getProperty(0, 0, "continuous", &value);
        }
    });
    hosts.emplace_back([&] {
        while (!stop) {
            const std::uint64_t before = mImages.Count(1);
            mDriver->doCVLGrab(0, 1);
            mImages.WaitForImages(1, before + 1, 1s);
            mDriver->setProperty(0, 1, "PrintStats", 0);
        }
    });
    // Rows are read inside the callback only: an image arriving while a host
    // reads the last one later overwrites it, as the host is told.
    hosts.emplace_back([&] {
        while (!stop) {
            mDriver->setProperty(0, 0, "ResetStats", 0);
            mDriver->setProperty(0, 1, "LogTimings", 0);
            std::this_thread::yield();
        }
    });
    std::this_thread::sleep_for(1500ms);
    stop = true;
    for (std::thread& host : hosts) {
        host.join();
    }
    ASSERT_EQ(mDriver->setProperty(0, 0, "continuous", 0), 1);
    EXPECT_GT(mImages.Count(0), 10u);
    EXPECT_GT(mImages.Count(1), 2u);
    EXPECT_EQ(mImages.StrayCalls(), 0u);
}

}
