#include "common/Settings.h"

#include "os/System.h"

namespace Gige {

namespace {

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

template <class Number>
void ReadBounded(const char* variable, std::uint32_t minimum, std::uint32_t maximum, Number& value)
{
    if (const auto text = Os::GetEnvironment(variable))
        if (const auto parsed = ParseBounded(*text, minimum, maximum))
            value = static_cast<Number>(*parsed);
}

}

std::optional<std::uint32_t> ParseBounded(const std::string& text, std::uint32_t minimum, std::uint32_t maximum)
{
    const std::string digits = Trim(text);
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const auto value = static_cast<std::uint32_t>(std::stoul(digits));
    if (value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

std::vector<std::string> ParseNameList(const std::string& text)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto comma = text.find(',', start);
        const std::size_t end = comma == std::string::npos ? text.size() : comma;
        std::string name = Trim(text.substr(start, end - start));
        if (!name.empty())
            names.push_back(std::move(name));
        start = end + 1;
    }
    return names;
}

Settings Settings::FromEnvironment()
{
    Settings settings;
    ReadBounded("KAVRIX_GIGE_RETRIES", 1, 20, settings.mTries);
    ReadBounded("KAVRIX_GIGE_TIMEOUT_MS", 10, 10000, settings.mTimeoutMs);
    ReadBounded("KAVRIX_GIGE_DISCOVERY_MS", 100, 30000, settings.mDiscoveryMs);
    ReadBounded("KAVRIX_GIGE_PACKET_SIZE", 576, 16384, settings.mPacketSize);
    if (const auto text = Os::GetEnvironment("KAVRIX_GIGE_PACKET_DELAY"))
        settings.mPacketDelay = ParseBounded(*text, 0, 999999999);
    ReadBounded("KAVRIX_GIGE_RESEND_WAIT_MS", 0, 100, settings.mResendWaitMs);
    ReadBounded("KAVRIX_GIGE_RESEND_TIMEOUT_MS", 1, 1000, settings.mResendTimeoutMs);
    ReadBounded("KAVRIX_GIGE_RESEND_FRAME_PERCENT", 1, 100, settings.mResendFramePercent);
    ReadBounded("KAVRIX_GIGE_RESEND_BUDGET", 0, 1000000, settings.mResendBudget);
    ReadBounded("KAVRIX_GIGE_FRAME_RETENTION_MS", 10, 10000, settings.mFrameRetentionMs);
    if (const auto names = Os::GetEnvironment("KAVRIX_GIGE_INTERFACES"))
        settings.mInterfaces = ParseNameList(*names);
    return settings;
}

}
