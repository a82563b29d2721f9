// An IPv4 address and a UDP endpoint as values, free of any system header,
// so the producer can keep and compare them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace Os {

class Ipv4Address {
public:
    constexpr Ipv4Address() = default;
    // The address as a number, first octet in the highest byte (169.254.0.1 = 0xA9FE0001).
    constexpr explicit Ipv4Address(std::uint32_t value) : mValue(value) {}
    constexpr Ipv4Address(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d)
        : mValue(static_cast<std::uint32_t>(a) << 24 | static_cast<std::uint32_t>(b) << 16 |
                 static_cast<std::uint32_t>(c) << 8 | d)
    {
    }

    static constexpr Ipv4Address Any() { return Ipv4Address(); }
    static constexpr Ipv4Address Loopback() { return Ipv4Address(127, 0, 0, 1); }
    // The limited broadcast 255.255.255.255: every host on the link the
    // datagram leaves by.
    static constexpr Ipv4Address Broadcast() { return Ipv4Address(0xFFFFFFFFu); }
    // Dotted decimal, four numbers 0-255 and nothing else; nullopt otherwise.
    static std::optional<Ipv4Address> Parse(const std::string& text);

    constexpr std::uint32_t Value() const { return mValue; }
    constexpr bool IsAny() const { return mValue == 0; }
    std::string ToString() const;

    friend constexpr bool operator==(Ipv4Address a, Ipv4Address b) { return a.mValue == b.mValue; }
    friend constexpr bool operator!=(Ipv4Address a, Ipv4Address b) { return a.mValue != b.mValue; }

private:
    std::uint32_t mValue = 0;
};

struct Endpoint {
    Ipv4Address address;
    std::uint16_t port = 0;

    // "169.254.10.1:3956"
    std::string ToString() const;
    friend bool operator==(const Endpoint& a, const Endpoint& b) { return a.address == b.address && a.port == b.port; }
    friend bool operator!=(const Endpoint& a, const Endpoint& b) { return !(a == b); }
};

}
