// Byte strings for the wire tests: what an encoder sent, and the datagram a
// byte string decodes to.
#pragma once

#include "wire/GvcpHeader.h"
#include "wire/WireError.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <vector>

namespace Gige {

// Failures name the error instead of showing its bytes.
inline void PrintTo(WireError error, std::ostream* out)
{
    *out << WireErrorText(error);
}

}

namespace WireTest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Sent(const Gige::GvcpBuffer& buffer, std::size_t size)
{
    return Bytes(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(size));
}

// The decoded datagram points into bytes, which must outlive it.
inline Gige::GvcpAck AckOf(const Bytes& bytes)
{
    Gige::GvcpAck ack{};
    EXPECT_EQ(Gige::DecodeAck(bytes.data(), bytes.size(), ack), Gige::WireError::None);
    return ack;
}

inline Gige::GvcpCommand CommandOf(const Bytes& bytes)
{
    Gige::GvcpCommand command{};
    EXPECT_EQ(Gige::DecodeCommand(bytes.data(), bytes.size(), command), Gige::WireError::None);
    return command;
}

}
