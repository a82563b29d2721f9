// The registers of a camera on the network beyond what its description maps:
// the bootstrap registers it needs to be a GigE Vision camera (capabilities,
// channel counts, protocol configuration, the stream's source port), the
// whole bootstrap block readable in one piece, and memory in whole 4-byte
// words, as GVCP moves it: the description, and registers shorter than a word
// (a host reads and writes the word they lie in).
#pragma once

#include "camsim/Camera.h"
#include "camsim/ServedDescription.h"

#include <cstdint>

namespace GigeCamera {

struct NetworkIdentity {
    std::uint32_t mAddress;
    std::uint32_t mSubnetMask;
    std::uint16_t mStreamSourcePort;
    bool mOffersResend;
    std::uint32_t mPendingTimeoutMs;   // the longest a request takes
};

void AddNetworkRegisters(CamSim::Camera& camera, CamSim::DescriptionForm form, const NetworkIdentity& identity);

// A bootstrap register's value, without access checks or actions.
std::uint32_t ReadRegister(const CamSim::Camera& camera, std::uint32_t address);
void WriteRegister(CamSim::Camera& camera, std::uint32_t address, std::uint32_t value);

}
