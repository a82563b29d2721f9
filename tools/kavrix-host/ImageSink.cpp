#include "ImageSink.h"

#include <condition_variable>
#include <mutex>

namespace {

struct SinkState {
    std::mutex mLock;
    std::condition_variable mArrived;
    const DriverFunctions* mDriver = nullptr;
    int mPort = -1;
    int mWidth = 0;
    int mHeight = 0;
    std::vector<unsigned char> mImage;
    std::uint64_t mImages = 0;
    std::uint64_t mFailedRows = 0;
};

SinkState sState;

int ReceiveImage(int, int port)
{
    std::unique_lock<std::mutex> lock(sState.mLock);
    if (sState.mDriver == nullptr || port != sState.mPort) {
        return 0;
    }
    for (int row = 0; row < sState.mHeight; ++row) {
        unsigned char* destination = sState.mImage.data() + static_cast<std::size_t>(row) * sState.mWidth;
        if (sState.mDriver->getCVLGrabRow(0, port, destination, row, 0, sState.mWidth - 1) != 1) {
            ++sState.mFailedRows;
        }
    }
    ++sState.mImages;
    lock.unlock();
    sState.mArrived.notify_all();
    return 0;
}

}

ImageSink::ImageSink(const DriverFunctions& driver, int port, int width, int height)
{
    std::lock_guard<std::mutex> lock(sState.mLock);
    sState.mDriver = &driver;
    sState.mPort = port;
    sState.mWidth = width;
    sState.mHeight = height;
    sState.mImage.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    sState.mImages = 0;
    sState.mFailedRows = 0;
}

ImageSink::~ImageSink()
{
    std::lock_guard<std::mutex> lock(sState.mLock);
    sState.mDriver = nullptr;
}

CompleteCallback ImageSink::Callback()
{
    return &ReceiveImage;
}

bool ImageSink::WaitForImages(std::uint64_t count, std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(sState.mLock);
    return sState.mArrived.wait_for(lock, timeout, [count] { return sState.mImages > count; });
}

std::uint64_t ImageSink::ImageCount() const
{
    std::lock_guard<std::mutex> lock(sState.mLock);
    return sState.mImages;
}

std::uint64_t ImageSink::FailedRows() const
{
    std::lock_guard<std::mutex> lock(sState.mLock);
    return sState.mFailedRows;
}

std::vector<unsigned char> ImageSink::LastImage() const
{
    std::lock_guard<std::mutex> lock(sState.mLock);
    return sState.mImage;
}
