// One physical camera as the host sees it: created by the camera list,
// bound to a host port while open, grabbing through the wait thread.
#pragma once

#include "camera/CameraStatistics.h"
#include "camera/ImageBuffer.h"
#include "kavrix.h"
#include "params/CameraInfo.h"
#include "params/CameraParameters.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
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

    // Opens and binds to portNo with the stored settings; size receives width
    // and height. False when already open; any other failure is undone and
    // raised again.
    bool Open(int portNo, int* size);
    // Stops grabbing, unbinds and closes the device; raises nothing.
    void Close();
    // Close for the host: refused (false) from inside the debug callback,
    // where it would wait for a delivery that waits to log.
    bool CloseFromHost();
    void SetCompleteCB(CompleteCallback callback);

    // Starts grabbing in the current mode; a request made while a single
    // grab's image is being delivered starts the next grab once it stopped.
    bool Grab();
    void MakeGrabbing(bool on);
    void SetContinuousGrab(bool on);
    // The start of a row of the last image, or null.
    const unsigned char* GetRow(int row);
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

    // The wait thread's side: the image event of a grabbing camera, and the
    // delivery of its image. BeginDelivery is called while the camera is
    // still registered, so a closing host waits for the delivery to end.
    const std::shared_ptr<Os::Event>& GetImageReceivedEvent();
    void RequeueHeldBuffers();
    void BeginDelivery();
    void ProcessEvent();
    void EndDelivery();
    // Returns once no delivery runs on another thread.
    void WaitForDelivery();

    const CameraStatistics& GetStatistics() const { return mStatistics; }

private:
    void CleanupOnClose();
    bool LoadSettings();
    void ApplyLogSettings();
    void PutCameraIntoMono8();
    void SetImageSize(int* size);
    // Both run with mGrabLock held.
    void MakeGrabbingLocked(bool on, bool settle);
    void DiscardLeftovers();
    void StopSingleGrab();
    bool CopyImage(DeliveryProbe* probe);
    void DeliverImage();

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
    std::atomic<bool> mGrabbing{false};
    // Serializes starting and stopping, and the marks below.
    std::recursive_mutex mGrabLock;
    // A single grab's image has been taken and its stop has not finished.
    bool mSingleImageTaken = false;
    // A grab asked for meanwhile, started when that stop is done.
    bool mGrabRequested = false;
    std::atomic<bool> mClosing{false};
    int mBitsPerPixel;
    int mWidth = 0;
    int mHeight = 0;
    CameraStatistics mStatistics;
    bool mImagePending = false;
    std::mutex mImagePendingLock;
    std::atomic<bool> mRowCutWarned{false};
    // An image delivery on the wait thread, which closing waits for.
    std::mutex mDeliveryLock;
    std::condition_variable mDeliveryDone;
    bool mDelivering = false;
    std::thread::id mDeliveryThread;
    // Counts opens and closes, so a delivery notices that the host closed
    // or reopened the camera from inside its callback.
    std::atomic<unsigned> mGeneration{0};
};
