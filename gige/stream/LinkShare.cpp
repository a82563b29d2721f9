#include "stream/LinkShare.h"

#include "wire/Bootstrap.h"

#include <algorithm>

namespace Gige {

namespace {

constexpr std::uint32_t Channel = 0;
// Ethernet header and checksum, preamble and the gap between frames.
constexpr std::uint64_t WireOverhead = 14 + 4 + 8 + 12;

}

std::uint32_t SharedLinkDelay(std::uint32_t packetSize, std::uint64_t linkBitsPerSecond, std::size_t cameras,
                              std::uint64_t ticksPerSecond)
{
    if (cameras < 2 || linkBitsPerSecond == 0) {
        return 0;
    }
    const long double seconds = static_cast<long double>((packetSize + WireOverhead) * 8) * (cameras - 1) /
                                static_cast<long double>(linkBitsPerSecond);
    const long double ticks = seconds * static_cast<long double>(ticksPerSecond);
    return ticks >= 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(ticks + 0.5L);
}

void LinkShare::Join(const Member& member)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mMembers.push_back(member);
    WriteDelays();
}

void LinkShare::Leave(StreamHost* host)
{
    std::lock_guard<std::mutex> lock(mMutex);
    const auto found = std::find_if(mMembers.begin(), mMembers.end(),
                                    [host](const Member& member) { return member.mHost == host; });
    if (found == mMembers.end()) {
        return;
    }
    const Member leaving = *found;
    mMembers.erase(found);
    if (!leaving.mHost->IsLost()) {
        leaving.mHost->WriteRegister(Bootstrap::Scpd(Channel), leaving.mOwnDelay);
    }
    WriteDelays();
}

void LinkShare::WriteDelays()
{
    for (const Member& member : mMembers) {
        if (member.mHost->IsLost()) {
            continue;
        }
        const std::uint32_t share =
            SharedLinkDelay(member.mPacketSize, mLinkBitsPerSecond, mMembers.size(), member.mTicksPerSecond);
        member.mHost->WriteRegister(Bootstrap::Scpd(Channel), std::max(share, member.mOwnDelay));
    }
}

std::shared_ptr<LinkShare> LinkShares::For(const std::string& adapter, std::uint64_t linkBitsPerSecond)
{
    std::lock_guard<std::mutex> lock(mMutex);
    for (const auto& entry : mShares) {
        if (entry.first == adapter) {
            return entry.second;
        }
    }
    mShares.emplace_back(adapter, std::make_shared<LinkShare>(linkBitsPerSecond));
    return mShares.back().second;
}

}
