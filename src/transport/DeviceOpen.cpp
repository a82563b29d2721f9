// Opening and closing a device, and taking control of the camera.
#include "diag/DriverContext.h"
#include "transport/CameraError.h"
#include "transport/Device.h"

#include <exception>
#include <new>
#include <string>

namespace Kavrix {

namespace {

// GigE Vision control channel privilege register: 4 bytes, big-endian.
constexpr std::uint64_t ControlChannelPrivilege = 0x0A00;
constexpr std::uint32_t ExclusiveAccess = 1;
constexpr std::uint32_t ControlAccess = 2;
// Cameras keep switchover and key bits beside the privilege.
constexpr std::uint32_t PrivilegeBits = 0x3;

std::uint32_t FromBigEndian(const unsigned char bytes[4])
{
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
           std::uint32_t{bytes[3]};
}

}

void Device::Open()
{
    if (mHandle != nullptr) {
        throw CameraError("Device::Open: exception: Device already open");
    }
    // By the name the camera was listed with: the producer's list moves up
    // when a camera before it is unplugged, and an unplugged camera is not
    // found at all.
    DEV_HANDLE handle = nullptr;
    const GC_ERROR code = Api().TLOpenDevice(mInterface->GetHandle(), mName.c_str(), DEVICE_ACCESS_EXCLUSIVE, &handle);
    if (code != GC_ERR_SUCCESS) {
        const std::string gone = code == GC_ERR_INVALID_ID ? ": the producer does not list it (unplugged?)" : "";
        throw CameraError("Device::Open: Exception: Failed to open device '" + mName + "'" + gone, code);
    }
    mHandle = handle;
    // From here on a failure leaves what is open in place; Close releases it.
    GetControlPrivilege();
    mPort = std::make_shared<_CCameraPort>(mHandle, Api());
    LoadXml();
    try {
        mDataStream = std::make_unique<DataStream>(*this);
    } catch (const std::bad_alloc&) {
        throw CameraError("Device::Open: exception: Could not allocate DataStream()");
    }
    Log(3, "Device::Open INFO: completed and exiting");
}

void Device::GetControlPrivilege()
{
    unsigned char value[4] = {};
    std::size_t size = sizeof(value);
    CheckGCError(Api().GCReadData(GetHandle(), ControlChannelPrivilege, value, &size),
                 "Device::GetControlPrivilege: Camera is locked by other application. Failed to read GIGE_CCP register");
    // Fewer bytes would leave part of the value unread: no privilege can be told from it.
    if (size != sizeof(value)) {
        throw CameraError("Device::GetControlPrivilege: Failed to read GIGE_CCP register - the camera answered " +
                          std::to_string(size) + " of 4 bytes");
    }
    switch (FromBigEndian(value) & PrivilegeBits) {
    case ExclusiveAccess:
        return;
    case ControlAccess: {
        const unsigned char control[4] = {0, 0, 0, ControlAccess};
        size = sizeof(control);
        CheckGCError(Api().GCWriteData(mHandle, ControlChannelPrivilege, control, &size),
                     "Device::GetControlPrivilege: Failed to get camera control");
        if (size != sizeof(control)) {
            throw CameraError("Device::GetControlPrivilege: Failed to get camera control - the camera took " +
                              std::to_string(size) + " of 4 bytes");
        }
        return;
    }
    default:
        throw CameraError("Device::GetControlPrivilege: Failed to get camera control - unknown privilege");
    }
}

void Device::Close()
{
    if (mHandle == nullptr) {
        return;
    }
    // Once the camera is lost, what is written to it fails; the stream and
    // the device are released all the same, or no later open could take the
    // camera back, and the first such failure is reported once they are.
    // Otherwise a failed write leaves them open: the next open closes them
    // again and so unlocks the camera's transport parameters.
    const bool lost = mDataStream && mDataStream->IsDeviceLost();
    std::exception_ptr cameraFailure;
    const auto tellCamera = [lost, &cameraFailure](const auto& write) {
        try {
            write();
        } catch (...) {
            if (!lost) {
                throw;
            }
            if (!cameraFailure) {
                cameraFailure = std::current_exception();
            }
        }
    };
    if (mAcquisitionStarted) {
        tellCamera([this] { StopAcquisition(); });
    }
    if (mDataStream) {
        if (mDataStream->NeedsStop()) {
            mDataStream->StopAcquisition();
        }
        tellCamera([this] {
            if (GenApi::IInteger* locked = GetTLParamsLocked()) {
                locked->SetValue(0);
            }
        });
        mDataStream->Destroy();
        mDataStream.reset();
    }
    CheckGCError(Api().DevClose(mHandle), "Device::Close: Failed to close device");
    mHandle = nullptr;
    if (cameraFailure) {
        std::rethrow_exception(cameraFailure);
    }
}

}
