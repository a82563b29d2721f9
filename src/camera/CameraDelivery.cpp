// Image delivery on the wait thread: the image is copied into the image
// buffer, its grab buffer goes back to the producer, and the host's
// completion callback is called. No camera lock is held while the host is
// called or a message is delivered.
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

bool Camera::RequeueHeldBuffers()
{
    std::lock_guard<std::mutex> stream(mStreamLock);
    mDevice->RequeueHeldBuffers();
    return mDevice->GetHeldBufferCount() != 0;
}

bool Camera::BeginDelivery()
{
    std::lock_guard<std::mutex> state(mStateLock);
    mDelivering = true;
    mDeliveryThread = std::this_thread::get_id();
    return true;
}

void Camera::EndDelivery()
{
    // Notified under the lock: the closing host may delete the camera as soon
    // as it sees the delivery ended.
    std::lock_guard<std::mutex> state(mStateLock);
    mDelivering = false;
    mDeliveryDone.notify_all();
}

void Camera::WaitForDelivery()
{
    std::unique_lock<std::mutex> state(mStateLock);
    // A host that closes the camera from inside its callback runs on the
    // delivering thread: that delivery touches nothing of the camera after
    // the callback, so there is nothing to wait for.
    if (mDelivering && mDeliveryThread == std::this_thread::get_id()) {
        return;
    }
    mDeliveryDone.wait(state, [this] { return !mDelivering; });
}

void Camera::ProcessEvent()
{
    DeliveryProbe* const probe = DeliveryProbe::Installed();
    if (probe != nullptr) {
        probe->Entered();
    }
    Taken taken;
    switch (TakeImage(probe, taken)) {
    case Outcome::Deliver:
        DeliverImage(taken);
        break;
    case Outcome::Retry:
        RequestStop(taken.mAcquisition, PendingStop::Retry);
        break;
    case Outcome::Stop:
        RequestStop(taken.mAcquisition, PendingStop::AfterError);
        break;
    case Outcome::Nothing:
        break;
    }
}

Camera::Outcome Camera::TakeImage(DeliveryProbe* probe, Taken& taken)
{
    // Declared first, so the stream's lock is released before any message
    // goes out.
    DeferredLog log;
    std::lock_guard<std::mutex> stream(mStreamLock);
    try {
        const Kavrix::RecordKind kind = mDevice->ProcessEvent(mName.c_str());
        ++mStatistics.mFrames;
        if (kind == Kavrix::RecordKind::DeviceLost) {
            Log(1, "Camera::ProcessEvent: ERROR: the camera stopped answering, port=%d\n", mPort.load());
            std::lock_guard<std::mutex> state(mStateLock);
            taken.mAcquisition = mAcquisition;
            return Outcome::Stop;
        }
        if (kind == Kavrix::RecordKind::Incomplete || kind == Kavrix::RecordKind::WrongLeader) {
            ++mStatistics.mDropped;
            return FrameNotDelivered(kind == Kavrix::RecordKind::Incomplete, taken);
        }
        if (!mDevice->HasImage()) {
            return Outcome::Nothing;
        }
        bool deliver = false;
        {
            std::lock_guard<std::mutex> state(mStateLock);
            // A single grab delivers one image; what comes after it, or after
            // the camera stopped grabbing, goes back to the producer.
            deliver = mGrabbing && !mSingleTaken && !mStopPending;
            taken.mSingle = deliver && !mContinuous && !mStopping;
            mSingleTaken = mSingleTaken || taken.mSingle;
            taken.mAcquisition = mAcquisition;
        }
        if (!deliver) {
            ++mStatistics.mDropped;
            mDevice->DiscardImage();
            return Outcome::Nothing;
        }
    } catch (...) {
        Log(1, "Camera::ProcessEvent exception caught: 1");
        LogTiming(mName.c_str(), false, "Camera::ProcessEvent exception caught: 1");
        return Outcome::Nothing;
    }
    if (CopyImage(probe)) {
        std::lock_guard<std::mutex> state(mStateLock);
        mSingleRetries = taken.mSingle ? 0 : mSingleRetries;
        return Outcome::Deliver;
    }
    // A single grab whose image could not be copied takes the next one.
    std::lock_guard<std::mutex> state(mStateLock);
    if (taken.mSingle && mAcquisition == taken.mAcquisition) {
        mSingleTaken = false;
    }
    return Outcome::Nothing;
}

Camera::Outcome Camera::FrameNotDelivered(bool incomplete, Taken& taken)
{
    ReportFrameNotDelivered(incomplete);
    std::lock_guard<std::mutex> state(mStateLock);
    taken.mAcquisition = mAcquisition;
    const bool single = mGrabbing && !mSingleTaken && !mStopPending && !mContinuous && !mStopping;
    if (!single) {
        return Outcome::Nothing;
    }
    // The single grab's one frame is lost: the acquisition starts again, so
    // the host never waits without a word.
    mSingleTaken = true;
    if (++mSingleRetries <= MaxSingleRetries) {
        return Outcome::Retry;
    }
    mSingleRetries = 0;
    Log(1, "Camera::ProcessEvent: ERROR: no complete frame for the grab after %d tries, port=%d\n",
        MaxSingleRetries + 1, mPort.load());
    return Outcome::Stop;
}

void Camera::ReportFrameNotDelivered(bool incomplete)
{
    // The first at once, then a count at most once a second: a bad link must
    // not flood the host's log.
    ++mUnreportedFrames;
    const long long now = Os::MonotonicMilliseconds();
    if (mReportedAt != 0 && now - mReportedAt < ReportIntervalMs) {
        return;
    }
    if (mReportedAt == 0) {
        Log(1, "Camera::ProcessEvent: WARNING: frame dropped: %s, port=%d\n",
            incomplete ? "packets missing" : "its size is not the camera's image size", mPort.load());
    } else {
        Log(1, "Camera::ProcessEvent: WARNING: %d frames dropped in the last %lld ms (missing packets or another "
               "image size), port=%d\n", mUnreportedFrames, now - mReportedAt, mPort.load());
    }
    mReportedAt = now;
    mUnreportedFrames = 0;
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
        return true;
    } catch (...) {
        Log(1, "Camera::ProcessEvent exception caught: 2");
        LogTiming(mName.c_str(), false, "Camera::ProcessEvent exception caught: 2");
        return false;
    }
}

void Camera::DeliverImage(const Taken& taken)
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
        {
            const HostCallbackScope insideCallback(HostCallbackScope::Kind::Completion);
            callback(0, port);
        }
        if (DriverContext::Instance().mLogTimings) {
            DriverContext::Instance().FlushLogFile();
        }
    }
    // Closed, reset or switched to another mode from inside the callback:
    // that acquisition has ended, and its stop asks for nothing.
    if (taken.mSingle) {
        RequestStop(taken.mAcquisition, PendingStop::SingleDone);
    }
}
