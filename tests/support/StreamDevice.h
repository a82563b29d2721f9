// A simulated camera opened through the driver's device, at a chosen image
// geometry, ready for its stream.
#pragma once

#include "support/OpenDevice.h"
#include "TLIControl.h"

#include <cstdint>

namespace TestSupport {

constexpr std::uint32_t Mono8 = 0x01080001;
constexpr std::uint32_t Mono12Packed = 0x010C0006;

class StreamDevice : public DeviceOnProducer {
public:
    StreamDevice(int index, std::int64_t width, std::int64_t height, std::uint32_t pixelFormat = Mono8);
    TLICtlStreamState State() const;
};

// The frame number the simulated camera writes into an image's first bytes.
std::uint32_t FrameNumber(const unsigned char* image);

}
