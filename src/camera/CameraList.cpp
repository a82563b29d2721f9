#include "camera/CameraList.h"

#include "diag/DeferredLog.h"
#include "diag/DriverContext.h"
#include "diag/Text.h"
#include "transport/Device.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <new>

namespace {

// Read by every export; created once even when the first calls come from two
// host threads at the same time.
std::atomic<CameraList*> sInstance{nullptr};
std::mutex sCreationLock;

}

CameraList* CameraList::GetInstance()
{
    return sInstance.load(std::memory_order_acquire);
}

CameraList* CameraList::Create()
{
    std::lock_guard<std::mutex> lock(sCreationLock);
    CameraList* list = sInstance.load(std::memory_order_relaxed);
    if (list == nullptr) {
        // The constructor allocates too, so a plain new: its failure is a bad_alloc.
        try {
            list = new CameraList();
        } catch (const std::bad_alloc&) {
            Log(1, "CameraList::GetInstance: ERROR: no valid instance\n");
            throw "Err";
        }
        sInstance.store(list, std::memory_order_release);
    }
    return list;
}

void CameraList::Release()
{
    CameraList* list = sInstance.load(std::memory_order_acquire);
    if (list == nullptr) {
        return;
    }
    // A delivery under way still reads its rows through the list; after
    // that, nothing finds the list while it goes.
    list->EndDeliveries();
    sInstance.store(nullptr, std::memory_order_release);
    delete list;
}

CameraList::CameraList() : mWaitThread(std::make_unique<CameraWaitThread>())
{
    mCameras.reserve(20);
    mNames.assign(1, nullptr);
}

CameraList::~CameraList()
{
    Log(2, "CameraList::~CameraList: entering\n");
    Destroy();
    mWaitThread.reset();
    Log(2, "CameraList::~CameraList: leaving\n");
    // The library member closes itself when it is still open.
}

bool CameraList::Init()
{
    Log(2, "CameraList::Init: entering\n");
    int found = 0;
    try {
        mLibrary.Open();
        const int interfaces = mLibrary.GetInterfaceCount();
        Log(2, "CameraList::Init: Interface count: %d\n", interfaces);
        for (int i = 0; i < interfaces; ++i) {
            auto iface = std::make_shared<Kavrix::Interface>(i, mLibrary);
            iface->Open();
            const int devices = iface->GetDeviceCount();
            Log(2, "CameraList::Init: Device count: %d\n", devices);
            for (int d = 0; d < devices; ++d) {
                auto device = std::make_shared<Kavrix::Device>(iface, d);
                const std::string name = device->GetName();
                CameraInfo info;
                info.flags = 1;
                info.name = name;
                std::unique_ptr<Camera> camera;
                try {
                    camera = std::make_unique<Camera>(name.c_str(), info, device, *mWaitThread);
                } catch (const std::bad_alloc&) {
                    Log(1, "CameraList::Init:  ERROR: could not allocate Camera object\n");
                    throw "Err";
                }
                Log(1, "* %s camera found: %s\n", info.IsColor() ? "color" : "b/w", name.c_str());
                mCameras.push_back(std::move(camera));
                ++found;
            }
        }
    } catch (const std::exception& e) {
        Log(1, "CameraList::Init: ERROR: Failed to enumerate cameras: %s\n", e.what());
    }
    BuildNames();
    if (found > 0) {
        Log(2, "CameraList::Init: leaving\n");
        mInitialized = true;
        return true;
    }
    Log(1, "CameraList::Init: WARNING: no supported cameras found\n");
    return false;
}

bool CameraList::IsCameraAvailable(const char* name)
{
    Log(3, "CameraList::IsCameraAvailable:  name=%s\n", Text::OrNull(name));
    if (name == nullptr) {
        return false;
    }
    for (const auto& camera : mCameras) {
        if (camera && camera->GetName() == name) {
            return true;
        }
    }
    return false;
}

Camera* CameraList::GetByName(const char* name)
{
    Log(3, "CameraList::GetByName: entering %s\n", Text::OrNull(name));
    if (name != nullptr) {
        for (const auto& camera : mCameras) {
            if (camera && camera->GetName() == name) {
                Log(3, "CameraList::GetByName: leaving %s\n", name);
                return camera.get();
            }
        }
    }
    Log(1, "CameraList::GetByName: ERROR: could not find camera %s\n", Text::OrNull(name));
    throw "Err";
}

Camera* CameraList::GetByPort(int portNo)
{
    // Unbound cameras carry port -1; a host passing -1 must not reach one.
    if (portNo != -1) {
        for (std::size_t i = 0; i < mCameras.size(); ++i) {
            Camera* camera = mCameras[i].get();
            if (camera == nullptr) {
                Log(1, "CameraList::GetByPort: ERROR: vector contains null pointer at index %d\n",
                    static_cast<int>(i));
                throw "Err";
            }
            if (camera->GetPort() == portNo) {
                if (!camera->IsOpen()) {
                    Log(2, "CameraList::GetByPort: WARNING: found camera on requested port %d, but the camera is closed\n",
                        portNo);
                }
                return camera;
            }
        }
    }
    Log(1, "CameraList::GetByPort: ERROR: could not find camera on port %d\n", portNo);
    throw "Err";
}

Camera* CameraList::CameraOnPort(int portNo)
{
    if (CameraList* list = GetInstance()) {
        return list->GetByPort(portNo);
    }
    Log(1, "CameraList::GetByPort: ERROR: could not find camera on port %d\n", portNo);
    throw "Err";
}

bool CameraList::BindPort(Camera& camera, int portNo)
{
    DeferredLog log;
    std::lock_guard<std::mutex> lock(mBindLock);
    for (const auto& other : mCameras) {
        if (other && other.get() != &camera && other->GetPort() == portNo) {
            Log(1, "openCVLPort: ERROR: port %d is already used by camera %s\n", portNo, other->GetName().c_str());
            return false;
        }
    }
    if (camera.IsOpen()) {
        return true;
    }
    if (camera.GetPort() != -1) {
        Log(1, "openCVLPort: ERROR: camera %s is being opened on port %d\n", camera.GetName().c_str(),
            camera.GetPort());
        return false;
    }
    camera.Bind(portNo);
    return true;
}

void CameraList::Destroy()
{
    Log(2, "CameraList::Destroy: entering\n");
    EndDeliveries();
    for (auto& camera : mCameras) {
        camera.reset();
    }
    mCameras.clear();
    // Room for the null pointer is there already: no allocation.
    mNames.assign(1, nullptr);
    Log(2, "CameraList::Destroy: leaving\n");
    mInitialized = false;
}

void CameraList::EndDeliveries()
{
    for (const auto& camera : mCameras) {
        if (camera && mWaitThread->IsWaiting(camera.get())) {
            mWaitThread->RemoveWaitCamera(camera.get());
        }
    }
    for (const auto& camera : mCameras) {
        if (camera) {
            camera->WaitForDelivery();
        }
    }
}

void CameraList::BuildNames()
{
    std::vector<const char*> names;
    names.reserve(mCameras.size() + 1);
    for (const auto& camera : mCameras) {
        names.push_back(camera ? camera->GetName().c_str() : "");
    }
    names.push_back(nullptr);
    mNames.swap(names);
}
