// Starting and stopping acquisition, single or continuous.
#include "camera/Camera.h"

#include "camera/CameraWaitThread.h"
#include "diag/DriverContext.h"
#include "diag/HostCallbackScope.h"
#include "os/Thread.h"
#include "transport/CameraError.h"
#include "transport/Device.h"

#include <optional>

namespace {

// After a stop the host asked for, frames still on their way get time to
// arrive (and are delivered) before the camera leaves the wait.
constexpr std::uint32_t StopSettleMs = 500;
// AcquisitionMode values of cameras whose entries have other names.
constexpr std::int64_t ContinuousMode = 1;
constexpr std::int64_t SingleFrameMode = 3;

}

Camera::Control::Control(Camera& camera) : mCamera(camera), mLock(camera.mControlLock) {}

Camera::Control::~Control()
{
    mLock.unlock();
    mLog.Flush();
    mCamera.RunPendingStop();
}

void Camera::Control::Pause(std::uint32_t milliseconds)
{
    mLock.unlock();
    mLog.Flush();
    mCamera.RunPendingStop();
    Os::SleepMs(milliseconds);
    mLock.lock();
}

bool Camera::Grab()
{
    Log(2, "Camera::Grab: entering \n");
    bool served = false;
    {
        Control control(*this);
        served = RequestGrab();
        Log(2, "Camera::Grab: leaving \n");
    }
    return served;
}

bool Camera::RequestGrab()
{
    bool deferred = false;
    {
        std::lock_guard<std::mutex> state(mStateLock);
        if (mStopping || mSingleTaken || mStopPending) {
            // The acquisition under way is ending: its stop starts this grab.
            mGrabRequested = true;
            deferred = true;
        }
    }
    if (deferred) {
        Log(3, "Camera::Grab: INFO: grab requested while the last image is delivered, port=%d\n", mPort.load());
        return true;
    }
    {
        std::lock_guard<std::mutex> state(mStateLock);
        mSingleRetries = 0;
    }
    return StartGrabbing();
}

bool Camera::StartGrabbing()
{
    Log(2, "Camera::MakeGrabbing: mode=%d", 1);
    if (mGrabbing) {
        Log(1, "Camera::MakeGrabbing: WARNING: ignored -- already in the grabbing mode=%d", 1);
        return true;
    }
    const bool continuous = mContinuous;
    try {
        if (!mIsOpen || mClosing) {
            throw Kavrix::CameraError("Camera::MakeGrabbing: the camera is not open");
        }
        DiscardLeftovers();
        {
            std::lock_guard<std::mutex> state(mStateLock);
            mGrabbing = true;
            ++mAcquisition;
            mStopping = false;
            mSingleTaken = false;
            mGrabRequested = false;
            mStopPending = false;
        }
        if (!mWaitThread.StoreWaitCamera(this)) {
            std::lock_guard<std::mutex> state(mStateLock);
            mGrabbing = false;
            ++mAcquisition;
            return false;
        }
        if (continuous) {
            mDevice->SetAcquisitionMode("Continuous", ContinuousMode);
        } else {
            mDevice->SetAcquisitionMode("SingleFrame", SingleFrameMode);
        }
        mDevice->StartAcquisition();
        return true;
    } catch (const Kavrix::CameraError& e) {
        Log(1, "Camera::MakeGrabbing: Exception: %s, mode=%d, port=%d", e.what(), 1, mPort.load());
    } catch (...) {
        Log(1, "Camera::MakeGrabbing: ERROR: exception caught, mode=%d, port=%d\n", 1, mPort.load());
    }
    // A start that failed leaves nothing registered; the failure is logged
    // and the host's request counts as answered.
    if (mWaitThread.IsWaiting(this)) {
        mWaitThread.RemoveWaitCamera(this);
    }
    std::lock_guard<std::mutex> state(mStateLock);
    if (mGrabbing) {
        mGrabbing = false;
        ++mAcquisition;
    }
    return true;
}

std::optional<std::uint64_t> Camera::BeginStop()
{
    std::uint64_t acquisition = 0;
    {
        std::lock_guard<std::mutex> state(mStateLock);
        if (!mGrabbing) {
            return std::nullopt;
        }
        acquisition = mAcquisition;
        if (mStopping) {
            // Another thread's stop is settling: the camera is stopped already.
            return acquisition;
        }
        mStopping = true;
    }
    Log(2, "Camera::MakeGrabbing: mode=%d", 0);
    try {
        mDevice->StopAcquisition();
        return acquisition;
    } catch (const Kavrix::CameraError& e) {
        Log(1, "Camera::MakeGrabbing: Exception: %s, mode=%d, port=%d", e.what(), 0, mPort.load());
    } catch (...) {
        Log(1, "Camera::MakeGrabbing: ERROR: exception caught, mode=%d, port=%d\n", 0, mPort.load());
    }
    // Unregistered all the same, at once: the camera's stream may be gone next.
    if (FinishStop(acquisition) && !mClosing) {
        StartGrabbing();
    }
    return std::nullopt;
}

