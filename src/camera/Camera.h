// One physical camera as the host sees it: created by the camera list,
// bound to a host port while open, grabbing through the wait thread.
#pragma once

#include "camera/CameraStatistics.h"
#include "camera/ImageBuffer.h"
#include "diag/DeferredLog.h"
#include "kavrix.h"
#include "params/CameraInfo.h"
#include "params/CameraParameters.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace Kavrix {
class Device;
}
namespace Os {
class Event;
}
class CameraWaitThread;
class DeliveryProbe;

class Camera {
public:
    // Logs and raises "Err" when name or device is null. The camera grabs
    // through the list's wait thread.
    Camera(const char* name, const CameraInfo& info, std::shared_ptr<Kavrix::Device> device,
           CameraWaitThread& waitThread);
    // Closes the camera when it is open.
    ~Camera();
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    const std::string& GetName() const { return mName; }
    int GetPort() const { return mPort; }
    bool IsOpen() const { return mIsOpen; }
    const CameraInfo& GetInfo() const { return mInfo; }
    int GetBitsPerPixel() const { return mBitsPerPixel; }
    // Bytes in one row of the image buffer.
    int GetRowSize() const { return mWidth * (mBitsPerPixel / 8); }
    CameraParameters& GetParameters() { return mParameters; }

    // Binds the camera to portNo before it opens (the camera list does this
    // under its own lock, so two cameras never bind one port).
    void Bind(int portNo) { mPort = portNo; }
    // Opens and binds to portNo with the stored settings; size receives width
    // and height. False when already open; any other failure is undone and
    // raised again.
    bool Open(int portNo, int* size);
    // Stops grabbing, unbinds and closes the device; raises nothing.
    void Close();
    // Close for the host: refused (false) from inside the debug callback,
    // where it would wait for a delivery that waits to log.
    bool CloseFromHost();
    // Closes and opens again on the same port, which stays bound meanwhile;
    // refused (false) where CloseFromHost is.
    bool Reset();
    void SetCompleteCB(CompleteCallback callback);

    // Starts grabbing in the current mode. A request made while a grab stops
    // (a single grab's image was taken, or the host's stop settles) starts
    // once that stop is done. False when the camera cannot be served at all.
    bool Grab();
    void SetContinuousGrab(bool on);
    // The start of a row of the last image, or null.
    // destination: where the host copies the row to, or null.
    const unsigned char* GetRow(int row, const unsigned char* destination = nullptr);
    // True for the first row of the current image that the host asked for
    // past its end: the host is warned once per image, not once per row.
    bool FirstRowCutOfImage();
    // A new image (true) also clears the mark of FirstRowCutOfImage.
    void SetImagePending(bool pending);
    void PrintStats();
    void ResetStats();

    bool GetProperty(const char* name, int* value);
    bool SetProperty(const char* name, int value);
    bool GetRange(const char* name, int* minimum, int* maximum);
    // The configuration dialog on a copy of the parameters; true when the
    // user accepted it (the copy is then saved and replaces the parameters).
    bool Configure(int parentWindow);
    // A configuration dialog of any camera is on screen.
    static bool IsConfigurationOpen();

    // The wait thread's side: the image event of a grabbing camera, the
    // delivery of its image, and its buffers the producer refused. A delivery
    // begins while the camera is still registered, so a closing host waits
    // for it to end; false when the camera is not grabbing any more.
    const std::shared_ptr<Os::Event>& GetImageReceivedEvent();
    // True when buffers are still held afterwards.
    bool RequeueHeldBuffers();
    bool BeginDelivery();
    void ProcessEvent();
    void EndDelivery();
    // After an error on the wait thread: acquisition stops, as soon as no
    // host thread controls the camera.
    void StopAfterError();
    // Returns once no delivery runs on another thread.
    void WaitForDelivery();

    const CameraStatistics& GetStatistics() const { return mStatistics; }

private:
    // Host-side control of the camera: holds mControlLock, keeps the thread's
    // messages until the lock is released, and on release performs a stop the
    // wait thread asked for meanwhile.
    class Control {
    public:
        explicit Control(Camera& camera);
        ~Control();
        Control(const Control&) = delete;
        Control& operator=(const Control&) = delete;
        // Lets go of the camera for a while (messages delivered, stops the
        // wait thread asked for done), then takes it again.
        void Pause(std::uint32_t milliseconds);

    private:
        Camera& mCamera;
        DeferredLog mLog;
        std::unique_lock<std::mutex> mLock;
    };

