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
    // The list, created on first use without enumerating; thread-safe.
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
    bool mInitialized = false;
    std::vector<const char*> mNames;
    Kavrix::Library mLibrary;
    // Started with the list; ended after the cameras are gone and before the
    // library closes.
    std::unique_ptr<CameraWaitThread> mWaitThread;
};
