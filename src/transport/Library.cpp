#include "transport/Library.h"

#include "diag/DriverContext.h"
#include "transport/CameraError.h"
#include "transport/Counts.h"

namespace Kavrix {

Library::~Library()
{
    if (mHandle == nullptr) {
        return;
    }
    try {
        Close();
    } catch (const std::exception& e) {
        Log(1, "Library::~Library: ERROR: %s\n", e.what());
    }
}

void Library::Open()
{
    if (mHandle != nullptr) {
        throw CameraError("Camera allready open");
    }
    mModule.Load();
    TL_HANDLE handle = nullptr;
    CheckGCError(Api().TLOpen(&handle), "Library::Open: Failed open TL");
    mHandle = handle;
}

void Library::Close()
{
    if (mHandle == nullptr) {
        throw CameraError("Camera is not opened");
    }
    CheckGCError(Api().TLClose(mHandle), "Library::Close: Failed to close TL");
    mHandle = nullptr;
}

int Library::GetInterfaceCount()
{
    if (mHandle == nullptr) {
        throw CameraError("Camera is not opened");
    }
    std::uint32_t count = 0;
    CheckGCError(Api().TLGetNumInterfaces(mHandle, &count),
                 "Lirary::GetInterfaceCount: Failed to get interface count");
    return ToCount(count);
}

TL_HANDLE Library::GetHandle() const
{
    if (mHandle == nullptr) {
        throw CameraError("Camera is not opened");
    }
    return mHandle;
}

}
