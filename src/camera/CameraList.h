// The driver's one list of cameras: owns the producer library and one camera
// per device the producer reports.
#pragma once

#include "camera/Camera.h"
#include "camera/CameraWaitThread.h"
#include "transport/Library.h"

#include <memory>
#include <vector>

class CameraList {
public:
    // The list, created on first use without enumerating.
    static CameraList* GetInstance();
    // Destroys the list (the last finalize); the next GetInstance makes a new one.
    static void Release();

    // Walks every interface and device; true when at least one camera was found.
    bool Init();
    // A null name finds nothing.
    bool IsCameraAvailable(const char* name);
    Camera* GetByName(const char* name);
    Camera* GetByPort(int portNo);
    // The open camera bound to the port, or null; nothing is logged.
    const Camera* FindOpenOnPort(int portNo) const;
    void Destroy();

    int GetCount() const { return static_cast<int>(mCameras.size()); }
    bool IsInitialized() const { return mInitialized; }
    // The camera names in list order and a null pointer; replaces the array
    // of the previous call.
    const char** GetNames();

    ~CameraList();
    CameraList(const CameraList&) = delete;
    CameraList& operator=(const CameraList&) = delete;

private:
    CameraList();

    std::vector<std::unique_ptr<Camera>> mCameras;
    bool mInitialized = false;
    std::unique_ptr<const char*[]> mNames;
    Kavrix::Library mLibrary;
    // Started with the list; ended after the cameras are gone and before the
    // library closes.
    std::unique_ptr<CameraWaitThread> mWaitThread;
};
