// Starting and stopping acquisition, single or continuous.
#include "camera/Camera.h"

#include "camera/CameraWaitThread.h"
#include "diag/DriverContext.h"
#include "os/Event.h"
#include "os/Thread.h"
#include "transport/CameraError.h"
#include "transport/DataStream.h"
#include "transport/Device.h"

namespace {

// After a stop the host asked for, frames still on their way get time to arrive.
constexpr std::uint32_t StopSettleMs = 500;
// AcquisitionMode values.
constexpr std::int64_t ContinuousMode = 1;
constexpr std::int64_t SingleFrameMode = 3;

}

bool Camera::Grab()
{
    Log(2, "Camera::Grab: entering \n");
    {
        std::lock_guard<std::recursive_mutex> lock(mGrabLock);
        if (mSingleImageTaken) {
            // The single grab under way has delivered its image; its stop
            // starts this request's grab.
            mGrabRequested = true;
            Log(3, "Camera::Grab: INFO: grab requested while the last image is delivered, port=%d\n", mPort.load());
        } else {
            MakeGrabbingLocked(true, true);
        }
        Log(2, "Camera::Grab: leaving \n");
    }
    return true;
}

void Camera::MakeGrabbing(bool on)
{
    std::lock_guard<std::recursive_mutex> lock(mGrabLock);
    MakeGrabbingLocked(on, true);
}

void Camera::MakeGrabbingLocked(bool on, bool settle)
{
    Log(2, "Camera::MakeGrabbing: mode=%d", on ? 1 : 0);
    if (on == mGrabbing) {
        if (on) {
            Log(1, "Camera::MakeGrabbing: WARNING: ignored -- already in the grabbing mode=%d", 1);
        }
        return;
    }
    const bool continuous = mContinuous;
    try {
        if (on) {
            if (!mIsOpen || mClosing) {
                throw Kavrix::CameraError("Camera::MakeGrabbing: the camera is not open");
            }
            mGrabbing = true;
            DiscardLeftovers();
            mWaitThread.StoreWaitCamera(this);
            mDevice->GetEnumerationNode("AcquisitionMode").SetIntValue(continuous ? ContinuousMode : SingleFrameMode);
            mDevice->StartAcquisition();
        } else {
            try {
                mDevice->StopAcquisition();
            } catch (...) {
                // Unregistered all the same: the camera's stream may be gone next.
                mWaitThread.RemoveWaitCamera(this);
                mGrabbing = false;
                throw;
            }
            if (settle) {
                Os::SleepMs(StopSettleMs);
            }
            mWaitThread.RemoveWaitCamera(this);
            mGrabbing = false;
        }
    } catch (const Kavrix::CameraError& e) {
        Log(1, "Camera::MakeGrabbing: Exception: %s, mode=%d, port=%d", e.what(), on ? 1 : 0, mPort.load());
        mGrabbing = false;
    } catch (...) {
        Log(1, "Camera::MakeGrabbing: ERROR: exception caught, mode=%d, port=%d\n", on ? 1 : 0, mPort.load());
        mGrabbing = false;
    }
    // A start that failed leaves nothing registered.
    if (on && !mGrabbing && mWaitThread.IsWaiting(this)) {
        mWaitThread.RemoveWaitCamera(this);
    }
}

void Camera::DiscardLeftovers()
{
    // Before the camera is registered, nothing else reads its stream: what
    // it still holds from before the start is counted and given back, so the
    // new grab delivers only its own images.
    mDevice->RequeueHeldBuffers();
    Os::Event* event = mDevice->GetImageReceivedEvent().get();
    for (int record = 0; record < 2 * Kavrix::DataStream::BufferCount && Os::WaitForAny(&event, 1, 0) == 0;
         ++record) {
        mDevice->ProcessEvent(mName.c_str());
        ++mStatistics.mFrames;
        while (mDevice->HasImage()) {
            ++mStatistics.mDropped;
            mDevice->DiscardImage();
        }
    }
}

void Camera::SetContinuousGrab(bool on)
{
    Log(2, "Camera::SetContinuousGrab: entering, mode=%s\n", on ? "on" : "off");
    std::lock_guard<std::recursive_mutex> lock(mGrabLock);
    if (on == mContinuous) {
        Log(3, "Camera::SetContinuousGrab has no effect -- the same mode is already active\n");
        return;
    }
    mContinuous = on;
    if (on) {
        // Restarted so that the new acquisition mode takes effect.
        if (mGrabbing) {
            MakeGrabbingLocked(false, true);
        }
        MakeGrabbingLocked(true, true);
    } else if (mGrabbing) {
        MakeGrabbingLocked(false, true);
    }
    Log(2, "Camera::SetContinuousGrab: leaving\n");
}
