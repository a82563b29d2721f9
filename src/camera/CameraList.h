// The driver's one list of cameras: owns the producer library and one camera
// per device the producer reports.
#pragma once

#include "camera/Camera.h"
#include "camera/CameraWaitThread.h"
#include "transport/Library.h"

#include <memory>
#include <mutex>
#include <vector>

class CameraList {
public:
    // The list between initialize and the last finalize, or null: outside
    // that time the driver has no cameras and starts no thread.
    static CameraList* GetInstance();
    // The list, made (without enumerating) when there is none; thread-safe.
    static CameraList* Create();
    // Destroys the list (the last finalize). It is no longer found from the
    // start, so what runs while its cameras close finds no list.
    static void Release();

    // Walks every interface and device; true when at least one camera was found.
    bool Init();
    // A null name finds nothing.
    bool IsCameraAvailable(const char* name);
    Camera* GetByName(const char* name);
    Camera* GetByPort(int portNo);
    // GetByPort of the list; with no list, the same error as for a port no
    // camera is bound to.
    static Camera* CameraOnPort(int portNo);
    // Binds the camera to the port unless another camera holds it (open or
    // opening) or the camera is being opened on another thread; the check
    // and the binding are one step. A camera that is open already stays as
    // it is, for its open to refuse. False, with the reason logged, when refused.
    bool BindPort(Camera& camera, int portNo);
    void Destroy();
    // No camera delivers any more once this returns (the cameras leave the
    // wait and deliveries under way end), before the first camera goes.
    void EndDeliveries();

    int GetCount() const { return static_cast<int>(mCameras.size()); }
    bool IsInitialized() const { return mInitialized; }
    // The camera names in list order and a null pointer. The same array from
    // one enumeration (Init) to the next or to Destroy, so that host threads
    // may ask for it at the same time; an empty one before the first.
    const char** GetNames() { return mNames.data(); }

    ~CameraList();
    CameraList(const CameraList&) = delete;
    CameraList& operator=(const CameraList&) = delete;

private:
    CameraList();
    // Replaces the names array with one for the cameras now in the list.
    void BuildNames();

    std::vector<std::unique_ptr<Camera>> mCameras;
    std::mutex mBindLock;
    bool mInitialized = false;
    std::vector<const char*> mNames;
    Kavrix::Library mLibrary;
    // Started with the list; ended after the cameras are gone and before the
    // library closes.
    std::unique_ptr<CameraWaitThread> mWaitThread;
};
