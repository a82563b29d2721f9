// Cameras served in the test's own process on the lab of cmake/netns-run.sh,
// and a host's sockets on the other end of the link: a control channel that
// speaks with the wire encoders, and a stream receiver.
#pragma once

#include "CameraSet.h"
#include "Options.h"
#include "Silence.h"
#include "os/Ipv4Address.h"
#include "os/UdpSocket.h"
#include "wire/GvcpHeader.h"
#include "wire/GvspHeader.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace CameraLab {

// The host's end of the link and the cameras' end, with its two addresses.
inline const std::string HostSide = "veth-kx0";
inline const std::string CameraSide = "veth-kx1";
constexpr Os::Ipv4Address HostAddress(169, 254, 10, 1);
constexpr Os::Ipv4Address CameraAddress(169, 254, 20, 1);
constexpr Os::Ipv4Address SecondCameraAddress(169, 254, 30, 1);

// A feature register's address in the KX-1300's description.
std::uint32_t Kx1300Register(const char* name);

// The cameras of the options (the interface is the cameras' side), served
// until the object goes.
class Cameras {
public:
    explicit Cameras(GigeCamera::Options options = {});
    GigeCamera::Silence& GetSilence() { return mSilence; }
    // Stops the cameras and answers what the first one sent.
    GigeCamera::StreamCounts StopAndCount();

private:
    GigeCamera::Silence mSilence;
    GigeCamera::CameraSet mSet;
};

// A configuration file of the test's, removed with the object.
class ConfigFile {
public:
    explicit ConfigFile(const std::string& text);
    ~ConfigFile();
    const std::string& Path() const { return mPath; }

private:
    std::string mPath;
};

struct Ack {
    std::uint16_t mStatus;
    Gige::GvcpCode mCode;
    std::vector<std::uint8_t> mBody;
};

// A host's control channel: a socket on the host's side, tied to it, so that
// its datagrams cross the link.
class ControlClient {
public:
    explicit ControlClient(Os::Ipv4Address camera = CameraAddress);

    std::uint16_t NextId() { return mId == 0xFFFF ? (mId = 1) : ++mId; }
    // Sends the command and waits up to timeoutMs for an acknowledge of its
    // id; pending acknowledges are skipped unless keepPending.
    std::optional<Ack> Request(const Gige::GvcpBuffer& command, std::size_t size, std::uint32_t timeoutMs = 1000,
                               bool keepPending = false);
    void Send(const Gige::GvcpBuffer& command, std::size_t size);
    std::optional<Ack> Receive(std::uint16_t id, std::uint32_t timeoutMs, bool keepPending);
    // The status of each request; a request without an answer fails the test.
    std::uint16_t WriteRegister(std::uint32_t address, std::uint32_t value);
    std::uint16_t ReadRegister(std::uint32_t address, std::uint32_t& value);
    std::uint32_t ReadRegister(std::uint32_t address);
    std::uint16_t ReadMemory(std::uint32_t address, std::size_t count, std::vector<std::uint8_t>& data);
    std::uint16_t WriteMemory(std::uint32_t address, const std::vector<std::uint8_t>& data);
    std::uint16_t TakeControl(bool exclusive = false);

    Os::UdpSocket& Socket() { return mSocket; }
    const Os::Endpoint& Camera() const { return mCamera; }

private:
    Os::UdpSocket mSocket;
    Os::Endpoint mCamera;
    std::uint16_t mId = 0;
};

struct Packet {
    std::vector<std::uint8_t> mBytes;
    Gige::GvspHeader mHeader;
    const std::uint8_t* Body() const { return mBytes.data() + (mHeader.mExtended ? 20 : 8); }
    std::size_t BodySize() const { return mBytes.size() - (mHeader.mExtended ? 20 : 8); }
};

// A stream receiver on the host's side.
class StreamReceiver {
public:
    StreamReceiver();
    std::uint16_t Port() { return mSocket.LocalEndpoint().port; }
    // The next datagram, decoded where it is a stream packet (a datagram
    // shorter than a header comes with a zero header); none after timeoutMs.
    std::optional<Packet> Next(std::uint32_t timeoutMs = 2000);
    // Receivers ask for resends from their stream socket.
    Os::UdpSocket& Socket() { return mSocket; }
    // Datagrams until the trailer of the next frame (or timeoutMs).
    std::vector<Packet> Frame(std::uint32_t timeoutMs = 3000);

private:
    Os::UdpSocket mSocket;
};

// Points the camera's stream at the receiver: SCDA, SCP and the packet size.
void OpenStream(ControlClient& host, StreamReceiver& receiver, std::uint32_t packetSize);
// A small image, 64 x 32 Mono8, sent on each software trigger.
void TriggeredSmallImage(ControlClient& host);
void Trigger(ControlClient& host);

// What byte x of row y of frame n holds (bytes 0 to 3: n).
std::uint8_t PatternByte(std::size_t index, std::uint32_t width, std::uint32_t n);

}
