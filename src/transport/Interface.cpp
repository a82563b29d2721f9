#include "transport/Interface.h"

#include "diag/DriverContext.h"
#include "transport/CameraError.h"
#include "transport/Counts.h"
#include "transport/ProducerText.h"

namespace Kavrix {

Interface::Interface(int index, Library& library) : mIndex(index), mLibrary(library) {}

Interface::~Interface()
{
    if (mHandle == nullptr) {
        return;
    }
    try {
        Close();
    } catch (const std::exception& e) {
        Log(1, "Interface::~Interface: ERROR: %s\n", e.what());
    }
}

void Interface::Open()
{
    if (mHandle != nullptr) {
        throw CameraError("Interface allready open");
    }
    const ProducerApi& api = mLibrary.Api();
    TL_HANDLE library = mLibrary.GetHandle();
    mName = ReadProducerText("Interface::Open: Failed to get interface name",
        [&](char* buffer, std::size_t* size) {
            return api.TLGetInterfaceName(library, static_cast<std::uint32_t>(mIndex), buffer, size);
        });
    IF_HANDLE handle = nullptr;
    CheckGCError(api.TLOpenInterface(library, mName.c_str(), &handle), "Interface::Open: Failed to open interface");
    mHandle = handle;
}

void Interface::Close()
{
    if (mHandle == nullptr) {
        throw CameraError("Interface does not open");
    }
    CheckGCError(mLibrary.Api().TLCloseInterface(mHandle), "Interface::Close: Failed close interface");
    mHandle = nullptr;
}

int Interface::GetDeviceCount()
{
    if (mHandle == nullptr) {
        return 0;
    }
    std::uint32_t count = 0;
    CheckGCError(mLibrary.Api().TLGetNumDevices(mHandle, &count),
                 "Interface::GetDeviceCount: Failed to get device count");
    return ToCount(count);
}

IF_HANDLE Interface::GetHandle() const
{
    if (mHandle == nullptr) {
        throw CameraError("Interface does not open");
    }
    return mHandle;
}

}
