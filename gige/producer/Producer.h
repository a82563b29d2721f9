// The producer's handles: every library, interface, device, stream and
// event handle it has given out, behind one lock that is held only to find,
// add or take out a record, never across network traffic. Closing a handle
// closes what was opened through it.
#pragma once

#include "common/HostInterface.h"
#include "control/CameraControl.h"
#include "discovery/DiscoveredCamera.h"
#include "producer/HandleTable.h"
#include "producer/Library.h"
#include "stream/Stream.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace Gige {

struct InterfaceRecord {
    TL_HANDLE mLibraryHandle;
    std::shared_ptr<Library> mLibrary;
    HostInterface mInterface;
    // The interface's cameras, from its first count of devices on.
    std::mutex mMutex;
    std::optional<std::vector<DiscoveredCamera>> mCameras;
    std::string mDiscoveryError;
};

struct DeviceRecord {
    IF_HANDLE mInterfaceHandle;
    DiscoveredCamera mCamera;
    // Its library's, for its stream.
    StreamOptions mStreamOptions;
    // The stream the device tells when the camera is lost.
    std::mutex mStreamMutex;
    Stream* mStream = nullptr;
    // Last: it ends (and its heartbeat with it) before the rest.
    std::unique_ptr<CameraControl> mControl;

    // Runs on the heartbeat's thread.
    void OnLost();
};

struct StreamRecord {
    DEV_HANDLE mDeviceHandle;
    // The stream uses the device's control side until it ends.
    std::shared_ptr<DeviceRecord> mDevice;
    std::unique_ptr<Stream> mStream;
    // Ends the stream (its receiver, the camera's destination) first.
    ~StreamRecord();
};

struct EventRecord {
    DS_HANDLE mStreamHandle;
    std::shared_ptr<StreamRecord> mStream;
};

class Producer {
public:
    // Made on first use and never destroyed: a host may unload the library
    // with handles still open, and joining their threads while a library
    // unloads can hang the process.
    static Producer& Instance();

    TL_HANDLE AddLibrary(std::shared_ptr<Library> library);
    std::shared_ptr<Library> FindLibrary(TL_HANDLE handle);
    IF_HANDLE AddInterface(std::shared_ptr<InterfaceRecord> record);
    std::shared_ptr<InterfaceRecord> FindInterface(IF_HANDLE handle);
    DEV_HANDLE AddDevice(std::shared_ptr<DeviceRecord> record);
    std::shared_ptr<DeviceRecord> FindDevice(DEV_HANDLE handle);
    // Null when the device already has a stream; the record then stays
    // with the caller, so that it ends after the lock is released.
    DS_HANDLE AddStream(std::shared_ptr<StreamRecord>& record);
    std::shared_ptr<StreamRecord> FindStream(DS_HANDLE handle);
    EVENT_HANDLE AddEvent(std::shared_ptr<EventRecord> record);
    std::shared_ptr<EventRecord> FindEvent(EVENT_HANDLE handle);

    // False for a handle not open. What closes waits for what it ends
    // (requests in flight, threads) after the lock is released.
    bool CloseLibrary(TL_HANDLE handle);
    bool CloseInterface(IF_HANDLE handle);
    bool CloseDevice(DEV_HANDLE handle);
    bool CloseStream(DS_HANDLE handle);
    bool CloseEvent(EVENT_HANDLE handle);

private:
    Producer() = default;

    // Under the lock: takes the records out of the tables, children first.
    struct Closing;
    void TakeInterface(IF_HANDLE handle, Closing& closing);
    void TakeDevice(DEV_HANDLE handle, Closing& closing);
    void TakeStream(DS_HANDLE handle, Closing& closing);

    std::mutex mMutex;
    HandleTable<Library> mLibraries;
    HandleTable<InterfaceRecord> mInterfaces;
    HandleTable<DeviceRecord> mDevices;
    HandleTable<StreamRecord> mStreams;
    HandleTable<EventRecord> mEvents;
};

}
