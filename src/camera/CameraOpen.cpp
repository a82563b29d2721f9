// Opening a camera with its stored settings, and closing it.
#include "camera/Camera.h"

#include "camera/CameraWaitThread.h"
#include "diag/DriverContext.h"
#include "diag/HostCallbackScope.h"
#include "params/ParamEnum.h"
#include "params/SettingsFile.h"
#include "transport/CameraError.h"
#include "transport/Device.h"
#include "transport/PixelFormat.h"

#include <cstdio>
#include <stdexcept>

namespace {

// "Width" and "Height" must be integer parameters; anything else is no image size.
int ImageSide(const CameraParameters& params, const char* name)
{
    const auto* side = dynamic_cast<const Param<int>*>(params.GetParam(name));
    if (side == nullptr) {
        throw Kavrix::CameraError(std::string("Camera::Open: parameter ") + name + " is not an integer parameter");
    }
    return side->mValue;
}

}

bool Camera::Open(int portNo, int* size)
{
    if (size != nullptr) {
        size[0] = 0;
        size[1] = 0;
    }
    Log(2, "Camera::Open: entering port=%d\n", portNo);
    Log(1, "Opening camera %s on port %d\n", mName.c_str(), portNo);
    Control control(*this);
    if (mIsOpen) {
        Log(1, "Camera::Open: ERROR:  %s is already open on port %d\n", mName.c_str(), mPort.load());
        return false;
    }
    mPort = portNo;
    try {
        // Read once: both passes below take their values from it.
        SettingsFile settings(mInfo.name);
        settings.Load();
        mParameters.ReadSettings(settings);
        ApplyLogSettings();
        // A device whose last close failed is closed again before it opens.
        if (mDevice->IsOpen()) {
            mDevice->Close();
        }
        mDevice->Open();
        Log(3, "Camera::Open: INFO *1*: mDevice->Open() completed, port: %d\n", portNo);
        GenApi::IInteger* locked = mDevice->GetTLParamsLocked();
        if (locked != nullptr && locked->GetValue() != 0) {
            Log(1, "Camera::Open: ERROR: camera is locked by other application, port: %d\n", portNo);
            throw std::runtime_error("Camera::Open: camera is locked by other application");
        }
        mDevice->OpenConfiguration(mParameters);
        Log(3, "Camera::Open: INFO *2*: mDevice->OpenConfiguration completed, port: %d\n", portNo);
        mParameters.ReadSettings(settings);
        // The driver delivers Mono8 only: a stored pixel format never reaches the camera.
        if (mParameters.HasParam("PixelFormat")) {
            Param_* format = mParameters.GetParam("PixelFormat");
            format->mEnabled = false;
            if (auto* entries = dynamic_cast<ParamEnum*>(format)) {
                entries->mValue = "Mono8";
            }
        }
        std::string error;
        if (!mParameters.Validate(error)) {
            Log(1, "Camera::Open: WARNING: Configuration not valid: %s, port: %d\n", error.c_str(), portNo);
        }
        Log(3, "Camera::Open: INFO *3*: Param::Validate completed, port: %d\n", portNo);
        LoadSettings();
        Log(3, "Camera::Open: INFO *4*: LoadSettings completed, port: %d\n", portNo);
        mDevice->OpenDataStream(static_cast<std::size_t>(mParameters.GetGrabBuffers()));
        Log(3, "Camera::Open: INFO *5*: mDevice->OpenDataStream completed, port: %d\n", portNo);
        SetImageSize(size);
        mIsOpen = true;
        Log(2, "Camera::Open: leaving, port=%d\n", portNo);
        return true;
    } catch (const std::exception& e) {
        Log(1, "Camera::Open: EXCEPTION catch...throw again, port %d: %s\n", portNo, e.what());
        mPort = -1;
        CleanupOnClose();
        throw;
    } catch (...) {
        Log(1, "Camera::Open: EXCEPTION catch...throw again, port %d\n", portNo);
        mPort = -1;
        CleanupOnClose();
        throw;
    }
}

void Camera::ApplyLogSettings()
{
    // The camera opened last decides the thresholds of the whole driver.
    DriverContext& context = DriverContext::Instance();
    context.mLogLevel = mParameters.GetLogLevel();
    context.mLogIntoFile = mParameters.GetLogIntoFile();
    context.mDebugViewOutput = mParameters.GetDebugViewOutput();
}

