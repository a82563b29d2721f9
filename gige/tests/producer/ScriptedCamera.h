// A camera in the test's own process, in the private network namespace of
// cmake/netns-run.sh, that misbehaves on request: it answers late, twice,
// with the wrong ID, asks for more time, refuses, or falls silent. What
// Aravis's fake camera cannot do (PENDING_ACK, error statuses, WRITEMEM
// capability), so the producer's control channel meets all of it.
//
// It listens on port 3956 of every address and names itself at the host's
// own address on veth-kx0 (169.254.10.1), so its acks come from the address
// the producer talks to; it answers discovery by broadcast out of veth-kx0,
// as a camera on another subnet would.
#pragma once

#include "os/UdpSocket.h"
#include "wire/Discovery.h"
#include "wire/GvcpHeader.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace Test {

constexpr Os::Ipv4Address CameraAddress(169, 254, 10, 1);
inline const char* const Adapter = "veth-kx0";
inline const char* const Interface = "veth-kx0 (169.254.10.1/16)";

class ScriptedCamera {
public:
    // Answers discovery with each of the identities (more than one: several
    // cameras at once); registers start at 0 but for heartbeat timeout,
    // URL and test register.
    explicit ScriptedCamera(std::vector<Gige::DeviceInfo> identities = {Identity()});
    ~ScriptedCamera();
    ScriptedCamera(const ScriptedCamera&) = delete;
    ScriptedCamera& operator=(const ScriptedCamera&) = delete;

    // "Kavrix KX-1300-60gm (21810742)" at 169.254.10.1/16.
    static Gige::DeviceInfo Identity();

    // The script, for the requests that follow.
    struct Script {
        int mDrop = 0;                  // requests left unanswered (each try counts)
        bool mSilent = false;           // answers nothing more
        std::uint16_t mPendingMs = 0;   // READMEM: PENDING_ACK first, the answer after this long
        bool mStrayFirst = false;       // before each answer: wrong ID, wrong code, wrong size
        std::uint32_t mRefuseAddress = 0xFFFFFFFF;   // writes there: GVCP status 0x8006
        std::uint32_t mReadMemDelayMs = 0;           // every READMEM answers this late
    };
    void SetScript(const Script& script);

    void SetRegister(std::uint32_t address, std::uint32_t value);
    std::uint32_t Register(std::uint32_t address);
    void SetBytes(std::uint32_t address, const std::vector<std::uint8_t>& bytes);

    // Requests seen, by command code.
    int Seen(Gige::GvcpCode command);
    // READREG requests of the privilege register seen since the last call.
    int TakePrivilegeReads();

private:
    void Run();
    void Answer(const std::uint8_t* data, std::size_t size, const Os::Endpoint& from);
    void Send(const Gige::GvcpBuffer& buffer, std::size_t size, const Os::Endpoint& to);

    std::vector<Gige::DeviceInfo> mIdentities;
    Os::UdpSocket mSocket;       // port 3956
    Os::UdpSocket mBroadcaster;  // discovery acks out of veth-kx0
    std::mutex mMutex;
    Script mScript;
    std::vector<std::uint8_t> mMemory;
    std::map<Gige::GvcpCode, int> mSeen;
    int mPrivilegeReads = 0;
    std::atomic<bool> mStop{false};
    std::thread mThread;
};

}
