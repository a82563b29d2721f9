#include "ImageReceiver.h"

#include <condition_variable>
#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

namespace TestSupport {

namespace {

struct PortState {
    int mWidth = 0;
    int mHeight = 0;
    bool mCheckPattern = true;
    int mOffset = 0;
    std::vector<unsigned char> mImage;
    std::uint64_t mCount = 0;
    std::uint64_t mBad = 0;
    std::vector<std::uint32_t> mFrames;
    std::vector<std::chrono::steady_clock::time_point> mArrivals;
    std::function<void(std::uint64_t)> mAction;
};

struct ReceiverState {
    std::mutex mLock;
    std::condition_variable mArrived;
    const DriverFunctions* mDriver = nullptr;
    std::map<int, PortState> mPorts;
    std::uint64_t mStray = 0;
};

ReceiverState sState;

bool MatchesPattern(const std::vector<unsigned char>& image, int width, int height, int offset, std::uint32_t frame)
{
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = image.data() + static_cast<std::size_t>(y) * width;
        for (int x = y == 0 ? 4 : 0; x < width; ++x) {
            if (row[x] != static_cast<unsigned char>((x + y + offset + frame) & 0xFF)) {
                return false;
            }
        }
    }
    return true;
}

int Receive(int status, int port)
{
    std::function<void(std::uint64_t)> action;
    std::uint64_t count = 0;
    {
        std::unique_lock<std::mutex> lock(sState.mLock);
        const auto found = sState.mPorts.find(port);
        if (sState.mDriver == nullptr || found == sState.mPorts.end() || status != 0) {
            ++sState.mStray;
            return 0;
        }
        PortState& state = found->second;
        bool good = true;
        for (int row = 0; row < state.mHeight; ++row) {
            unsigned char* destination = state.mImage.data() + static_cast<std::size_t>(row) * state.mWidth;
            good = sState.mDriver->getCVLGrabRow(0, port, destination, row, 0, state.mWidth - 1) == 1 && good;
        }
        std::uint32_t frame = 0;
        std::memcpy(&frame, state.mImage.data(), sizeof frame);
        if (state.mCheckPattern) {
            good = good && MatchesPattern(state.mImage, state.mWidth, state.mHeight, state.mOffset, frame);
        }
        state.mBad += good ? 0 : 1;
        state.mFrames.push_back(frame);
        state.mArrivals.push_back(std::chrono::steady_clock::now());
        count = ++state.mCount;
        action = state.mAction;
    }
    sState.mArrived.notify_all();
    // Outside the receiver's lock: the action calls back into the driver.
    if (action) {
        action(count);
    }
    return 0;
}

}

ImageReceiver::ImageReceiver(const DriverFunctions& driver)
{
    std::lock_guard<std::mutex> lock(sState.mLock);
    sState.mDriver = &driver;
    sState.mPorts.clear();
    sState.mStray = 0;
}

ImageReceiver::~ImageReceiver()
{
    std::lock_guard<std::mutex> lock(sState.mLock);
    sState.mDriver = nullptr;
    sState.mPorts.clear();
}

CompleteCallback ImageReceiver::Callback()
{
    return &Receive;
}

void ImageReceiver::Expect(int port, int width, int height, bool checkPattern, int offset)
{
    std::lock_guard<std::mutex> lock(sState.mLock);
    PortState& state = sState.mPorts[port];
    state.mWidth = width;
    state.mHeight = height;
    state.mCheckPattern = checkPattern;
    state.mOffset = offset;
    state.mImage.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
}

void ImageReceiver::OnImage(int port, std::function<void(std::uint64_t)> action)
{
    std::lock_guard<std::mutex> lock(sState.mLock);
    sState.mPorts[port].mAction = std::move(action);
}

bool ImageReceiver::WaitForImages(int port, std::uint64_t count, std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(sState.mLock);
    return sState.mArrived.wait_for(lock, timeout, [&] { return sState.mPorts[port].mCount >= count; });
}

std::uint64_t ImageReceiver::Count(int port) const
{
    std::lock_guard<std::mutex> lock(sState.mLock);
    return sState.mPorts[port].mCount;
}

std::vector<std::uint32_t> ImageReceiver::FrameNumbers(int port) const
{
    std::lock_guard<std::mutex> lock(sState.mLock);
    return sState.mPorts[port].mFrames;
}

std::chrono::milliseconds ImageReceiver::LongestGap(int port, std::uint64_t from) const
{
    std::lock_guard<std::mutex> lock(sState.mLock);
    const auto& arrivals = sState.mPorts[port].mArrivals;
    std::chrono::steady_clock::duration longest{};
    for (std::size_t i = static_cast<std::size_t>(from) + 1; i < arrivals.size(); ++i) {
        longest = std::max(longest, arrivals[i] - arrivals[i - 1]);
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(longest);
}

std::vector<unsigned char> ImageReceiver::LastImage(int port) const
{
    std::lock_guard<std::mutex> lock(sState.mLock);
    return sState.mPorts[port].mImage;
}

std::uint64_t ImageReceiver::BadImages(int port) const
{
    std::lock_guard<std::mutex> lock(sState.mLock);
    return sState.mPorts[port].mBad;
}

std::uint64_t ImageReceiver::StrayCalls() const
{
    std::lock_guard<std::mutex> lock(sState.mLock);
    return sState.mStray;
}

}
