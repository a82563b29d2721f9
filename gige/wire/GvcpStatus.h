// The status of an acknowledge or a stream packet, its name for messages,
// and the producer error code a failed request reports.
#pragma once

#include "TLI.h"

#include <cstdint>
#include <string>

namespace Gige {

namespace GvcpStatus {
constexpr std::uint16_t Success = 0x0000;
constexpr std::uint16_t PacketResend = 0x0100;   // a stream packet sent again on request
constexpr std::uint16_t NotImplemented = 0x8001;
constexpr std::uint16_t InvalidParameter = 0x8002;
constexpr std::uint16_t InvalidAddress = 0x8003;
constexpr std::uint16_t WriteProtect = 0x8004;
constexpr std::uint16_t BadAlignment = 0x8005;
constexpr std::uint16_t AccessDenied = 0x8006;
constexpr std::uint16_t Busy = 0x8007;
constexpr std::uint16_t PacketUnavailable = 0x800C;
constexpr std::uint16_t DataOverrun = 0x800D;
constexpr std::uint16_t InvalidHeader = 0x800E;
constexpr std::uint16_t PacketNotYetAvailable = 0x8010;
constexpr std::uint16_t PacketAndPreviousRemoved = 0x8011;
constexpr std::uint16_t PacketRemoved = 0x8012;
constexpr std::uint16_t NoReferenceTime = 0x8013;
constexpr std::uint16_t PacketTemporarilyUnavailable = 0x8014;
constexpr std::uint16_t Overflow = 0x8015;
constexpr std::uint16_t ActionLate = 0x8016;
constexpr std::uint16_t LeaderTrailerOverflow = 0x8017;
constexpr std::uint16_t Error = 0x8FFF;
}

// "access denied" for 0x8006; "unknown status" for a code not listed above.
const char* GvcpStatusName(std::uint16_t status);

// "GVCP status 0x8006 (access denied)", for error messages.
std::string GvcpStatusText(std::uint16_t status);

// What a request answered with this status reports: an address the camera
// has not or cannot reach this way is GC_ERR_INVALID_ADDRESS, a register it
// will not let us write is GC_ERR_ACCESS_DENIED, every other failure
// GC_ERR_ERROR.
GC_ERROR GvcpStatusToGcError(std::uint16_t status);

// The camera no longer holds a packet of this status: asking again for it
// is pointless.
bool PacketIsGone(std::uint16_t status);

}
