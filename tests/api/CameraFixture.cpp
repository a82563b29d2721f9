#include "CameraFixture.h"

#include "TLIControl.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace TestSupport {

CameraFixture::CameraFixture()
{
    Store("General", "LogLevel", "3");
    EXPECT_EQ(mDriver->initialize(mFolder.Path().c_str(), LogCapture::Callback()), 1);
}

CameraFixture::~CameraFixture()
{
    mDriver->finalize();
}

void CameraFixture::Store(const char* section, const char* key, const std::string& value) const
{
    ASSERT_TRUE(Os::WriteProfileString(section, key, value, Ini()));
}

int CameraFixture::Open(const char* camera, int port)
{
    return mDriver->openCVLPort(0, port, camera, mSize);
}

void CameraFixture::OpenForImages(const char* camera, int port, bool checkPattern)
{
    ASSERT_EQ(Open(camera, port), 1) << mLog.Dump();
    mImages.Expect(port, mSize[0], mSize[1], checkPattern);
    ASSERT_EQ(mDriver->setCompleteCallback(0, port, ImageReceiver::Callback()), 1);
}

std::int64_t CameraFixture::Register(const char* camera, const char* name) const
{
    std::int64_t value = -1;
    EXPECT_EQ(TLICtl_GetRegisterValue(camera, name, &value), GC_ERR_SUCCESS) << name;
    return value;
}

void CameraFixture::SetRegister(const char* camera, const char* name, std::int64_t value) const
{
    ASSERT_EQ(TLICtl_SetRegisterValue(camera, name, value), GC_ERR_SUCCESS) << name;
}

bool CameraFixture::WaitForLog(const std::string& text, int from)
{
    for (int i = 0; i < 500; ++i) {
        if (mLog.Find(text, from) >= 0) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

CameraFixture::Statistics CameraFixture::Stats(int port)
{
    const int from = static_cast<int>(mLog.Messages().size());
    Statistics stats;
    if (mDriver->setProperty(0, port, "PrintStats", 1) != 1) {
        return stats;
    }
    const int found = mLog.FindContaining("Camera statistics\n", from);
    if (found >= 0) {
        std::sscanf(mLog.Messages()[static_cast<std::size_t>(found)].c_str(),
                    "Camera statistics\nFrames:\t\t%d\nDropped:\t\t%d\nGrabInProgress:\t%d", &stats.frames,
                    &stats.dropped, &stats.grabInProgress);
    }
    return stats;
}

}
