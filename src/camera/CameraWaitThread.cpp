#include "camera/CameraWaitThread.h"

#include "camera/Camera.h"
#include "diag/DeferredLog.h"
#include "diag/DriverContext.h"
#include "os/System.h"
#include "transport/CameraError.h"

#include <algorithm>

namespace {

constexpr std::uint32_t TerminateWaitMs = 5000;
constexpr int ForcedExitCode = -1000;
constexpr std::uint32_t FailedWaitPauseMs = 100;
// How soon buffers the producer refused are offered again.
constexpr std::uint32_t HeldBufferRetryMs = 20;

// An error while delivering stops that camera's grabbing; the others go on.
void StopAfterError(Camera* camera)
{
    if (camera != nullptr) {
        camera->StopAfterError();
    }
}

long Clock()
{
    return Os::ProcessMilliseconds();
}

}

CameraWaitThread::CameraWaitThread() : mSlots(SlotCount), mHandles(SlotCount, nullptr)
{
    mCameras.reserve(MaxCameras);
    mHandles[0] = &mTerminate;
    mHandles[1] = &mUpdate;
    mThread = std::make_unique<Os::Thread>([this] { ThreadMain(); });
    Log(2, "CameraWaitThread::CameraWaitThread: thread created:%lu\n", mThread->GetId());
}

CameraWaitThread::~CameraWaitThread()
{
    Terminate();
}

void CameraWaitThread::Terminate()
{
    Log(2, "CameraWaitThread::~CameraWaitThread: entering\n");
    Log(2, "CameraWaitThread::Terminate");
    mTerminate.Set();
    if (!mThread->Join(TerminateWaitMs)) {
        if (Os::Thread::EndsByForce()) {
            mThread->Abandon(ForcedExitCode);
        } else {
            // Ending a thread by force is not safe here: it is waited for.
            Log(1, "CameraWaitThread::Terminate: ERROR: thread did not end within %u ms\n", TerminateWaitMs);
            mThread->Join(Os::Infinite);
        }
    }
    mThread.reset();
    mTerminate.Reset();
    Log(2, "CameraWaitThread::~CameraWaitThread: leaving\n");
}

bool CameraWaitThread::StoreWaitCamera(Camera* camera)
{
    Log(3, "CameraWaitThread::StoreWaitCamera: entering, port=%d\n", camera->GetPort());
    {
        // No message goes out while the lock is held: the host, called with
        // it, may grab from there.
        DeferredLog log;
        std::lock_guard<std::mutex> lock(mLock);
        if (std::find(mCameras.begin(), mCameras.end(), camera) != mCameras.end()) {
            Log(1, "CameraWaitThread::StoreWaitCamera: WARNING: wait camera already stored, port=%d\n",
                camera->GetPort());
            return true;
        }
        if (mCameras.size() >= static_cast<std::size_t>(MaxCameras)) {
            Log(1, "CameraWaitThread::StoreWaitCamera: ERROR: reached camera limit %d, port=%d\n", SlotCount,
                camera->GetPort());
            return false;
        }
        mCameras.push_back(camera);
    }
    mUpdate.Set();
    Log(3, "CameraWaitThread::StoreWaitCamera: leaving, port=%d\n", camera->GetPort());
    return true;
}

void CameraWaitThread::RemoveWaitCamera(Camera* camera)
{
    Log(3, "CameraWaitThread::RemoveWaitCamera: entering, port=%d\n", camera->GetPort());
    {
        std::lock_guard<std::mutex> lock(mLock);
        mCameras.erase(std::remove(mCameras.begin(), mCameras.end(), camera), mCameras.end());
        try {
            camera->GetImageReceivedEvent()->Reset();
        } catch (const std::exception&) {
            // A camera whose stream is gone has no event left to clear.
        }
        mUpdate.Set();
    }
    Log(3, "CameraWaitThread::RemoveWaitCamera: leaving, port=%d\n", camera->GetPort());
}

bool CameraWaitThread::IsWaiting(const Camera* camera)
{
    std::lock_guard<std::mutex> lock(mLock);
    return std::find(mCameras.begin(), mCameras.end(), camera) != mCameras.end();
}

bool CameraWaitThread::IsCurrentThread() const
{
    return mThreadId.load() == std::this_thread::get_id();
}

