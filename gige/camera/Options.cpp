#include "Options.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

namespace GigeCamera {

namespace {

bool ParseDouble(const std::string& text, double low, double high, double& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0' && value >= low && value <= high;
}

bool ParseUnsigned(const std::string& text, std::uint32_t high, std::uint32_t& value)
{
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long long number = std::strtoull(text.c_str(), nullptr, 10);
    if (number > high)
        return false;
    value = static_cast<std::uint32_t>(number);
    return true;
}

bool ParseKinds(const std::string& text, unsigned& kinds)
{
    static const struct {
        const char* mName;
        unsigned mKind;
    } names[] = {{"truncated", Malformed::Truncated},
                 {"oversized", Malformed::Oversized},
                 {"wrong-id", Malformed::WrongId},
                 {"beyond-frame", Malformed::BeyondFrame},
                 {"wrong-block", Malformed::WrongBlock}};
    kinds = 0;
    std::istringstream list(text);
    std::string word;
    while (std::getline(list, word, ',')) {
        unsigned kind = 0;
        for (const auto& name : names)
            if (word == name.mName)
                kind = name.mKind;
        if (kind == 0)
            return false;
        kinds |= kind;
    }
    return kinds != 0;
}

bool ParseSilence(const std::string& text, FaultOptions& faults)
{
    const auto comma = text.find(',');
    double start = 0;
    if (!ParseDouble(text.substr(0, comma), 0, 1e6, start))
        return false;
    faults.mSilenceStart = start;
    if (comma == std::string::npos)
        return true;
    double length = 0;
    if (!ParseDouble(text.substr(comma + 1), 0, 1e6, length))
        return false;
    faults.mSilenceLength = length;
    return true;
}

// Sets one option from its value; false when the value is not one it takes.
bool SetOption(const std::string& name, const std::string& value, Options& options)
{
    FaultOptions& faults = options.mFaults;
    if (name == "--interface") {
        options.mInterface = value;
        return !value.empty();
    }
    if (name == "--config") {
        options.mConfig = value;
        return !value.empty();
    }
    if (name == "--resend-frames")
        return ParseUnsigned(value, 1024, options.mResendFrames);
    if (name == "--drop")
        return ParseDouble(value, 0, 1, faults.mDrop);
    if (name == "--burst")
        return ParseUnsigned(value, 1000000, faults.mBurst) && faults.mBurst > 0;
    if (name == "--drop-resent")
        return ParseDouble(value, 0, 1, faults.mDropResent);
    if (name == "--malformed")
        return ParseDouble(value, 0, 1, faults.mMalformed);
    if (name == "--malformed-kinds")
        return ParseKinds(value, faults.mMalformedKinds);
    if (name == "--slow-start")
        return ParseUnsigned(value, 60000, faults.mSlowStartMs);
    if (name == "--silence")
        return ParseSilence(value, faults);
    if (name == "--seed")
        return ParseUnsigned(value, 0xFFFFFFFFu, faults.mSeed);
    return false;
}

bool TakesValue(const std::string& name)
{
    static const char* const names[] = {"--interface",   "--config",      "--resend-frames", "--drop",
                                        "--burst",       "--drop-resent", "--malformed",     "--malformed-kinds",
                                        "--slow-start",  "--silence",     "--seed"};
    for (const char* known : names)
        if (name == known)
            return true;
    return false;
}

}

bool ParseOptions(int argc, const char* const* argv, Options& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        std::string value;
        bool hasValue = false;
        // "--drop=0.1" as well as "--drop 0.1".
        const auto equals = name.find('=');
        if (name.compare(0, 2, "--") == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
            hasValue = true;
        }
        if (name == "--help" || name == "-h") {
            options.mHelp = true;
            return true;
        }
        if (name == "--allow-any-address" && !hasValue) {
            options.mAllowAnyAddress = true;
            continue;
        }
        if (!TakesValue(name)) {
            error = "unknown option \"" + std::string(argv[i]) + "\"";
            return false;
        }
        if (!hasValue) {
            if (i + 1 == argc) {
                error = name + " needs a value";
                return false;
            }
            value = argv[++i];
        }
        if (!SetOption(name, value, options)) {
            error = "\"" + value + "\" is no value for " + name;
            return false;
        }
    }
    if (options.mInterface.empty()) {
        error = "--interface is required";
        return false;
    }
    return true;
}

