// The packet size of a stream: the largest the path from the camera to the
// host takes whole, found with the camera's test packet (sent with "don't
// fragment"), or the camera's own setting when no test packet comes.
#pragma once

#include "TLI.h"
#include "stream/StreamHost.h"

#include <cstdint>
#include <string>

namespace Gige {

// Probes from the adapter's MTU down, the MTU first, then the camera's own
// size (scps) when smaller, then 1500 when smaller still, then halfway between the largest that passed and the
// smallest that failed, a few times; each size gets two test packets and
// waits briefly for each. Points the camera's stream at a socket of its own
// (SCDA, SCP) and clears SCP again. Leaves the chosen size in the camera's
// SCPS, and scps as the camera then has it. A failed register access ends it
// with its code and the reason.
GC_ERROR ProbePacketSize(StreamHost& host, std::uint32_t& scps, std::uint32_t mtu, std::string& error);

}
