// DISCOVERY and its ack, whose 248-byte body is a copy of the camera's
// bootstrap registers 0x0000-0x00F7: who the camera is and where it lives.
#pragma once

#include "wire/GvcpHeader.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace Gige {

constexpr std::size_t DiscoveryAckLength = 0xF8;

using MacAddress = std::array<std::uint8_t, 6>;

// IPv4 addresses are numbers in host order: 169.254.100.1 is 0xA9FE6401.
struct DeviceInfo {
    std::uint32_t mVersion;           // major << 16 | minor
    std::uint32_t mDeviceMode;        // Bootstrap::DeviceModeBigEndian, device class
    MacAddress mMac;
    std::uint32_t mIpConfigOptions;   // what the camera supports, Bootstrap::IpConfig*
    std::uint32_t mIpConfigCurrent;   // what it uses now
    std::uint32_t mIp;
    std::uint32_t mSubnetMask;
    std::uint32_t mGateway;
    // The texts end at their first NUL or at the end of their field, which
    // a camera may fill without one; their bytes are kept as they came.
    std::string mManufacturer;        // 32 bytes on the wire
    std::string mModel;               // 32
    std::string mDeviceVersion;       // 32
    std::string mManufacturerInfo;    // 48
    std::string mSerial;              // 16
    std::string mUserName;            // 16
};

// The host's side: the command asks for an ack; allowBroadcastAck lets a
// camera on another subnet answer by broadcast.
std::size_t EncodeDiscoveryCommand(std::uint16_t requestId, bool allowBroadcastAck, GvcpBuffer& out);
WireError DecodeDiscoveryAck(const GvcpAck& ack, DeviceInfo& info);

// The camera's side. The ack encoder returns 0 when a text is longer than
// its field, rather than cut it.
WireError DecodeDiscoveryCommand(const GvcpCommand& command, bool& allowBroadcastAck);
std::size_t EncodeDiscoveryAck(std::uint16_t ackId, const DeviceInfo& info, GvcpBuffer& out);

}
