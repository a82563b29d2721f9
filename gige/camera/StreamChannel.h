// Stream channel 0 of one served camera: a thread that sends the camera's
// frames (leader, payload packets, trailer) to the destination the host set,
// when they fall due, at the packet size and delay the host set; resends
// packets of its last frames on request; fires test packets; and shows the
// stream faults it was asked for.
#pragma once

#include "CameraCore.h"
#include "FaultDice.h"
#include "FrameRing.h"
#include "Options.h"
#include "Silence.h"
#include "StreamPackets.h"
#include "camsim/FramePattern.h"
#include "os/UdpSocket.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace GigeCamera {

struct StreamSettings {
    std::string mLabel;            // the camera in log lines
    std::uint32_t mResendFrames;   // frames kept for resend requests
    FaultOptions mFaults;
    std::uint32_t mSeed;
};

struct StreamCounts {
    std::uint64_t mFrames = 0;
    std::uint64_t mPackets = 0;          // sent, resent ones included
    std::uint64_t mDropped = 0;          // by the drop fault
    std::uint64_t mMalformed = 0;
    std::uint64_t mResendRequests = 0;
    std::uint64_t mResent = 0;
    std::uint64_t mResentDropped = 0;    // by the resent drop fault
    std::uint64_t mUnavailable = 0;      // answers "packet unavailable"
    std::uint64_t mSendFailures = 0;
};

class StreamChannel {
public:
    // The socket is bound to the camera's address. Starts the thread; raises
    // std::system_error when it cannot.
    StreamChannel(CameraCore& core, Os::UdpSocket socket, StreamSettings settings, const Silence& silence);
    // Stops.
    ~StreamChannel();
    StreamChannel(const StreamChannel&) = delete;
    StreamChannel& operator=(const StreamChannel&) = delete;

    // Ends the thread; the camera sends nothing more.
    void Stop();
    // Only once stopped.
    StreamCounts Counts() const { return mCounts; }

private:
    // What the host set, read under the core's lock.
    struct Config {
        Os::Endpoint mDestination;
        std::uint32_t mPacketSize = 0;
        bool mDontFragment = false;
        bool mExtended = false;
        std::chrono::nanoseconds mDelay{0};

        bool IsOpen() const { return !mDestination.address.IsAny() && mDestination.port != 0; }
    };

    void Run();
    Config ReadConfig() const;
    // Called with the core's lock held; sends without it.
    void SendFrame(std::unique_lock<std::mutex>& lock, const Config& config);
    bool FillFrame(SentFrame& frame, const CamSim::FrameGeometry& geometry, std::uint32_t number,
                   std::uint64_t timestamp, const Config& config);
    // Serves the requests waiting, without the core's lock.
    void ServeRequests(const Config& config);
    void Resend(const Gige::PacketResend& request, const Config& config);
    void SendTestPacket(const Config& config);
    // Waits for the packet delay, then sends; false when the packet did not
    // go. Transmit says so in the log, once a stream.
    bool Transmit(const Config& config, const Datagram& datagram);
    bool Send(const Config& config, const Datagram& datagram);
    void Pace(std::chrono::nanoseconds delay);
    void UpdateSession(const Config& config);
    void EndSession();
    std::uint64_t NextBlockId(bool extended);

    CameraCore& mCore;
    Os::UdpSocket mSocket;
    const StreamSettings mSettings;
    const Silence& mSilence;
    FaultDice mDice;
    FrameRing mRing;
    CamSim::FramePattern mPattern;
    std::vector<std::uint8_t> mZeros;
    std::vector<std::uint8_t> mTestPacket;
    std::uint64_t mBlocksSent = 0;
    std::optional<bool> mDontFragment;
    std::chrono::steady_clock::time_point mNextSend;
    bool mLastFrameFailed = false;
    bool mPacketSizeReported = false;
    // The destination packets go to now, and the counts when it was set.
    Os::Endpoint mSessionDestination;
    StreamCounts mSessionStart;
    bool mSendFailureReported = false;
    StreamCounts mCounts;
    std::atomic<bool> mStopping{false};
    // What the packet delay waits on, so that stopping need not wait for it.
    std::mutex mPaceMutex;
    std::condition_variable mPaceWake;
    std::thread mThread;
};

}
