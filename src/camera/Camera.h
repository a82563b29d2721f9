// One physical camera as the host sees it: created by the camera list, bound
// to a host port while open.
#pragma once

#include "params/CameraInfo.h"
#include "kavrix.h"

#include <memory>
#include <string>

namespace Kavrix {
class Device;
}

class Camera {
public:
    // Logs and raises "Err" when name or device is null.
    Camera(const char* name, const CameraInfo& info, std::shared_ptr<Kavrix::Device> device);
    ~Camera();
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    const std::string& GetName() const { return mName; }
    int GetPort() const { return mPort; }
    bool IsOpen() const { return mIsOpen; }
    const CameraInfo& GetInfo() const { return mInfo; }
    int GetBitsPerPixel() const { return mBitsPerPixel; }

    bool Open(int portNo, int* size);
    void Close();
    void SetCompleteCB(CompleteCallback callback);
    void Grab();
    // The first byte of a row of the last image, or null when there is none.
    const unsigned char* GetRow(int row);
    // Bytes in one row of the image buffer.
    int GetRowSize() const;
    bool GetRange(const char* property, int* minimum, int* maximum);
    bool GetProperty(const char* property, int* value);
    bool SetProperty(const char* property, int value);
    bool Configure(int parentWindow);

private:
    std::shared_ptr<Kavrix::Device> mDevice;
    bool mIsOpen = false;
    std::string mName;
    int mPort = -1;
    CameraInfo mInfo;
    int mBitsPerPixel;
    int mWidth = 0;
};
