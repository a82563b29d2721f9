// The library and interface operations: interfaces, discovery, opening a camera.
#include "common/Texts.h"
#include "producer/Call.h"
#include "producer/TextOut.h"

#include <algorithm>

using namespace Gige;

namespace {

// The interface's cameras, discovered at its first use and kept unchanged
// while the handle is open.
const std::vector<DiscoveredCamera>& Cameras(InterfaceRecord& record)
{
    const std::lock_guard<std::mutex> guard(record.mMutex);
    if (!record.mCameras) {
        std::vector<DiscoveredCamera> found;
        record.mLibrary->Discover(record.mInterface, found, record.mDiscoveryError);
        record.mCameras = std::move(found);
    }
    return *record.mCameras;
}

Status UnknownCamera(const InterfaceRecord& record, const std::string& name,
                     const std::vector<DiscoveredCamera>& cameras)
{
    std::string text = "no camera named \"" + name + "\" on " + record.mInterface.mName;
    if (!record.mDiscoveryError.empty())
        text += " (" + record.mDiscoveryError + ")";
    if (cameras.empty()) {
        text += ": discovery found none there";
    } else {
        text += "; it lists ";
        for (std::size_t i = 0; i < cameras.size(); ++i)
            text += (i == 0 ? "\"" : ", \"") + cameras[i].mName + "\"";
    }
    return Status::Failure(GC_ERR_INVALID_ID, text);
}

}

GC_ERROR TLOpen(TL_HANDLE* phTL)
{
    return Call("TLOpen", [&](Producer& producer) -> Status {
        if (phTL == nullptr)
            return MissingArgument("handle pointer");
        auto library = std::make_shared<Library>(Settings::FromEnvironment());
        const Status status = library->Refresh();
        if (!status.Ok())
            return status;
        *phTL = producer.AddLibrary(std::move(library));
        return status;
    });
}

GC_ERROR TLClose(TL_HANDLE hTL)
{
    return Call("TLClose", [&](Producer& producer) -> Status {
        return producer.CloseLibrary(hTL) ? Status::Success() : NotOpen("library");
    });
}

GC_ERROR TLGetNumInterfaces(TL_HANDLE hTL, uint32_t* piNumIfaces)
{
    return Call("TLGetNumInterfaces", [&](Producer& producer) -> Status {
        const auto library = producer.FindLibrary(hTL);
        if (!library)
            return NotOpen("library");
        if (piNumIfaces == nullptr)
            return MissingArgument("count pointer");
        const Status status = library->Refresh();
        if (status.Ok())
            *piNumIfaces = static_cast<uint32_t>(library->Interfaces().size());
        return status;
    });
}

GC_ERROR TLGetInterfaceName(TL_HANDLE hTL, uint32_t iIndex, char* sName, size_t* piSize)
{
    return Call("TLGetInterfaceName", [&](Producer& producer) -> Status {
        const auto library = producer.FindLibrary(hTL);
        if (!library)
            return NotOpen("library");
        const auto interfaces = library->Interfaces();
        if (iIndex >= interfaces.size())
            return Status::Failure(GC_ERR_INVALID_PARAMETER, "interface " + std::to_string(iIndex) + " of " +
                                                                 std::to_string(interfaces.size()));
        return CopyText(interfaces[iIndex].mName, sName, piSize);
    });
}

GC_ERROR TLOpenInterface(TL_HANDLE hTL, const char* sIfaceName, IF_HANDLE* phIface)
{
    return Call("TLOpenInterface", [&](Producer& producer) -> Status {
        const auto library = producer.FindLibrary(hTL);
        if (!library)
            return NotOpen("library");
        if (sIfaceName == nullptr || phIface == nullptr)
            return MissingArgument("name or handle pointer");
        const auto iface = library->FindInterface(sIfaceName);
        if (!iface)
            return Status::Failure(GC_ERR_INVALID_ID, std::string("no interface named \"") + sIfaceName + "\"");
        auto record = std::make_shared<InterfaceRecord>();
        record->mLibraryHandle = hTL;
        record->mLibrary = library;
        record->mInterface = *iface;
        *phIface = producer.AddInterface(std::move(record));
        return Status::Success();
    });
}

