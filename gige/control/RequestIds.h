// Request IDs of one control channel: never 0, wrapping from 0xFFFF to 1.
#pragma once

#include <cstdint>

namespace Gige {

class RequestIds {
public:
    explicit RequestIds(std::uint16_t last = 0) : mLast(last) {}

    std::uint16_t Next()
    {
        mLast = mLast == 0xFFFF ? 1 : static_cast<std::uint16_t>(mLast + 1);
        return mLast;
    }

private:
    std::uint16_t mLast;
};

}