const char* HelpText()
{
    return R"(Usage: kavrix-gige-camera --interface NAME [OPTION...]

A GigE Vision camera on the network, made from Kavrix's simulated camera
models, the ones the simulated producer (tli) serves in-process. Each camera
answers discovery (broadcast and unicast) on UDP port 3956, READREG, WRITEREG,
READMEM and WRITEMEM over its register memory (bootstrap registers, the
description's URL at 0x0200 and the description at 0x10000, the feature
registers), gives control or exclusive access (CCP 0x0A00) to one host at a
time and takes it back when that host's requests stop for the heartbeat
timeout (0x0938), and streams its frames on channel 0 to the address and port
the controlling host sets (SCDA 0x0D18, SCP 0x0D00): leader, payload and
trailer, 16-bit or, with GVSP configuration (0x0960) bit 0x40000000, 64-bit
block ids, the packet size of SCPS (0x0D04) and the delay between packets of
SCPD (0x0D08, in ticks of 8 ns). It announces WRITEMEM, PACKETRESEND,
PENDING_ACK and heartbeat disable (0x0934), resends packets from its last
frames (from the controlling host's address, on any port) and fires a test
packet on SCPS bit 0x80000000 (with bit 0x40000000, "don't fragment"). It runs
until SIGTERM or SIGINT.

Where:
  --interface NAME     the network adapter to serve on (required); the cameras
                       take its IPv4 addresses in order. To give an adapter
                       another address on Linux:
                         ip address add 169.254.20.2/16 dev NAME
  --allow-any-address  serve addresses outside 169.254.0.0/16 too. Without it
                       every address must be link-local: the camera answers
                       broadcasts and streams to whichever host takes control,
                       so on a shared network every host would see it as a
                       camera. Keep it on a link of its own.

What:
  --config FILE        serve the cameras of a simulator configuration file
                       (the format of tli/README.md), one per [device], each
                       on the adapter's next address. Of the device keys,
                       model, name (the user-defined name, up to 15 bytes),
                       serial, description, packet-size and pacing (none:
                       frames as fast as the link takes them) apply; privilege
                       does not, and [interface] sections only group devices.
                       Without a file: the simulator's default KX-1300-60gm,
                       serial 21810742.
  --resend-frames N    keep the last N frames for resend requests (default 16,
                       at most 1024; each holds its image, 16 frames of a
                       full KX-5000 image 80 MB); 0: the camera offers no
                       packet resend. Packets of older frames are answered
                       "unavailable" (status 0x800C).

Faults, for testing hosts:
  --drop F             never send this share (0 to 1) of the stream packets
  --burst N            drop them in runs of N packets (default 1); the share
                       stays F
  --drop-resent F      never send this share of the resent packets
  --malformed F        follow this share of the stream packets with a
                       malformed one
  --malformed-kinds K  which ones, a comma-separated list (default all):
                       truncated (ends inside its header), oversized (a
                       payload packet longer than the packet size), wrong-id
                       (a payload packet with the leader's id 0), beyond-frame
                       (a payload packet id past the trailer), wrong-block
                       (a block id of no frame)
  --slow-start MS      a write to AcquisitionStart takes MS milliseconds; a
                       host that enabled pending acknowledgements (GVCP
                       configuration 0x0954 bit 0x2) gets a PENDING_ACK first
  --silence START[,LENGTH]
                       from START seconds after the start, answer nothing (no
                       acknowledgements, no stream packets) for LENGTH seconds,
                       or without LENGTH until SIGUSR1
  SIGUSR1              toggles the silence at any time (not on Windows)
  --seed N             seed of the fault decisions (default 1): the same seed
                       drops the same packets

  --help               this text

Standard error gets one line per event: a host took, released or lost
control, a stream started or stopped, and at the end each camera's packet
and resend counts. Exit status: 0 after SIGTERM or SIGINT, 1 when a camera
cannot be served, 2 for a bad command line or configuration.
)";
}

}
