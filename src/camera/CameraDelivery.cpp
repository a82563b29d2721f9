// Image delivery on the wait thread: the image is copied into the image
// buffer, its grab buffer goes back to the producer, and the host's
// completion callback is called.
#include "camera/Camera.h"

#include "camera/DeliveryProbe.h"
#include "diag/DriverContext.h"
#include "diag/HostCallbackScope.h"
#include "os/System.h"
#include "transport/Device.h"

const std::shared_ptr<Os::Event>& Camera::GetImageReceivedEvent()
{
    return mDevice->GetImageReceivedEvent();
}

void Camera::RequeueHeldBuffers()
{
    mDevice->RequeueHeldBuffers();
}

void Camera::BeginDelivery()
{
    std::lock_guard<std::mutex> lock(mDeliveryLock);
    mDelivering = true;
    mDeliveryThread = std::this_thread::get_id();
}

void Camera::EndDelivery()
{
    {
        std::lock_guard<std::mutex> lock(mDeliveryLock);
        mDelivering = false;
    }
    mDeliveryDone.notify_all();
}

void Camera::WaitForDelivery()
{
    std::unique_lock<std::mutex> lock(mDeliveryLock);
    // A host that closes the camera from inside its callback runs on the
    // delivering thread: that delivery touches nothing of the camera after
    // the callback, so there is nothing to wait for.
    if (mDelivering && mDeliveryThread == std::this_thread::get_id()) {
        return;
    }
    mDeliveryDone.wait(lock, [this] { return !mDelivering; });
}

void Camera::ProcessEvent()
{
    DeliveryProbe* const probe = DeliveryProbe::Installed();
    if (probe != nullptr) {
        probe->Entered();
    }
    try {
        mDevice->ProcessEvent(mName.c_str());
        ++mStatistics.mFrames;
        if (!mDevice->HasImage()) {
            return;
        }
        if (!mGrabbing) {
            ++mStatistics.mDropped;
            mDevice->DiscardImage();
            return;
        }
    } catch (...) {
        Log(1, "Camera::ProcessEvent exception caught: 1");
        LogTiming(mName.c_str(), false, "Camera::ProcessEvent exception caught: 1");
        return;
    }
    if (CopyImage(probe)) {
        DeliverImage();
    }
}

bool Camera::CopyImage(DeliveryProbe* probe)
{
    try {
        unsigned char* const destination = mImageBuffer->GetData();
        const auto size = static_cast<std::size_t>(mImageBuffer->GetSize());
        if (probe != nullptr) {
            const Kavrix::GrabBuffer* next = mDevice->GetNextImage();
            if (next != nullptr && next->GetSize() >= size) {
                probe->Copying(next->GetMemory(), destination, size);
            }
        }
        mDevice->GetImage(destination, size);
        if (probe != nullptr) {
            probe->Copied();
        }
    } catch (...) {
        Log(1, "Camera::ProcessEvent exception caught: 2");
        LogTiming(mName.c_str(), false, "Camera::ProcessEvent exception caught: 2");
        return false;
    }
    std::lock_guard<std::recursive_mutex> lock(mGrabLock);
    if (mGrabbing && !mContinuous) {
        mSingleImageTaken = true;
    }
    return true;
}

void Camera::DeliverImage()
{
    LogTiming(mName.c_str(), true, "image received at %6ld", Os::ProcessMilliseconds());
    const CompleteCallback callback = mCompleteCB;
    const int port = mPort;
    if (callback == nullptr) {
        ++mStatistics.mDropped;
        Log(1, "Camera::ProcessEvent: ERROR: callback is not assigned, port=%d\n", port);
    } else {
        Log(3, "Camera::ProcessEvent: grab succesful. calling CB, port=%d\n", port);
        SetImagePending(true);
        const unsigned generation = mGeneration;
        {
            const HostCallbackScope insideCallback(HostCallbackScope::Kind::Completion);
            callback(0, port);
        }
        if (generation != mGeneration) {
            // Closed or reopened from inside the callback: nothing of this
            // delivery is left to finish.
            return;
        }
        if (DriverContext::Instance().mLogTimings) {
            DriverContext::Instance().FlushLogFile();
        }
    }
    if (!mContinuous) {
        StopSingleGrab();
        Log(2, "Camera::ProcessEvent: Grab finished\n");
    }
}

void Camera::StopSingleGrab()
{
    std::lock_guard<std::recursive_mutex> lock(mGrabLock);
    // On the wait thread, without the settling pause: it would hold up the
    // images of every other camera.
    MakeGrabbingLocked(false, false);
    mSingleImageTaken = false;
    if (mGrabRequested) {
        mGrabRequested = false;
        MakeGrabbingLocked(true, false);
        if (!mGrabbing) {
            Log(1, "Camera::ProcessEvent: ERROR: the grab requested during the last delivery could not start, "
                   "port=%d\n", mPort.load());
        }
    }
}
