#include "support/StreamDevice.h"

#include <stdexcept>

namespace TestSupport {

StreamDevice::StreamDevice(int index, std::int64_t width, std::int64_t height, std::uint32_t pixelFormat)
    : DeviceOnProducer(index)
{
    Kavrix::Device& device = **this;
    device.Open();
    device.GetIntegerNode("Width").SetValue(width);
    device.GetIntegerNode("Height").SetValue(height);
    device.GetEnumerationNode("PixelFormat").SetIntValue(pixelFormat);
}

TLICtlStreamState StreamDevice::State() const
{
    TLICtlStreamState state{};
    if (TLICtl_GetStreamState(Name().c_str(), &state) != GC_ERR_SUCCESS) {
        throw std::runtime_error("no stream state for " + Name());
    }
    return state;
}

std::uint32_t FrameNumber(const unsigned char* image)
{
    return std::uint32_t{image[0]} | (std::uint32_t{image[1]} << 8) | (std::uint32_t{image[2]} << 16) |
           (std::uint32_t{image[3]} << 24);
}

}
