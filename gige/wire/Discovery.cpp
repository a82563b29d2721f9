#include "wire/Discovery.h"

#include "wire/BigEndian.h"
#include "wire/Bootstrap.h"
#include "wire/GvcpMessage.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace Gige {

namespace {

struct TextField {
    std::string DeviceInfo::*mText;
    std::uint32_t mAddress;
    std::uint32_t mSize;
};

constexpr TextField TextFields[] = {
    {&DeviceInfo::mManufacturer, Bootstrap::Manufacturer, Bootstrap::ManufacturerSize},
    {&DeviceInfo::mModel, Bootstrap::Model, Bootstrap::ModelSize},
    {&DeviceInfo::mDeviceVersion, Bootstrap::DeviceVersion, Bootstrap::DeviceVersionSize},
    {&DeviceInfo::mManufacturerInfo, Bootstrap::ManufacturerInfo, Bootstrap::ManufacturerInfoSize},
    {&DeviceInfo::mSerial, Bootstrap::SerialNumber, Bootstrap::SerialNumberSize},
    {&DeviceInfo::mUserName, Bootstrap::UserName, Bootstrap::UserNameSize},
};

}

std::size_t EncodeDiscoveryCommand(std::uint16_t requestId, bool allowBroadcastAck, GvcpBuffer& out)
{
    const std::uint8_t flags = CommandFlag::AckRequired | (allowBroadcastAck ? CommandFlag::AllowBroadcastAck : 0);
    return FinishCommand(flags, GvcpCode::DiscoveryCmd, requestId, 0, out);
}

WireError DecodeDiscoveryAck(const GvcpAck& ack, DeviceInfo& info)
{
    const WireError error = CheckAck(ack, GvcpCode::DiscoveryAck, DiscoveryAckLength);
    if (error != WireError::None)
        return error;
    const std::uint8_t* body = ack.mBody;
    DeviceInfo decoded;
    decoded.mVersion = Get32(body + Bootstrap::Version);
    decoded.mDeviceMode = Get32(body + Bootstrap::DeviceMode);
    std::copy_n(body + Bootstrap::MacHigh + 2, 6, decoded.mMac.begin());
    decoded.mIpConfigOptions = Get32(body + Bootstrap::IpConfigOptions);
    decoded.mIpConfigCurrent = Get32(body + Bootstrap::IpConfigCurrent);
    decoded.mIp = Get32(body + Bootstrap::CurrentIp);
    decoded.mSubnetMask = Get32(body + Bootstrap::CurrentSubnetMask);
    decoded.mGateway = Get32(body + Bootstrap::CurrentGateway);
    for (const TextField& field : TextFields) {
        const char* text = reinterpret_cast<const char*>(body + field.mAddress);
        decoded.*field.mText = std::string(text, std::find(text, text + field.mSize, '\0'));
    }
    info = std::move(decoded);
    return WireError::None;
}

WireError DecodeDiscoveryCommand(const GvcpCommand& command, bool& allowBroadcastAck)
{
    const WireError error = CheckCommand(command, GvcpCode::DiscoveryCmd, 0);
    if (error == WireError::None)
        allowBroadcastAck = (command.mHeader.mFlags & CommandFlag::AllowBroadcastAck) != 0;
    return error;
}

std::size_t EncodeDiscoveryAck(std::uint16_t ackId, const DeviceInfo& info, GvcpBuffer& out)
{
    for (const TextField& field : TextFields) {
        if ((info.*field.mText).size() > field.mSize)
            return 0;
    }
    std::uint8_t* body = &out[GvcpHeaderSize];
    std::memset(body, 0, DiscoveryAckLength);
    Put32(body + Bootstrap::Version, info.mVersion);
    Put32(body + Bootstrap::DeviceMode, info.mDeviceMode);
    std::copy(info.mMac.begin(), info.mMac.end(), body + Bootstrap::MacHigh + 2);
    Put32(body + Bootstrap::IpConfigOptions, info.mIpConfigOptions);
    Put32(body + Bootstrap::IpConfigCurrent, info.mIpConfigCurrent);
    Put32(body + Bootstrap::CurrentIp, info.mIp);
    Put32(body + Bootstrap::CurrentSubnetMask, info.mSubnetMask);
    Put32(body + Bootstrap::CurrentGateway, info.mGateway);
    for (const TextField& field : TextFields) {
        const std::string& text = info.*field.mText;
        std::copy(text.begin(), text.end(), body + field.mAddress);
    }
    return FinishAck(GvcpCode::DiscoveryAck, ackId, DiscoveryAckLength, out);
}

}
