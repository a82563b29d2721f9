// The camera program's command line (HelpText says what each option does).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace GigeCamera {

// Malformed stream packets the camera can send, as bits.
namespace Malformed {
constexpr unsigned Truncated = 0x01;    // a datagram that ends inside its header
constexpr unsigned Oversized = 0x02;    // a payload packet larger than the packet size
constexpr unsigned WrongId = 0x04;      // a payload packet with the leader's id 0
constexpr unsigned BeyondFrame = 0x08;  // a payload packet id past the trailer
constexpr unsigned WrongBlock = 0x10;   // a payload packet of a block id no frame has
constexpr unsigned All = 0x1F;
}

struct FaultOptions {
    double mDrop = 0;               // share of stream packets never sent
    std::uint32_t mBurst = 1;       // dropped in runs of this many
    double mDropResent = 0;         // share of resent packets never sent
    double mMalformed = 0;          // share of stream packets followed by a malformed one
    unsigned mMalformedKinds = Malformed::All;
    std::uint32_t mSlowStartMs = 0; // how long a write to AcquisitionStart takes
    // Silent from this many seconds after the start, for the length (none:
    // until SIGUSR1).
    std::optional<double> mSilenceStart;
    std::optional<double> mSilenceLength;
    std::uint32_t mSeed = 1;
};

struct Options {
    std::string mInterface;
    std::string mConfig;            // empty: the simulator's default camera
    bool mAllowAnyAddress = false;
    std::uint32_t mResendFrames = 16;
    FaultOptions mFaults;
    bool mHelp = false;
};

// False, with the reason in error, for a command line that cannot be followed.
bool ParseOptions(int argc, const char* const* argv, Options& options, std::string& error);

const char* HelpText();

}