    // Close, keeping the port bound when unbind is false.
    void Shutdown(bool unbind);
    // The producer's statistics of the camera's stream as lines for
    // PrintStats, or nothing when it tells none.
    std::string StreamStatistics();
    void CleanupOnClose();
    bool LoadSettings();
    void ApplyLogSettings();
    void PutCameraIntoMono8();
    void SetImageSize(int* size);

    // Why the wait thread asks for a stop: the single grab's image was
    // delivered, an error, or the single grab's frame was lost and its
    // acquisition starts again.
    enum class PendingStop { SingleDone, AfterError, Retry };
    // What the wait thread does after taking a record.
    enum class Outcome { Nothing, Deliver, Retry, Stop };
    // A single grab whose frame came incomplete is tried this many more times.
    static constexpr int MaxSingleRetries = 3;
    static constexpr long long ReportIntervalMs = 1000;
    // An image the wait thread took for delivery.
    struct Taken {
        bool mSingle = false;
        std::uint64_t mAcquisition = 0;
    };

    // The steps of grabbing; all run under Control.
    bool RequestGrab();
    bool StartGrabbing();
    // Stops the camera's acquisition; the camera stays registered, so frames
    // already on their way are still delivered, until FinishStop. Gives the
    // acquisition that stops, or nothing when there is none (or the stop
    // failed and was finished at once).
    std::optional<std::uint64_t> BeginStop();
    // Takes the camera out of the wait unless another stop has finished that
    // acquisition already; true when a grab asked for meanwhile is due.
    bool FinishStop(std::uint64_t acquisition);
    // The settling pause of a host thread, FinishStop, then a grab asked for
    // meanwhile.
    void SettleAndFinish(Control& control, std::uint64_t acquisition);
    void StopGrabbing(Control& control);
    void DiscardLeftovers();

    // The wait thread's steps. A stop it asks for is done at once when no
    // host thread controls the camera, else by that thread when it lets go.
    Outcome TakeImage(DeliveryProbe* probe, Taken& taken);
    Outcome FrameNotDelivered(bool incomplete, Taken& taken);
    void ReportFrameNotDelivered(bool incomplete);
    bool CopyImage(DeliveryProbe* probe);
    void DeliverImage(const Taken& taken);
    void RequestStop(std::uint64_t acquisition, PendingStop kind);
    void RunPendingStop();

    std::shared_ptr<Kavrix::Device> mDevice;
    CameraWaitThread& mWaitThread;
    std::atomic<bool> mIsOpen{false};
    std::string mName;
    std::atomic<int> mPort{-1};
    CameraInfo mInfo;
    std::unique_ptr<ImageBuffer> mImageBuffer;
    CameraParameters mParameters;
    std::atomic<CompleteCallback> mCompleteCB{nullptr};
    std::atomic<bool> mContinuous{false};
    int mBitsPerPixel;
    int mWidth = 0;
    int mHeight = 0;
    CameraStatistics mStatistics;
    bool mImagePending = false;
    std::mutex mImagePendingLock;
    std::atomic<bool> mRowCutWarned{false};
    // The wait thread's report of frames it could not deliver.
    long long mReportedAt = 0;
    int mUnreportedFrames = 0;

    // Serialises what host threads do with the camera: open and close,
    // starting and stopping, its parameters and node map. The wait thread
    // only ever tries it, so a host thread holding it never stalls image
    // delivery; nothing waits for the wait thread while holding it.
    std::mutex mControlLock;
    // Closing: no grab starts any more. Guarded by mControlLock.
    bool mClosing = false;
    // Serialises the stream's filled buffers between a delivery on the wait
    // thread and the discard before a grab starts.
    std::mutex mStreamLock;

    // The grab state, guarded by mStateLock, which is held for a few
    // instructions at a time and never while calling out.
    std::mutex mStateLock;
    std::atomic<bool> mGrabbing{false};
    // Counts starts and stops: a delivery, or a stop the wait thread asked
    // for, that belongs to an acquisition that has ended does nothing.
    std::uint64_t mAcquisition = 0;
    // The host's stop of the acquisition mAcquisition is settling.
    bool mStopping = false;
    // The single grab of the acquisition has taken its image.
    bool mSingleTaken = false;
    // A grab asked for while the acquisition stops.
    bool mGrabRequested = false;
    // The wait thread asks for acquisition mStopAcquisition to stop.
    bool mStopPending = false;
    std::uint64_t mStopAcquisition = 0;
    PendingStop mStopKind = PendingStop::SingleDone;
    // Restarts of the single grab under way after incomplete frames.
    int mSingleRetries = 0;
    // An image delivery on the wait thread, which closing waits for.
    bool mDelivering = false;
    std::thread::id mDeliveryThread;
    std::condition_variable mDeliveryDone;
};