bool Camera::FinishStop(std::uint64_t acquisition)
{
    {
        std::lock_guard<std::mutex> state(mStateLock);
        if (!mGrabbing || mAcquisition != acquisition) {
            return false;
        }
    }
    mWaitThread.RemoveWaitCamera(this);
    std::lock_guard<std::mutex> state(mStateLock);
    mGrabbing = false;
    ++mAcquisition;
    mStopping = false;
    mSingleTaken = false;
    mStopPending = false;
    const bool requested = mGrabRequested;
    mGrabRequested = false;
    return requested;
}

void Camera::SettleAndFinish(Control& control, std::uint64_t acquisition)
{
    // Not on the wait thread, whose pause would hold up every camera, nor
    // inside a host callback, where the debug callback's lock is held.
    if (!mWaitThread.IsCurrentThread() && !HostCallbackScope::IsActive()) {
        control.Pause(StopSettleMs);
    }
    if (FinishStop(acquisition) && !mClosing) {
        StartGrabbing();
    }
}

void Camera::StopGrabbing(Control& control)
{
    if (const std::optional<std::uint64_t> acquisition = BeginStop()) {
        SettleAndFinish(control, *acquisition);
    }
}

void Camera::DiscardLeftovers()
{
    // Before the camera is registered nothing else takes its images, but a
    // delivery that began before it left the wait may still be reading the
    // stream. What the stream still holds from before the start is counted
    // and given back, so the new grab delivers only its own images.
    std::lock_guard<std::mutex> stream(mStreamLock);
    const Kavrix::Discarded discarded = mDevice->DiscardWaitingImages(mName.c_str());
    mStatistics.mFrames += static_cast<std::int32_t>(discarded.mRecords);
    mStatistics.mDropped += static_cast<std::int32_t>(discarded.mImages);
}

void Camera::SetContinuousGrab(bool on)
{
    Log(2, "Camera::SetContinuousGrab: entering, mode=%s\n", on ? "on" : "off");
    Control control(*this);
    if (on == mContinuous) {
        Log(3, "Camera::SetContinuousGrab has no effect -- the same mode is already active\n");
        return;
    }
    if (on) {
        mContinuous = true;
        // Restarted so that the new acquisition mode takes effect.
        StopGrabbing(control);
        if (!mGrabbing) {
            StartGrabbing();
        }
    } else {
        // Stopping first: a frame arriving meanwhile is no single grab's image.
        const std::optional<std::uint64_t> acquisition = BeginStop();
        mContinuous = false;
        if (acquisition) {
            SettleAndFinish(control, *acquisition);
        }
    }
    Log(2, "Camera::SetContinuousGrab: leaving\n");
}

void Camera::RequestStop(std::uint64_t acquisition, PendingStop kind)
{
    {
        std::lock_guard<std::mutex> state(mStateLock);
        if (!mGrabbing || mAcquisition != acquisition) {
            return;
        }
        mStopPending = true;
        mStopAcquisition = acquisition;
        mStopKind = kind;
    }
    RunPendingStop();
}

void Camera::StopAfterError()
{
    std::uint64_t acquisition = 0;
    {
        std::lock_guard<std::mutex> state(mStateLock);
        acquisition = mAcquisition;
    }
    RequestStop(acquisition, PendingStop::AfterError);
}

void Camera::RunPendingStop()
{
    for (;;) {
        DeferredLog log;
        std::unique_lock<std::mutex> control(mControlLock, std::try_to_lock);
        if (!control.owns_lock()) {
            // Whoever holds the camera does the stop when it lets go.
            return;
        }
        std::uint64_t acquisition = 0;
        PendingStop kind = PendingStop::SingleDone;
        bool current = false;
        {
            std::lock_guard<std::mutex> state(mStateLock);
            if (!mStopPending) {
                return;
            }
            mStopPending = false;
            acquisition = mStopAcquisition;
            kind = mStopKind;
            current = mGrabbing && mAcquisition == acquisition;
        }
        // An acquisition that ended meanwhile (closed, reset, restarted) needs no stop.
        const std::optional<std::uint64_t> stopped = current ? BeginStop() : std::nullopt;
        if (stopped) {
            const bool requested = FinishStop(*stopped);
            if (kind == PendingStop::SingleDone) {
                Log(2, "Camera::ProcessEvent: Grab finished\n");
            }
            if ((requested || kind == PendingStop::Retry) && !mClosing) {
                StartGrabbing();
            }
        }
    }
}
