#include "camera/Camera.h"

#include "diag/DriverContext.h"
#include "transport/Device.h"

#include <stdexcept>

namespace {

// The camera operations of later steps are not there yet; the exports fail
// cleanly through their exception barrier until they are.
[[noreturn]] void NotAvailable(const char* operation)
{
    throw std::logic_error(std::string(operation) + ": not available in this driver version");
}

}

Camera::Camera(const char* name, const CameraInfo& info, std::shared_ptr<Kavrix::Device> device)
    : mDevice(std::move(device)), mInfo(info), mBitsPerPixel(info.IsColor() ? 24 : 8)
{
    if (name == nullptr || !mDevice) {
        Log(1, "Camera::Camera: ERROR: parameters name and/or device are 0\n");
        throw "Err";
    }
    mName = name;
}

Camera::~Camera()
{
    Log(2, "Camera::~Camera: camera %s on port %d \n", mName.c_str(), mPort);
}

bool Camera::Open(int, int*) { NotAvailable("Camera::Open"); }
void Camera::Close() { NotAvailable("Camera::Close"); }
void Camera::SetCompleteCB(CompleteCallback) { NotAvailable("Camera::SetCompleteCB"); }
void Camera::Grab() { NotAvailable("Camera::Grab"); }
const unsigned char* Camera::GetRow(int) { NotAvailable("Camera::GetRow"); }
int Camera::GetRowSize() const { return mWidth * (mBitsPerPixel / 8); }
bool Camera::GetRange(const char*, int*, int*) { NotAvailable("Camera::GetRange"); }
bool Camera::GetProperty(const char*, int*) { NotAvailable("Camera::GetProperty"); }
bool Camera::SetProperty(const char*, int) { NotAvailable("Camera::SetProperty"); }
bool Camera::Configure(int) { NotAvailable("Camera::Configure"); }
