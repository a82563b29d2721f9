#include "transport/CameraPort.h"

#include <limits>

namespace Kavrix {

namespace {

// A length the producer's byte count cannot hold (past 4 GiB in a 32-bit
// process) would be cut short and read or write fewer bytes than asked.
bool FitsByteCount(int64_t length)
{
    return length >= 0 && static_cast<uint64_t>(length) <= std::numeric_limits<std::size_t>::max();
}

}

_CCameraPort::_CCameraPort(DEV_HANDLE device, const ProducerApi& api) : mDevice(device), mApi(api) {}

void _CCameraPort::Read(void* pBuffer, int64_t Address, int64_t Length)
{
    std::size_t size = static_cast<std::size_t>(Length);
    // A short read would leave the node map with bytes the camera never sent.
    if (!FitsByteCount(Length) || mApi.GCReadData(mDevice, static_cast<uint64_t>(Address), pBuffer, &size) != 0 ||
        size != static_cast<std::size_t>(Length)) {
        throw ACCESS_EXCEPTION("Failure reading device data");
    }
}

void _CCameraPort::Write(const void* pBuffer, int64_t Address, int64_t Length)
{
    std::size_t size = static_cast<std::size_t>(Length);
    if (!FitsByteCount(Length) || mApi.GCWriteData(mDevice, static_cast<uint64_t>(Address), pBuffer, &size) != 0 ||
        size != static_cast<std::size_t>(Length)) {
        throw ACCESS_EXCEPTION("Failure writing device data");
    }
}

GenApi::EAccessMode _CCameraPort::GetAccessMode() const
{
    return GenApi::RW;
}

}
