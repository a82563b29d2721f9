#include "Producer.h"

#include "camsim/Names.h"
#include "TLIControl.h"

#include <cstdlib>

namespace Tli {

namespace {

// 192.168.10.1, 192.168.20.1, ... for interfaces whose names carry no address.
std::uint32_t HostAddress(std::uint32_t ordinal)
{
    return (192u << 24) | (168u << 16) | ((10u + (10u * ordinal) % 240u) << 8) | 1u;
}

// Reading the configuration when the library is loaded, not at the first
// call, so what a test or host sees from its first call on is the set the
// environment named when it started.
const struct LoadAtStart {
    LoadAtStart()
    {
        // Nothing may escape while the library loads; a failure here shows
        // again at the first call.
        try {
            Producer::Instance();
        } catch (...) {
        }
    }
} loadAtStart;

}

Producer& Producer::Instance()
{
    static Producer* const instance = new Producer();
    return *instance;
}

Producer::Producer()
{
    Reset();
}

bool Producer::Reset()
{
    for (DS_HANDLE stream : mStreamHandles.Select([](const StreamRecord&) { return true; }))
        CloseStream(stream);
    mLibraries.Clear();
    mInterfaceHandles.Clear();
    mDeviceHandles.Clear();
    mFaults.Clear();
    std::string path;
    if (mConfigPath) {
        path = *mConfigPath;
    } else if (const char* variable = std::getenv(TLICTL_CONFIG_VARIABLE)) {
        path = variable;
    }
    try {
        Build(CamSim::LoadSetup(path, mConfigError));
    } catch (const std::exception& error) {
        mInterfaces.clear();
        mConfigError = std::string("the cameras cannot be made: ") + error.what();
    }
    return mConfigError.empty();
}

void Producer::Build(const CamSim::Setup& setup)
{
    for (const auto& iface : mInterfaces)
        iface->MarkRemoved();
    mInterfaces.clear();
    mInterfacesAdded = 0;
    mCamerasAdded = 0;
    for (const CamSim::InterfaceSetup& ifaceSetup : setup.mInterfaces) {
        AddInterface(ifaceSetup.mName, ifaceSetup.mMtu);
        for (const CamSim::DeviceSetup& device : ifaceSetup.mDevices)
            AddCamera(*mInterfaces.back(), device);
    }
}

std::shared_ptr<Interface> Producer::FindInterface(const std::string& name) const
{
    for (const auto& iface : mInterfaces)
        if (iface->GetName() == name)
            return iface;
    return nullptr;
}

std::shared_ptr<Camera> Producer::FindCamera(const std::string& name) const
{
    for (const auto& iface : mInterfaces)
        if (auto camera = iface->FindCamera(name))
            return camera;
    return nullptr;
}

GC_ERROR Producer::AddInterface(const std::string& name, std::uint32_t mtu)
{
    if (!CamSim::IsValidInterfaceName(name))
        return GC_ERR_INVALID_PARAMETER;
    if (FindInterface(name))
        return GC_ERR_INVALID_ID;
    const std::uint32_t ordinal = mInterfacesAdded++;
    mInterfaces.push_back(
        std::make_shared<Interface>(name, CamSim::FindIpAddress(name).value_or(HostAddress(ordinal)), mtu));
    return GC_ERR_SUCCESS;
}

GC_ERROR Producer::RemoveInterface(const std::string& name)
{
    for (auto it = mInterfaces.begin(); it != mInterfaces.end(); ++it) {
        if ((*it)->GetName() == name) {
            (*it)->MarkRemoved();
            mInterfaces.erase(it);
            return GC_ERR_SUCCESS;
        }
    }
    return GC_ERR_INVALID_ID;
}

GC_ERROR Producer::AddCamera(Interface& iface, const CamSim::DeviceSetup& setup)
{
    const CamSim::CameraModel* model = CamSim::FindModel(setup.mModel);
    if (model == nullptr)
        return GC_ERR_INVALID_ID;
    CamSim::DeviceIdentity identity = CamSim::IdentityOf(setup, *model, mCamerasAdded);
    if (!CamSim::IsValidDeviceName(identity.mName))
        return GC_ERR_INVALID_PARAMETER;
    auto camera = std::make_shared<Camera>(*model, std::move(identity.mName), identity.mSerial,
                                           iface.NextCameraAddress(), setup.mDescription);
    camera->SetPrivilegeOnOpen(setup.mPrivilege);
    camera->SetUnpaced(setup.mUnpaced);
    if (setup.mPacketSize)
        camera->Registers().SetInteger("GevSCPSPacketSizeBits", *setup.mPacketSize);
    ++mCamerasAdded;
    iface.Cameras().push_back(std::move(camera));
    return GC_ERR_SUCCESS;
}

GC_ERROR Producer::RemoveCamera(const std::string& name)
{
    for (const auto& iface : mInterfaces) {
        auto& cameras = iface->Cameras();
        for (auto it = cameras.begin(); it != cameras.end(); ++it) {
            if ((*it)->GetName() == name) {
                (*it)->MarkRemoved();
                cameras.erase(it);
                return GC_ERR_SUCCESS;
            }
        }
    }
    return GC_ERR_INVALID_ID;
}

IF_HANDLE Producer::OpenInterface(TL_HANDLE library, std::shared_ptr<Interface> iface)
{
    return mInterfaceHandles.Add(InterfaceRecord{library, std::move(iface)});
}

DEV_HANDLE Producer::OpenDevice(IF_HANDLE ifaceHandle, std::shared_ptr<Camera> camera, std::int32_t access)
{
    Camera& opened = *camera;
    DEV_HANDLE handle = mDeviceHandles.Add(DeviceRecord{ifaceHandle, std::move(camera), access});
    opened.Open(handle, access);
    return handle;
}

void Producer::CloseLibrary(TL_HANDLE handle)
{
    for (IF_HANDLE iface : mInterfaceHandles.Select([&](const InterfaceRecord& r) { return r.mLibrary == handle; }))
        CloseInterface(iface);
    mLibraries.Remove(handle);
}

void Producer::CloseInterface(IF_HANDLE handle)
{
    for (DEV_HANDLE device : mDeviceHandles.Select([&](const DeviceRecord& r) { return r.mInterfaceHandle == handle; }))
        CloseDevice(device);
    mInterfaceHandles.Remove(handle);
}

void Producer::CloseDevice(DEV_HANDLE handle)
{
    for (DS_HANDLE stream : mStreamHandles.Select([&](const StreamRecord& r) { return r.mDevice == handle; }))
        CloseStream(stream);
    if (DeviceRecord* record = mDeviceHandles.Find(handle)) {
        if (record->mCamera->GetOpenHandle() == handle)
            record->mCamera->Close();
        mDeviceHandles.Remove(handle);
    }
}

}

