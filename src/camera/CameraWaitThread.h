// The driver's one thread: it waits for the image events of every grabbing
// camera and delivers their images. Owned by the camera list.
#pragma once

#include "os/Event.h"
#include "os/Thread.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class Camera;

class CameraWaitThread {
public:
    // Slots: the terminate event, the update event, and one per camera a
    // host can bind (one per port).
    static constexpr int MaxCameras = 20;
    static constexpr int SlotCount = MaxCameras + 2;

    // Starts the thread at once.
    CameraWaitThread();
    // Ends the thread (Terminate).
    ~CameraWaitThread();
    CameraWaitThread(const CameraWaitThread&) = delete;
    CameraWaitThread& operator=(const CameraWaitThread&) = delete;

    // False (logged) when the wait already serves MaxCameras cameras.
    bool StoreWaitCamera(Camera* camera);
    // After it returns, no image of the camera is handed to it any more.
    void RemoveWaitCamera(Camera* camera);
    bool IsWaiting(const Camera* camera);
    // The calling thread is the wait thread.
    bool IsCurrentThread() const;

private:
    struct Slot {
        std::shared_ptr<Os::Event> mEvent;
        Camera* mCamera = nullptr;
    };

    void ThreadMain();
    // True when a camera's buffers are still held by the driver (the
    // producer refused them back): they are tried again after a while even
    // when no image comes, since none can come while all are held.
    bool AddWaitCameras();
    // The camera whose event fired in that slot, marked as delivering; null
    // when it stopped waiting since the slots were filled.
    Camera* BeginDelivery(int slot);
    void Terminate();

    Os::Event mTerminate{Os::Event::Mode::AutoReset};
    Os::Event mUpdate{Os::Event::Mode::AutoReset};
    std::mutex mLock;
    std::vector<Camera*> mCameras;
    // Filled from mCameras before each wait; the events are shared, so one
    // closed meanwhile stays valid until the slots are filled again.
    std::vector<Slot> mSlots;
    std::vector<Os::Event*> mHandles;
    int mHandleCount = 2;
    // The camera whose image the thread delivered last (only compared, never
    // used): its slot comes after the others' at the next wait. The wait
    // reports the lowest signalled slot, so a camera whose next image is
    // always waiting would otherwise starve every camera after it.
    const Camera* mLastServed = nullptr;
    std::unique_ptr<Os::Thread> mThread;
    std::atomic<std::thread::id> mThreadId{};
};
