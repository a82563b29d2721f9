// The control channel of one served camera: a thread that answers the GVCP
// requests arriving at the camera's address (port 3956) and the discovery
// requests the adapter's listener hands it, keeps track of the controlling
// host and its heartbeat, and passes resend and test packet requests to the
// stream thread.
#pragma once

#include "CameraCore.h"
#include "ControlPrivilege.h"
#include "Silence.h"
#include "os/UdpSocket.h"
#include "wire/GvcpHeader.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace GigeCamera {

struct ControlSettings {
    std::string mLabel;              // the camera in log lines
    std::uint32_t mSubnetMask;
    std::uint32_t mSlowStartMs;      // a write to AcquisitionStart takes this long
    bool mOffersResend;
};

struct ControlCounts {
    std::uint64_t mResendRequests = 0;   // handed to the stream
    std::uint64_t mResendIgnored = 0;    // from another host than the controller, or malformed
    std::uint64_t mRejected = 0;         // datagrams that are no sound GVCP command
};

class ControlServer {
public:
    // The socket is bound to the camera's address and port 3956. Starts the
    // thread; raises std::system_error when it cannot.
    ControlServer(CameraCore& core, Os::UdpSocket socket, ControlSettings settings, const Silence& silence);
    // Stops.
    ~ControlServer();
    ControlServer(const ControlServer&) = delete;
    ControlServer& operator=(const ControlServer&) = delete;

    // A discovery request heard on the adapter; the camera answers it from
    // its own address.
    void QueueDiscovery(const Os::Endpoint& host, std::uint16_t requestId, bool allowBroadcastAck);
    // Ends the thread; the camera answers nothing more.
    void Stop();
    // Only once stopped.
    ControlCounts Counts() const { return mCounts; }

private:
    struct Discovery {
        Os::Endpoint mHost;
        std::uint16_t mRequestId;
        bool mAllowBroadcastAck;
    };
    // The last acknowledge sent, sent again for a repeated request (a host
    // that missed it) without doing the request twice.
    struct LastAck {
        bool mValid = false;
        Os::Endpoint mHost;
        Gige::GvcpCode mCommand = Gige::GvcpCode::ReadRegCmd;
        std::uint16_t mRequestId = 0;
        Gige::GvcpBuffer mBytes{};
        std::size_t mSize = 0;
    };

    void Run();
    void Handle(const std::uint8_t* data, std::size_t size, const Os::Endpoint& from);
    std::size_t Execute(const Gige::GvcpCommand& command, const Os::Endpoint& from, Gige::GvcpBuffer& ack);
    void AnswerDiscovery(const Discovery& discovery);
    void HandleResend(const Gige::GvcpCommand& command, const Os::Endpoint& from);
    void Send(const Os::Endpoint& to, const Gige::GvcpBuffer& bytes, std::size_t size);
    // Waits the slow-start time (sending a pending ack first where the host
    // enabled them) when the write starts acquisition.
    void DelayIfSlow(const Gige::GvcpCommand& command, const Os::Endpoint& from);

    // The requests, under the core's lock (ControlAccess.cpp).
    std::size_t ReadRegisters(const Gige::GvcpCommand& command, const Os::Endpoint& from, Gige::GvcpBuffer& ack);
    std::size_t WriteRegisters(const Gige::GvcpCommand& command, const Os::Endpoint& from, Gige::GvcpBuffer& ack);
    std::size_t ReadMemory(const Gige::GvcpCommand& command, const Os::Endpoint& from, Gige::GvcpBuffer& ack);
    std::size_t WriteMemory(const Gige::GvcpCommand& command, const Os::Endpoint& from, Gige::GvcpBuffer& ack);
    std::uint16_t ReadWord(std::uint32_t address, const Os::Endpoint& from, std::uint32_t& value);
    std::uint16_t WriteWord(std::uint32_t address, std::uint32_t value, const Os::Endpoint& from);
    bool MayRead(const Os::Endpoint& from) const;
    void AfterWrite();

    // Privilege, under the core's lock (ControlSession.cpp).
    std::uint16_t WritePrivilege(std::uint32_t value, const Os::Endpoint& from);
    void EndSession(const std::string& why);
    void CheckHeartbeat();
    std::uint32_t MillisecondsToHeartbeatDeadline();

    CameraCore& mCore;
    Os::UdpSocket mSocket;
    const ControlSettings mSettings;
    const Silence& mSilence;
    ControlPrivilege mPrivilege;
    LastAck mLast;
    ControlCounts mCounts;
    std::mutex mQueueMutex;
    std::vector<Discovery> mDiscoveries;
    std::atomic<bool> mStopping{false};
    // What a slow request waits on, so that stopping need not wait for it.
    std::mutex mDelayMutex;
    std::condition_variable mDelayWake;
    std::thread mThread;
};

}
