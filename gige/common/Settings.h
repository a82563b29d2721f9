// The producer's options, read from the environment when a library handle
// is opened. A value that is missing or out of range leaves the default.
//   KAVRIX_GIGE_RETRIES      tries per control request (1-20, default 3)
//   KAVRIX_GIGE_TIMEOUT_MS   wait for an answer per try (10-10000 ms, default 200)
//   KAVRIX_GIGE_DISCOVERY_MS longest discovery (100-30000 ms, default 1000)
//   KAVRIX_GIGE_INTERFACES   adapter names, comma-separated: only these
//   KAVRIX_GIGE_PACKET_SIZE  stream packet size (SCPS) to use, not probed (576-16384)
//   KAVRIX_GIGE_PACKET_DELAY inter-packet delay (SCPD, camera ticks) to use, not shared (0-999999999)
//   KAVRIX_GIGE_RESEND_WAIT_MS       a gap's wait for reordered packets (0-100 ms, default 2)
//   KAVRIX_GIGE_RESEND_TIMEOUT_MS    an unanswered resend request asked again (1-1000 ms, default 20)
//   KAVRIX_GIGE_RESEND_FRAME_PERCENT packets a frame may ask for (1-100 %, default 25)
//   KAVRIX_GIGE_RESEND_BUDGET        packets all streams may ask for per second
//                                    (0-1000000, default 10000; 0: no resend)
//   KAVRIX_GIGE_FRAME_RETENTION_MS   silence after which a frame is handed over
//                                    incomplete (10-10000 ms, default 100)
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
    std::uint32_t mResendWaitMs = 2;
    std::uint32_t mResendTimeoutMs = 20;
    std::uint32_t mResendFramePercent = 25;
    std::uint32_t mResendBudget = 10000;
    std::uint32_t mFrameRetentionMs = 100;

    static Settings FromEnvironment();
};

// A decimal number within [minimum, maximum]; nullopt for anything else.
std::optional<std::uint32_t> ParseBounded(const std::string& text, std::uint32_t minimum, std::uint32_t maximum);
// "eth0, eth1,,": {"eth0", "eth1"}; blanks around names dropped.
std::vector<std::string> ParseNameList(const std::string& text);

}
