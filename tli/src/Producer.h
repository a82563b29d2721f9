// The producer's whole state behind one lock: the interfaces and cameras,
// the handles given out, faults and call counts, and the configuration.
#pragma once

#include "Camera.h"
#include "FaultTable.h"
#include "HandleTable.h"
#include "Interface.h"
#include "camsim/Setup.h"
#include "Stream.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace Tli {

struct LibraryRecord {};

struct InterfaceRecord {
    TL_HANDLE mLibrary;
    std::shared_ptr<Interface> mInterface;
};

struct DeviceRecord {
    IF_HANDLE mInterfaceHandle;
    std::shared_ptr<Camera> mCamera;
    std::int32_t mAccess;
};

struct StreamRecord {
    DEV_HANDLE mDevice;
    std::shared_ptr<Camera> mCamera;
    std::shared_ptr<Stream> mStream;
};

struct EventRecord {
    DS_HANDLE mStream;
};

// Joins threads a call stopped; a thread that cannot be joined is left to
// end on its own rather than ending the process.
void JoinThreads(std::vector<std::thread>& threads) noexcept;

class Producer {
public:
    // Made on first use (the library makes it when it is loaded) and never
    // destroyed: a host may unload the library while it is still in use,
    // and the process may end with cameras running.
    static Producer& Instance();

    std::mutex& GetMutex() { return mMutex; }
    FaultTable& Faults() { return mFaults; }

    // Back to the configured set; false when the configuration was refused.
    bool Reset();
    // The file later resets read; none: the one the environment names.
    void SetConfigPath(std::optional<std::string> path) { mConfigPath = std::move(path); }
    const std::string& GetConfigError() const { return mConfigError; }

    const std::vector<std::shared_ptr<Interface>>& Interfaces() const { return mInterfaces; }
    std::shared_ptr<Interface> FindInterface(const std::string& name) const;
    // The first camera of that name in enumeration order, or null.
    std::shared_ptr<Camera> FindCamera(const std::string& name) const;
    GC_ERROR AddInterface(const std::string& name, std::uint32_t mtu = DefaultMtu);
    GC_ERROR RemoveInterface(const std::string& name);
    // An empty name or serial is derived from model and position.
    GC_ERROR AddCamera(Interface& iface, const CamSim::DeviceSetup& setup);
    GC_ERROR RemoveCamera(const std::string& name);

    TL_HANDLE OpenLibrary() { return mLibraries.Add(LibraryRecord{}); }
    bool IsLibrary(TL_HANDLE handle) { return mLibraries.Find(handle) != nullptr; }
    IF_HANDLE OpenInterface(TL_HANDLE library, std::shared_ptr<Interface> iface);
    InterfaceRecord* FindInterfaceHandle(IF_HANDLE handle) { return mInterfaceHandles.Find(handle); }
    DEV_HANDLE OpenDevice(IF_HANDLE ifaceHandle, std::shared_ptr<Camera> camera, std::int32_t access);
    DeviceRecord* FindDeviceHandle(DEV_HANDLE handle) { return mDeviceHandles.Find(handle); }
    // The camera's stream, made for the device handle.
    DS_HANDLE OpenStream(DEV_HANDLE device, const std::shared_ptr<Camera>& camera);
    StreamRecord* FindStreamHandle(DS_HANDLE handle) { return mStreamHandles.Find(handle); }
    EVENT_HANDLE OpenEvent(DS_HANDLE stream) { return mEventHandles.Add(EventRecord{stream}); }
    EventRecord* FindEventHandle(EVENT_HANDLE handle) { return mEventHandles.Find(handle); }
    void CloseEvent(EVENT_HANDLE handle);

    // Closing a handle closes what was opened through it.
    void CloseLibrary(TL_HANDLE handle);
    void CloseInterface(IF_HANDLE handle);
    void CloseDevice(DEV_HANDLE handle);
    void CloseStream(DS_HANDLE handle);

    // A stopped frame thread, to be joined once the lock is released.
    void Retire(std::optional<std::thread> thread);
    std::vector<std::thread> TakeRetiredThreads() { return std::move(mRetired); }
    // A frame thread to wake once the lock is released, so that it does not
    // wake only to wait for the lock the caller still holds.
    void WakeAfterUnlock(std::shared_ptr<Stream> stream);
    std::shared_ptr<Stream> TakeWake() { return std::move(mWake); }

private:
    Producer();
    void Build(const CamSim::Setup& setup);

    std::mutex mMutex;
    FaultTable mFaults;
    std::optional<std::string> mConfigPath;
    std::string mConfigError;
    std::vector<std::shared_ptr<Interface>> mInterfaces;
    std::uint32_t mInterfacesAdded = 0;
    std::uint32_t mCamerasAdded = 0;
    HandleTable<LibraryRecord> mLibraries;
    HandleTable<InterfaceRecord> mInterfaceHandles;
    HandleTable<DeviceRecord> mDeviceHandles;
    HandleTable<StreamRecord> mStreamHandles;
    HandleTable<EventRecord> mEventHandles;
    std::vector<std::thread> mRetired;
    std::shared_ptr<Stream> mWake;
};

}
