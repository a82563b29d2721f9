#include "camera/Camera.h"

#include "camera/CameraWaitThread.h"
#include "diag/DriverContext.h"
#include "transport/DataStream.h"
#include "transport/Device.h"

#include <string>

Camera::Camera(const char* name, const CameraInfo& info, std::shared_ptr<Kavrix::Device> device,
               CameraWaitThread& waitThread)
    : mDevice(std::move(device)), mWaitThread(waitThread), mInfo(info), mParameters(info),
      mBitsPerPixel(info.IsColor() ? 24 : 8)
{
    if (name == nullptr || !mDevice) {
        Log(1, "Camera::Camera: ERROR: parameters name and/or device are 0\n");
        throw "Err";
    }
    mName = name;
}

Camera::~Camera()
{
    Log(2, "Camera::~Camera: camera %s on port %d \n", mName.c_str(), mPort.load());
    if (mIsOpen) {
        Close();
    }
}

void Camera::SetCompleteCB(CompleteCallback callback)
{
    std::string line = "Camera::SetCompleteCB: ";
    const CompleteCallback stored = mCompleteCB.load();
    if (stored != nullptr) {
        line += "CB was already assigned. ";
        if (callback == stored) {
            line += "The new CB is the same function. ";
        }
    }
    if (callback == nullptr) {
        line += "Resetting CB to null. ";
    }
    line += "\n";
    Log(2, "%s", line.c_str());
    mCompleteCB = callback;
}

const unsigned char* Camera::GetRow(int row, const unsigned char* destination)
{
    if (!mImageBuffer) {
        return nullptr;
    }
    if (row == 0 && destination != nullptr) {
        mImageBuffer->FollowReader(destination);
    }
    const unsigned char* line = mImageBuffer->GetLine(row);
    if (row == mHeight - 1) {
        SetImagePending(false);
    }
    return line;
}

bool Camera::FirstRowCutOfImage()
{
    // Read first: a host that always asks past the end then costs no write per row.
    return !mRowCutWarned.load(std::memory_order_relaxed) && !mRowCutWarned.exchange(true, std::memory_order_relaxed);
}

void Camera::SetImagePending(bool pending)
{
    std::lock_guard<std::mutex> lock(mImagePendingLock);
    if (mImagePending && pending) {
        LogTiming(mName.c_str(), true, "New image arrived while previous not read by Pellix");
    }
    mImagePending = pending;
    if (pending) {
        mRowCutWarned.store(false, std::memory_order_relaxed);
    }
}

void Camera::PrintStats()
{
    const std::string stream = StreamStatistics();
    Log(1, "Camera statistics\nFrames:\t\t%d\nDropped:\t\t%d\nGrabInProgress:\t%d\n%s", mStatistics.mFrames.load(),
        mStatistics.mDropped.load(), mStatistics.mGrabInProgress.load(), stream.c_str());
}

std::string Camera::StreamStatistics()
{
    // A network producer tells what its stream did: where frames and
    // packets went, and how it receives them.
    Control control(*this);
    const Kavrix::DataStream* stream = mDevice->GetDataStream();
    if (stream == nullptr) {
        return std::string();
    }
    const auto number = [&](std::int32_t command) {
        const std::optional<std::uint64_t> value = stream->GetInfoNumber(command);
        return value ? std::to_string(*value) : std::string("-");
    };
    const std::optional<std::string> path = stream->GetInfoText(STREAM_INFO_RECEIVE_PATH);
    if (!path && !stream->GetInfoNumber(STREAM_INFO_NUM_DELIVERED)) {
        return std::string();
    }
    return "Stream:\t\tdelivered " + number(STREAM_INFO_NUM_DELIVERED) + ", incomplete " +
           number(STREAM_INFO_NUM_INCOMPLETE) + ", underruns " + number(STREAM_INFO_NUM_UNDERRUN) +
           "\nPackets:\treceived " + number(STREAM_INFO_PACKETS_RECEIVED) + ", missing " +
           number(STREAM_INFO_PACKETS_MISSING) + ", out of range " + number(STREAM_INFO_PACKETS_OUT_OF_RANGE) +
           ", resend requests " + number(STREAM_INFO_RESEND_REQUESTS) + ", resent " +
           number(STREAM_INFO_PACKETS_RESENT) + "\nReceiving:\tpacket size " + number(STREAM_INFO_PACKET_SIZE) +
           ", receive buffer " + number(STREAM_INFO_RECEIVE_BUFFER) + " bytes, " + path.value_or("-") + "\n";
}

void Camera::ResetStats()
{
    mStatistics.mFrames.exchange(0);
    mStatistics.mDropped.exchange(0);
    mStatistics.mGrabInProgress.exchange(0);
}
