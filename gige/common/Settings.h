// The producer's options, read from the environment when a library handle
// is opened. A value that is missing or out of range leaves the default.
//   KAVRIX_GIGE_RETRIES      tries per control request (1-20, default 3)
//   KAVRIX_GIGE_TIMEOUT_MS   wait for an answer per try (10-10000 ms, default 200)
//   KAVRIX_GIGE_DISCOVERY_MS longest discovery (100-30000 ms, default 1000)
//   KAVRIX_GIGE_INTERFACES   adapter names, comma-separated: only these
//   KAVRIX_GIGE_PACKET_SIZE  stream packet size (SCPS) to use, not probed (576-16384)
//   KAVRIX_GIGE_PACKET_DELAY inter-packet delay (SCPD, camera ticks) to use, not shared (0-999999999)
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Gige {

struct Settings {
    unsigned mTries = 3;
    std::uint32_t mTimeoutMs = 200;
    std::uint32_t mDiscoveryMs = 1000;
    // Empty: every adapter.
    std::vector<std::string> mInterfaces;
    // 0: the largest the path takes.
    std::uint32_t mPacketSize = 0;
    // None: the link's share.
    std::optional<std::uint32_t> mPacketDelay;

    static Settings FromEnvironment();
};

// A decimal number within [minimum, maximum]; nullopt for anything else.
std::optional<std::uint32_t> ParseBounded(const std::string& text, std::uint32_t minimum, std::uint32_t maximum);
// "eth0, eth1,,": {"eth0", "eth1"}; blanks around names dropped.
std::vector<std::string> ParseNameList(const std::string& text);

}
