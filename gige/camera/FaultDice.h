// The fault decisions of one camera's stream, drawn from a generator of a
// given seed: the same seed drops the same packets.
#pragma once

#include "Options.h"

#include <cstdint>
#include <random>
#include <vector>

namespace GigeCamera {

class FaultDice {
public:
    FaultDice(const FaultOptions& faults, std::uint32_t seed);

    // A packet sent for the first time is not sent.
    bool DropOriginal();
    // A packet asked for again is not sent.
    bool DropResent();
    // The malformed packet (a Malformed bit) to send after a packet, or 0.
    unsigned Malformed();

private:
    bool Chance(double share);

    FaultOptions mFaults;
    std::mt19937 mRandom;
    std::uint32_t mBurstLeft = 0;
    std::vector<unsigned> mKinds;
};

}
