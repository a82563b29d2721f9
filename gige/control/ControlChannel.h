// The control channel to one camera: a UDP socket bound to the host
// interface's address, talking to the camera's port 3956. One request is in
// flight at a time (turns taken in order, so the heartbeat gets its turn
// between the pieces of a long transfer); a request that goes unanswered is
// sent again with the same ID; PENDING_ACK extends the wait; an error status
// fails the request with the producer's code for it. Once the camera is
// lost, every request fails at once.
#pragma once

#include "common/Settings.h"
#include "common/Status.h"
#include "control/AckFilter.h"
#include "control/RequestIds.h"
#include "control/TurnLock.h"
#include "os/UdpSocket.h"
#include "wire/GvcpHeader.h"

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>

namespace Gige {

class ControlChannel {
public:
    // cameraText names the camera in every message: "Aravis Fake (GV01) at 169.254.100.1".
    ControlChannel(const Settings& settings, std::string cameraText);
    ControlChannel(const ControlChannel&) = delete;
    ControlChannel& operator=(const ControlChannel&) = delete;

    Status Open(Os::Ipv4Address local, Os::Ipv4Address camera);
    // Waits for the request in flight, then closes the socket.
    void Close();

    // One request. encode(requestId, buffer) writes the command and returns
    // its size (0: it cannot be encoded); expect(requestId) is the ack that
    // answers it. On success ack holds the answer, its body in reply. what
    // names the request in messages ("READREG 0x0A00"). When silenceLoses,
    // a request that goes unanswered loses the camera (the heartbeat's).
    template <class Encode, class Expect>
    Status Request(Encode encode, Expect expect, const std::string& what, GvcpBuffer& reply, GvcpAck& ack,
                   bool silenceLoses = false)
    {
        const std::lock_guard<TurnLock> turn(mTurn);
        const std::uint16_t id = mIds.Next();
        const std::size_t size = encode(id, mCommand);
        return Transact(size, expect(id), what, reply, ack, silenceLoses);
    }

    // From now on every request fails at once with GC_ERR_TIMEOUT and why.
    void MarkLost(const std::string& why);
    bool IsLost() const { return mLost.load(); }
    // "<camera>: heartbeat lost: ..." once lost, else empty.
    std::string LostText() const;
    const std::string& CameraText() const { return mCameraText; }

private:
    Status Transact(std::size_t size, const ExpectedAck& expected, const std::string& what, GvcpBuffer& reply,
                    GvcpAck& ack, bool silenceLoses);
    // Drops what arrived since the last request: late answers to it.
    void Flush(GvcpBuffer& scratch);

    const unsigned mTries;
    const std::uint32_t mTimeoutMs;
    const std::string mCameraText;
    TurnLock mTurn;
    Os::UdpSocket mSocket;
    Os::Endpoint mCamera;
    RequestIds mIds;
    GvcpBuffer mCommand{};
    std::atomic<bool> mLost{false};
    mutable std::mutex mLostMutex;
    std::string mLostText;
};

}
