// The bootstrap registers every camera has at fixed addresses, and their
// bits. Registers are 32 bits, big-endian.
#pragma once

#include <cstdint>

namespace Gige::Bootstrap {

constexpr std::uint32_t Version = 0x0000;                 // major << 16 | minor
constexpr std::uint32_t DeviceMode = 0x0004;
constexpr std::uint32_t DeviceModeBigEndian = 0x80000000;
constexpr std::uint32_t DeviceModeClassMask = 0x70000000;
constexpr std::uint32_t MacHigh = 0x0008;                 // the first 2 bytes, in the low half
constexpr std::uint32_t MacLow = 0x000C;                  // the last 4 bytes

constexpr std::uint32_t IpConfigOptions = 0x0010;         // what the camera supports
constexpr std::uint32_t IpConfigCurrent = 0x0014;         // what it uses now
constexpr std::uint32_t IpConfigPersistent = 0x1;
constexpr std::uint32_t IpConfigDhcp = 0x2;
constexpr std::uint32_t IpConfigLla = 0x4;
constexpr std::uint32_t CurrentIp = 0x0024;
constexpr std::uint32_t CurrentSubnetMask = 0x0034;
constexpr std::uint32_t CurrentGateway = 0x0044;

// Texts, NUL-terminated unless they fill their field.
constexpr std::uint32_t Manufacturer = 0x0048;
constexpr std::uint32_t ManufacturerSize = 32;
constexpr std::uint32_t Model = 0x0068;
constexpr std::uint32_t ModelSize = 32;
constexpr std::uint32_t DeviceVersion = 0x0088;
constexpr std::uint32_t DeviceVersionSize = 32;
constexpr std::uint32_t ManufacturerInfo = 0x00A8;
constexpr std::uint32_t ManufacturerInfoSize = 48;
constexpr std::uint32_t SerialNumber = 0x00D8;
constexpr std::uint32_t SerialNumberSize = 16;
constexpr std::uint32_t UserName = 0x00E8;
constexpr std::uint32_t UserNameSize = 16;

// Where the GenICam description is, e.g. "Local:camera.zip;10000;3e67".
constexpr std::uint32_t FirstUrl = 0x0200;
constexpr std::uint32_t SecondUrl = 0x0400;
constexpr std::uint32_t UrlSize = 512;

constexpr std::uint32_t MessageChannelCount = 0x0900;
constexpr std::uint32_t StreamChannelCount = 0x0904;

// What the camera can do beyond reading and writing registers.
constexpr std::uint32_t Capability = 0x0934;
constexpr std::uint32_t CapabilityConcatenation = 0x1;   // several registers in one READREG / WRITEREG
constexpr std::uint32_t CapabilityWriteMem = 0x2;
constexpr std::uint32_t CapabilityPacketResend = 0x4;
constexpr std::uint32_t CapabilityEvent = 0x8;
constexpr std::uint32_t CapabilityEventData = 0x10;
constexpr std::uint32_t CapabilityPendingAck = 0x20;
constexpr std::uint32_t CapabilityAction = 0x40;
constexpr std::uint32_t CapabilityHeartbeatDisable = 0x20000000;
constexpr std::uint32_t CapabilitySerialNumber = 0x40000000;     // the serial number register
constexpr std::uint32_t CapabilityUserDefinedName = 0x80000000;  // the user-defined name register

constexpr std::uint32_t HeartbeatTimeout = 0x0938;       // milliseconds
constexpr std::uint32_t TimestampFrequencyHigh = 0x093C; // ticks per second
constexpr std::uint32_t TimestampFrequencyLow = 0x0940;
constexpr std::uint32_t TimestampControl = 0x0944;
constexpr std::uint32_t TimestampControlReset = 0x1;
constexpr std::uint32_t TimestampControlLatch = 0x2;
constexpr std::uint32_t TimestampValueHigh = 0x0948;     // the latched value
constexpr std::uint32_t TimestampValueLow = 0x094C;
constexpr std::uint32_t DiscoveryAckDelay = 0x0950;      // milliseconds

constexpr std::uint32_t GvcpConfig = 0x0954;
constexpr std::uint32_t GvcpConfigHeartbeatDisable = 0x1;
constexpr std::uint32_t GvcpConfigPendingAck = 0x2;
constexpr std::uint32_t PendingTimeout = 0x0958;         // milliseconds
constexpr std::uint32_t GvspConfig = 0x0960;
constexpr std::uint32_t GvspConfigExtendedIds = 0x40000000;  // 64-bit block IDs, 32-bit packet IDs

// Control channel privilege: who controls the camera. A host holding
// control keeps it by a request at least every heartbeat timeout.
constexpr std::uint32_t Ccp = 0x0A00;
constexpr std::uint32_t CcpExclusive = 0x1;
constexpr std::uint32_t CcpControl = 0x2;
constexpr std::uint32_t CcpSwitchover = 0x4;
constexpr std::uint32_t CcpKeyMask = 0xFFFF0000;

// Stream channel n's registers lie StreamChannelStride apart.
constexpr std::uint32_t StreamChannelStride = 0x40;

// SCP: where the stream goes. A host port of 0 stops the channel.
constexpr std::uint32_t Scp(std::uint32_t channel) { return 0x0D00 + StreamChannelStride * channel; }
constexpr std::uint32_t ScpDirection = 0x80000000;
constexpr std::uint32_t ScpInterfaceMask = 0x000F0000;
constexpr std::uint32_t ScpHostPortMask = 0x0000FFFF;

// SCPS: the stream packet size, the whole IP datagram.
constexpr std::uint32_t Scps(std::uint32_t channel) { return 0x0D04 + StreamChannelStride * channel; }
constexpr std::uint32_t ScpsFireTestPacket = 0x80000000;
constexpr std::uint32_t ScpsDoNotFragment = 0x40000000;
constexpr std::uint32_t ScpsBigEndian = 0x20000000;
constexpr std::uint32_t ScpsPacketSizeMask = 0x0000FFFF;

// SCPD: the delay between stream packets, in timestamp ticks.
constexpr std::uint32_t Scpd(std::uint32_t channel) { return 0x0D08 + StreamChannelStride * channel; }
// SCDA: the destination IP address, possibly multicast.
constexpr std::uint32_t Scda(std::uint32_t channel) { return 0x0D18 + StreamChannelStride * channel; }
// SCSP: the camera's source port.
constexpr std::uint32_t Scsp(std::uint32_t channel) { return 0x0D1C + StreamChannelStride * channel; }
// SCC and SCCFG: the channel's capability and configuration.
constexpr std::uint32_t Scc(std::uint32_t channel) { return 0x0D20 + StreamChannelStride * channel; }
constexpr std::uint32_t Sccfg(std::uint32_t channel) { return 0x0D24 + StreamChannelStride * channel; }

}