namespace Tli {

DS_HANDLE Producer::OpenStream(DEV_HANDLE device, const std::shared_ptr<Camera>& camera)
{
    auto stream = std::make_shared<Stream>(camera);
    camera->SetStream(stream.get());
    return mStreamHandles.Add(StreamRecord{device, camera, std::move(stream)});
}

void Producer::CloseEvent(EVENT_HANDLE handle)
{
    if (EventRecord* record = mEventHandles.Find(handle)) {
        if (StreamRecord* stream = mStreamHandles.Find(record->mStream))
            stream->mStream->UnregisterEvent();
        mEventHandles.Remove(handle);
    }
}

void Producer::CloseStream(DS_HANDLE handle)
{
    for (EVENT_HANDLE event : mEventHandles.Select([&](const EventRecord& r) { return r.mStream == handle; }))
        CloseEvent(event);
    if (StreamRecord* record = mStreamHandles.Find(handle)) {
        Retire(record->mStream->Stop());
        if (record->mCamera->GetStream() == record->mStream.get())
            record->mCamera->SetStream(nullptr);
        mStreamHandles.Remove(handle);
    }
}

void Producer::Retire(std::optional<std::thread> thread)
{
    if (thread)
        mRetired.push_back(std::move(*thread));
}

void JoinThreads(std::vector<std::thread>& threads) noexcept
{
    for (std::thread& thread : threads) {
        try {
            thread.join();
        } catch (...) {
            thread.detach();
        }
    }
}

void Producer::WakeAfterUnlock(std::shared_ptr<Stream> stream)
{
    // One call wakes one stream; should a second come, the first is woken now.
    if (mWake && mWake != stream)
        mWake->Wake();
    mWake = std::move(stream);
}

}
