// A datagram the system spread over a slot's buffers (header, payload
// place, overflow scratch), read back as one run of bytes.
#pragma once

#include "os/UdpSocket.h"

#include <cstddef>
#include <cstdint>

namespace Gige {

// Copies count bytes from offset of the slot's datagram (slot.size bytes,
// not truncated) to destination. The destination is either apart from
// every span, or the start of the slot's last span: the bytes already in
// that span move within it first, so nothing is overwritten before it is read.
void CopySpread(const Os::DatagramSlot& slot, std::size_t offset, std::size_t count, std::uint8_t* destination);

}