bool CameraWaitThread::AddWaitCameras()
{
    Log(3, "CameraWaitThread::AddWaitCameras: entering");
    DeferredLog log;
    std::lock_guard<std::mutex> lock(mLock);
    bool held = false;
    int count = 2;
    for (Camera* camera : mCameras) {
        try {
            // Buffers the producer refused earlier get another chance.
            held = camera->RequeueHeldBuffers() || held;
            mSlots[count].mEvent = camera->GetImageReceivedEvent();
        } catch (const std::exception& e) {
            Log(1, "CameraWaitThread::AddWaitCameras: ERROR: camera on port=%d left out: %s\n", camera->GetPort(),
                e.what());
            continue;
        }
        mSlots[count].mCamera = camera;
        ++count;
        Log(3, "CameraWaitThread::AddWaitCameras: added camera on port=%d", camera->GetPort());
        if (count == SlotCount) {
            Log(1, "CameraWaitThread::AddWaitCameras: reached camera limit %d", SlotCount);
            break;
        }
    }
    // Round robin: the camera served last waits behind the others.
    const auto first = mSlots.begin() + 2;
    const auto end = mSlots.begin() + count;
    const auto lastServed = std::find_if(first, end, [this](const Slot& slot) { return slot.mCamera == mLastServed; });
    if (lastServed != end) {
        std::rotate(first, lastServed + 1, end);
    }
    for (int slot = 2; slot < count; ++slot) {
        mHandles[slot] = mSlots[slot].mEvent.get();
    }
    for (int unused = count; unused < SlotCount; ++unused) {
        mSlots[unused] = Slot();
        mHandles[unused] = nullptr;
    }
    mHandleCount = count;
    Log(3, "CameraWaitThread::AddWaitCameras: leaving");
    return held;
}

Camera* CameraWaitThread::BeginDelivery(int slot)
{
    DeferredLog log;
    std::lock_guard<std::mutex> lock(mLock);
    if (slot < 2 || slot >= mHandleCount) {
        Log(1, "CameraWaitThread::GetWaitCamera: ERROR: index out of range %d, n=%d\n", slot - 2,
            static_cast<int>(mCameras.size()));
        throw "Err";
    }
    Camera* camera = mSlots[slot].mCamera;
    // Found by the event that fired: a camera removed since the slots were
    // filled gets nothing, and no other camera gets its image.
    if (std::find(mCameras.begin(), mCameras.end(), camera) == mCameras.end() ||
        camera->GetImageReceivedEvent() != mSlots[slot].mEvent) {
        return nullptr;
    }
    return camera->BeginDelivery() ? camera : nullptr;
}

void CameraWaitThread::ThreadMain()
{
    Log(2, "CameraWaitThread::ThreadMain: entering, clock=%ld", Clock());
    LogTiming("ALL_CAMERAS", false, "CameraWaitThread started");
    mThreadId = std::this_thread::get_id();
    for (;;) {
        mUpdate.Reset();
        const bool held = AddWaitCameras();
        Log(3, "CameraWaitThread::ThreadMain: waiting for events..., clock=%ld", Clock());
        const int result = Os::WaitForAny(mHandles.data(), static_cast<std::size_t>(mHandleCount),
                                          held ? HeldBufferRetryMs : Os::Infinite);
        if (result == Os::WaitTimeout && held) {
            continue;
        }
        if (result == Os::WaitTimeout) {
            Log(1, "CameraWaitThread::ThreadMain: WARNING: wait timeout -- should not have happened");
            break;
        }
        if (result == 0) {
            Log(2, "CameraWaitThread::ThreadMain: Event received: terminate");
            break;
        }
        if (result == 1) {
            Log(2, "CameraWaitThread::ThreadMain: Event received: new camera grab wait");
            mUpdate.Reset();
            continue;
        }
        Camera* camera = nullptr;
        try {
            camera = BeginDelivery(result);
            if (camera == nullptr) {
                continue;
            }
            mLastServed = camera;
            Log(3, "CameraWaitThread::ThreadMain: Event (%d) received: image available on port %d, clock=%ld", result,
                camera->GetPort(), Clock());
            LogTiming(camera->GetName().c_str(), true, "frame received");
            camera->ProcessEvent();
        } catch (const Kavrix::CameraError& e) {
            Log(1, "CameraWaitThread::ThreadMain: %s", e.what());
            StopAfterError(camera);
        } catch (...) {
            Log(1, "CameraWaitThread::ThreadMain: Exception\n");
            StopAfterError(camera);
        }
        if (camera != nullptr) {
            camera->EndDelivery();
        }
        if (result == Os::WaitFailed) {
            // A wait that fails again at once must not spin.
            Os::SleepMs(FailedWaitPauseMs);
        }
    }
    Log(2, "CameraWaitThread::ThreadMain: leaving");
}
