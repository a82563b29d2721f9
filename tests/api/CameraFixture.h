// A host with the driver initialized over the embedded default cameras, a
// system path of its own (settings and log at level 3) and its debug
// callback captured.
#pragma once

#include "ImageReceiver.h"
#include "os/Profile.h"
#include "support/LoadedDriver.h"
#include "support/LogCapture.h"
#include "support/ProducerState.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace TestSupport {

constexpr const char Kx1300[] = "Kavrix KX-1300-60gm (21810742)";
constexpr const char Kx5000[] = "Kavrix KX-5000-24gm (21810743)";

class CameraFixture : public ::testing::Test {
protected:
    CameraFixture();
    ~CameraFixture() override;

    std::string Ini() const { return mFolder.File("Kavrix.ini"); }
    void Store(const char* section, const char* key, const std::string& value) const;
    // openCVLPort; the size is filled in.
    int Open(const char* camera, int port);
    // Opens and sets the receiver as the completion callback for images of
    // the opened size.
    void OpenForImages(const char* camera, int port, bool checkPattern = true);
    std::int64_t Register(const char* camera, const char* name) const;
    void SetRegister(const char* camera, const char* name, std::int64_t value) const;
    // The counters of the camera's statistics, as the driver logs them.
    struct Statistics {
        int frames = -1;
        int dropped = -1;
        int grabInProgress = -1;
    };
    Statistics Stats(int port);
    // Waits up to 5 s for the message at or after from.
    bool WaitForLog(const std::string& text, int from = 0);

    ProducerState mProducer;
    LogCapture mLog;
    TempFolder mFolder;
    LoadedDriver mDriver;
    ImageReceiver mImages{*mDriver};
    int mSize[2] = {0, 0};
};

}