void Camera::SetImageSize(int* size)
{
    mHeight = ImageSide(mParameters, "Height");
    mWidth = ImageSide(mParameters, "Width");
    if (size != nullptr) {
        size[0] = mWidth;
        size[1] = mHeight;
    }
    // Only Mono8 can be delivered: a camera that stayed in another format cannot open.
    const std::uint32_t format = mDevice->GetGrabPixelFormat();
    if (format != Kavrix::PixelFormatMono8) {
        char text[96];
        std::snprintf(text, sizeof text, "Camera::Open: the camera cannot deliver Mono8 images (pixel format 0x%08X)",
                      static_cast<unsigned>(format));
        throw Kavrix::CameraError(text);
    }
    // Each image is the start of a grab buffer, which may hold more (chunks, padding).
    const std::int64_t imageSize = std::int64_t{mInfo.IsColor() ? 3 : 1} * mWidth * mHeight;
    const std::size_t grabSize = mDevice->GetGrabBufferSize();
    if (imageSize <= 0 || static_cast<std::uint64_t>(imageSize) > grabSize) {
        throw Kavrix::CameraError("Camera::Open: image size " + std::to_string(imageSize) +
                                  " bytes exceeds the grab buffer size " + std::to_string(grabSize) + " bytes");
    }
    mImageBuffer = std::make_unique<ImageBuffer>(mInfo.IsColor(), mWidth, mHeight);
}

bool Camera::LoadSettings()
{
    mDevice->ApplyConfiguration(mParameters);
    // Between writing and reading back, so the read-back sees the result.
    PutCameraIntoMono8();
    mDevice->UpdateConfiguration(mParameters);
    return true;
}

void Camera::PutCameraIntoMono8()
{
    auto* format = dynamic_cast<GenApi::IEnumeration*>(mDevice->GetNodeMap()._GetNode("PixelFormat"));
    if (format == nullptr) {
        return;
    }
    std::string current = "(unknown)";
    try {
        current = format->ToString().str();
        if (current == "Mono8") {
            return;
        }
        GenApi::IEnumEntry* mono8 = format->GetEntryByName("Mono8");
        if (mono8 != nullptr && GenApi::IsAvailable(mono8->GetNode()->GetAccessMode())) {
            format->SetIntValue(mono8->GetValue());
            Log(1, "Camera::Open: WARNING: camera pixel format %s changed to Mono8, port: %d\n", current.c_str(),
                mPort.load());
            return;
        }
    } catch (const GenICam::GenericException&) {
        // Refused or unreadable: reported below, and the open goes on.
    }
    Log(1, "Camera::Open: WARNING: camera cannot deliver images in format %s, port: %d\n", current.c_str(),
        mPort.load());
}

bool Camera::CloseFromHost()
{
    if (HostCallbackScope::IsActive(HostCallbackScope::Kind::Debug)) {
        Log(1, "closeCVLPort: ERROR: called from inside a driver callback\n");
        return false;
    }
    Close();
    return true;
}

bool Camera::Reset()
{
    if (HostCallbackScope::IsActive(HostCallbackScope::Kind::Debug)) {
        Log(1, "closeCVLPort: ERROR: called from inside a driver callback\n");
        return false;
    }
    // The port stays bound through the reopen, so no other camera takes it meanwhile.
    const int port = mPort;
    Shutdown(false);
    int size[2] = {0, 0};
    return Open(port, size);
}

void Camera::Close()
{
    Shutdown(true);
}

void Camera::Shutdown(bool unbind)
{
    Log(2, "Camera::Close: entering\n");
    if (!mIsOpen) {
        Log(1, "Camera::Close: WARNING: called on already closed camera\n");
    }
    {
        Control control(*this);
        // From here on no grab starts, not even one the host asked for from its callback.
        mClosing = true;
        StopGrabbing(control);
        // Still registered after a failed stop, whatever the state says: the
        // stream goes away below.
        if (mWaitThread.IsWaiting(this)) {
            mWaitThread.RemoveWaitCamera(this);
        }
        std::lock_guard<std::mutex> state(mStateLock);
        mGrabbing = false;
        ++mAcquisition;
        mStopping = false;
        mSingleTaken = false;
        mGrabRequested = false;
        mStopPending = false;
    }
    // Without the camera's lock: the delivery may call the host, which may
    // call back into this camera.
    WaitForDelivery();
    int port = -1;
    {
        Control control(*this);
        port = mPort;
        if (unbind) {
            mPort = -1;
        }
        mIsOpen = false;
        CleanupOnClose();
        mClosing = false;
    }
    Log(2, "Camera::Close: leaving on port %d\n", port);
}

void Camera::CleanupOnClose()
{
    Log(2, "Camera::CleanupOnClose: entering\n");
    mIsOpen = false;
    try {
        mDevice->Close();
        mImageBuffer.reset();
    } catch (...) {
        Log(1, "Camera::CleanupOnClose: WARNING: exception point1 caught\n");
    }
    Log(2, "Camera::CleanupOnClose: leaving\n");
}
