#include "producer/Producer.h"

namespace Gige {

void DeviceRecord::OnLost()
{
    const std::lock_guard<std::mutex> guard(mStreamMutex);
    if (mStream != nullptr)
        mStream->DeviceLost();
}

StreamRecord::~StreamRecord()
{
    if (mDevice) {
        const std::lock_guard<std::mutex> guard(mDevice->mStreamMutex);
        if (mDevice->mStream == mStream.get())
            mDevice->mStream = nullptr;
    }
    mStream.reset();
}

// What a close took out of the tables, ended in order once the lock is
// released: events, streams, then the devices' control sides.
struct Producer::Closing {
    std::vector<std::shared_ptr<EventRecord>> mEvents;
    std::vector<std::shared_ptr<StreamRecord>> mStreams;
    std::vector<std::shared_ptr<DeviceRecord>> mDevices;
    std::vector<std::shared_ptr<InterfaceRecord>> mInterfaces;

    ~Closing()
    {
        for (const auto& event : mEvents)
            if (event->mStream && event->mStream->mStream)
                event->mStream->mStream->UnregisterEvent();
        mEvents.clear();
        // A stream still in use by another call ends when that call returns.
        mStreams.clear();
        for (const auto& device : mDevices)
            if (device->mControl)
                device->mControl->Close();
    }
};

Producer& Producer::Instance()
{
    static Producer* const instance = new Producer();
    return *instance;
}

TL_HANDLE Producer::AddLibrary(std::shared_ptr<Library> library)
{
    const std::lock_guard<std::mutex> guard(mMutex);
    return mLibraries.Add(std::move(library));
}

std::shared_ptr<Library> Producer::FindLibrary(TL_HANDLE handle)
{
    const std::lock_guard<std::mutex> guard(mMutex);
    return mLibraries.Find(handle);
}

IF_HANDLE Producer::AddInterface(std::shared_ptr<InterfaceRecord> record)
{
    const std::lock_guard<std::mutex> guard(mMutex);
    return mInterfaces.Add(std::move(record));
}

std::shared_ptr<InterfaceRecord> Producer::FindInterface(IF_HANDLE handle)
{
    const std::lock_guard<std::mutex> guard(mMutex);
    return mInterfaces.Find(handle);
}

DEV_HANDLE Producer::AddDevice(std::shared_ptr<DeviceRecord> record)
{
    const std::lock_guard<std::mutex> guard(mMutex);
    return mDevices.Add(std::move(record));
}

std::shared_ptr<DeviceRecord> Producer::FindDevice(DEV_HANDLE handle)
{
    const std::lock_guard<std::mutex> guard(mMutex);
    return mDevices.Find(handle);
}

DS_HANDLE Producer::AddStream(std::shared_ptr<StreamRecord>& record)
{
    const std::lock_guard<std::mutex> guard(mMutex);
    const DEV_HANDLE device = record->mDeviceHandle;
    if (!mStreams.Select([&](const StreamRecord& other) { return other.mDeviceHandle == device; }).empty())
        return nullptr;
    {
        const std::lock_guard<std::mutex> streamGuard(record->mDevice->mStreamMutex);
        record->mDevice->mStream = record->mStream.get();
    }
    return mStreams.Add(std::move(record));
}

std::shared_ptr<StreamRecord> Producer::FindStream(DS_HANDLE handle)
{
    const std::lock_guard<std::mutex> guard(mMutex);
    return mStreams.Find(handle);
}

EVENT_HANDLE Producer::AddEvent(std::shared_ptr<EventRecord> record)
{
    const std::lock_guard<std::mutex> guard(mMutex);
    return mEvents.Add(std::move(record));
}

std::shared_ptr<EventRecord> Producer::FindEvent(EVENT_HANDLE handle)
{
    const std::lock_guard<std::mutex> guard(mMutex);
    return mEvents.Find(handle);
}

void Producer::TakeStream(DS_HANDLE handle, Closing& closing)
{
    for (EVENT_HANDLE event : mEvents.Select([&](const EventRecord& r) { return r.mStreamHandle == handle; }))
        closing.mEvents.push_back(mEvents.Take(event));
    if (auto stream = mStreams.Take(handle))
        closing.mStreams.push_back(std::move(stream));
}

void Producer::TakeDevice(DEV_HANDLE handle, Closing& closing)
{
    for (DS_HANDLE stream : mStreams.Select([&](const StreamRecord& r) { return r.mDeviceHandle == handle; }))
        TakeStream(stream, closing);
    if (auto device = mDevices.Take(handle))
        closing.mDevices.push_back(std::move(device));
}

void Producer::TakeInterface(IF_HANDLE handle, Closing& closing)
{
    for (DEV_HANDLE device : mDevices.Select([&](const DeviceRecord& r) { return r.mInterfaceHandle == handle; }))
        TakeDevice(device, closing);
    if (auto iface = mInterfaces.Take(handle))
        closing.mInterfaces.push_back(std::move(iface));
}

bool Producer::CloseLibrary(TL_HANDLE handle)
{
    Closing closing;
    const std::lock_guard<std::mutex> guard(mMutex);
    if (!mLibraries.Take(handle))
        return false;
    for (IF_HANDLE iface : mInterfaces.Select([&](const InterfaceRecord& r) { return r.mLibraryHandle == handle; }))
        TakeInterface(iface, closing);
    return true;
}

bool Producer::CloseInterface(IF_HANDLE handle)
{
    Closing closing;
    const std::lock_guard<std::mutex> guard(mMutex);
    if (!mInterfaces.Find(handle))
        return false;
    TakeInterface(handle, closing);
    return true;
}

bool Producer::CloseDevice(DEV_HANDLE handle)
{
    Closing closing;
    const std::lock_guard<std::mutex> guard(mMutex);
    if (!mDevices.Find(handle))
        return false;
    TakeDevice(handle, closing);
    return true;
}

bool Producer::CloseStream(DS_HANDLE handle)
{
    Closing closing;
    const std::lock_guard<std::mutex> guard(mMutex);
    if (!mStreams.Find(handle))
        return false;
    TakeStream(handle, closing);
    return true;
}

bool Producer::CloseEvent(EVENT_HANDLE handle)
{
    Closing closing;
    const std::lock_guard<std::mutex> guard(mMutex);
    auto event = mEvents.Take(handle);
    if (!event)
        return false;
    closing.mEvents.push_back(std::move(event));
    return true;
}

}