GC_ERROR TLCloseInterface(IF_HANDLE hIface)
{
    return Call("TLCloseInterface", [&](Producer& producer) -> Status {
        return producer.CloseInterface(hIface) ? Status::Success() : NotOpen("interface");
    });
}

GC_ERROR TLGetNumDevices(IF_HANDLE hIface, uint32_t* piNumDevices)
{
    return Call("TLGetNumDevices", [&](Producer& producer) -> Status {
        const auto record = producer.FindInterface(hIface);
        if (!record)
            return NotOpen("interface");
        if (piNumDevices == nullptr)
            return MissingArgument("count pointer");
        *piNumDevices = static_cast<uint32_t>(Cameras(*record).size());
        return Status::Success();
    });
}

GC_ERROR TLGetDeviceName(IF_HANDLE hIface, uint32_t iIndex, char* sName, size_t* piSize)
{
    return Call("TLGetDeviceName", [&](Producer& producer) -> Status {
        const auto record = producer.FindInterface(hIface);
        if (!record)
            return NotOpen("interface");
        const std::vector<DiscoveredCamera>& cameras = Cameras(*record);
        if (iIndex >= cameras.size())
            return Status::Failure(GC_ERR_INVALID_PARAMETER, "camera " + std::to_string(iIndex) + " of " +
                                                                 std::to_string(cameras.size()) + " on " +
                                                                 record->mInterface.mName);
        return CopyText(cameras[iIndex].mName, sName, piSize);
    });
}

GC_ERROR TLOpenDevice(IF_HANDLE hIface, const char* sDeviceName, int32_t iOpenFlags, DEV_HANDLE* phDevice)
{
    return Call("TLOpenDevice", [&](Producer& producer) -> Status {
        const auto iface = producer.FindInterface(hIface);
        if (!iface)
            return NotOpen("interface");
        if (sDeviceName == nullptr || phDevice == nullptr)
            return MissingArgument("name or handle pointer");
        if (iOpenFlags != DEVICE_ACCESS_EXCLUSIVE && iOpenFlags != DEVICE_ACCESS_CONTROL &&
            iOpenFlags != DEVICE_ACCESS_READONLY)
            return Status::Failure(GC_ERR_INVALID_PARAMETER, "unknown access " + std::to_string(iOpenFlags));
        const std::vector<DiscoveredCamera>& cameras = Cameras(*iface);
        const std::string name = sDeviceName;
        const auto camera = std::find_if(cameras.begin(), cameras.end(),
                                         [&](const DiscoveredCamera& c) { return c.mName == name; });
        if (camera == cameras.end())
            return UnknownCamera(*iface, name, cameras);
        const std::string cameraText = camera->mName + " (" + FormatIp(camera->mInfo.mIp) + ")";
        if (!camera->mUnreachable.empty())
            return Status::Failure(GC_ERR_ACCESS_DENIED, cameraText + ": cannot be opened: " + camera->mUnreachable);

        auto record = std::make_shared<DeviceRecord>();
        record->mInterfaceHandle = hIface;
        record->mCamera = *camera;
        record->mStreamOptions = iface->mLibrary->GetStreamOptions();
        record->mStreamOptions.mLink = producer.Links().For(iface->mInterface.mAdapter, iface->mInterface.mLinkSpeed);
        auto control = std::make_unique<CameraControl>(iface->mInterface, camera->Address(), cameraText,
                                                       iface->mLibrary->GetSettings());
        DeviceRecord* lost = record.get();
        const Status status = control->Open(iOpenFlags, [lost] { lost->OnLost(); });
        if (!status.Ok())
            return status;
        record->mControl = std::move(control);
        *phDevice = producer.AddDevice(std::move(record));
        return status;
    });
}
