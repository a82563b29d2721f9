// Register and memory requests: READREG, WRITEREG, READMEM and WRITEMEM over
// the model camera's memory, as a host on the network may make them.
#include "ControlServer.h"

#include "NetworkRegisters.h"
#include "wire/BigEndian.h"
#include "wire/Bootstrap.h"
#include "wire/GvcpMessage.h"
#include "wire/GvcpStatus.h"
#include "wire/MemoryAccess.h"
#include "wire/RegisterAccess.h"

#include <vector>

namespace GigeCamera {

namespace {

namespace Bootstrap = Gige::Bootstrap;
namespace Status = Gige::GvcpStatus;
using Gige::GvcpCode;

std::uint16_t StatusOf(GC_ERROR result)
{
    switch (result) {
    case GC_ERR_SUCCESS:
        return Status::Success;
    case GC_ERR_INVALID_ADDRESS:
        return Status::InvalidAddress;
    case GC_ERR_ACCESS_DENIED:
        return Status::AccessDenied;
    default:
        return Status::Error;
    }
}

std::uint16_t StatusOf(Gige::WireError error)
{
    return error == Gige::WireError::None ? Status::Success : Status::InvalidParameter;
}

std::size_t Answer(GvcpCode ack, std::uint16_t ackId, std::uint16_t status, std::size_t bodyLength,
                   Gige::GvcpBuffer& out)
{
    return Gige::EncodeAckHeader({status, ack, static_cast<std::uint16_t>(bodyLength), ackId}, out) + bodyLength;
}

bool Overlaps(std::uint32_t address, std::size_t size, std::uint32_t word)
{
    return address < std::uint64_t{word} + 4 && word < std::uint64_t{address} + size;
}

}

bool ControlServer::MayRead(const Os::Endpoint& from) const
{
    // Exclusive access keeps every other host out, reading too.
    return !mPrivilege.IsExclusive() || mPrivilege.IsController(from);
}

std::uint16_t ControlServer::ReadWord(std::uint32_t address, const Os::Endpoint& from, std::uint32_t& value)
{
    if (address % 4 != 0)
        return Status::BadAlignment;
    if (!MayRead(from))
        return Status::AccessDenied;
    std::uint8_t bytes[4];
    const GC_ERROR result = mCore.mModel.ReadMemory(address, bytes, sizeof bytes);
    if (result == GC_ERR_SUCCESS)
        value = Gige::Get32(bytes);
    return StatusOf(result);
}

std::uint16_t ControlServer::WriteWord(std::uint32_t address, std::uint32_t value, const Os::Endpoint& from)
{
    if (address % 4 != 0)
        return Status::BadAlignment;
    if (address == Bootstrap::Ccp)
        return WritePrivilege(value, from);
    // Only the controlling host writes; without one, nobody does.
    if (!mPrivilege.IsController(from))
        return Status::AccessDenied;
    const bool fire = address == Bootstrap::Scps(0) && (value & Bootstrap::ScpsFireTestPacket) != 0;
    if (fire)
        value &= ~Bootstrap::ScpsFireTestPacket;
    std::uint8_t bytes[4];
    Gige::Put32(bytes, value);
    const GC_ERROR result = mCore.mModel.WriteMemory(address, bytes, sizeof bytes);
    if (result != GC_ERR_SUCCESS)
        return StatusOf(result);
    if (fire)
        mCore.mRequests.push_back({StreamRequest::Kind::TestPacket, {}});
    AfterWrite();
    return Status::Success;
}

void ControlServer::AfterWrite()
{
    // Any setting may change what the stream sends, or when.
    mCore.mStreamWake.notify_all();
}

std::size_t ControlServer::ReadRegisters(const Gige::GvcpCommand& command, const Os::Endpoint& from,
                                         Gige::GvcpBuffer& ack)
{
    const std::uint16_t id = command.mHeader.mRequestId;
    std::vector<std::uint32_t> addresses;
    const Gige::WireError error = Gige::DecodeReadRegCommand(command, addresses);
    if (error != Gige::WireError::None)
        return Answer(GvcpCode::ReadRegAck, id, StatusOf(error), 0, ack);
    // On a failure the acknowledge carries the values read before it.
    std::uint16_t status = Status::Success;
    std::size_t done = 0;
    for (; done < addresses.size(); ++done) {
        std::uint32_t value = 0;
        status = ReadWord(addresses[done], from, value);
        if (status != Status::Success)
            break;
        Gige::Put32(&ack[Gige::GvcpHeaderSize + 4 * done], value);
    }
    return Answer(GvcpCode::ReadRegAck, id, status, 4 * done, ack);
}

std::size_t ControlServer::WriteRegisters(const Gige::GvcpCommand& command, const Os::Endpoint& from,
                                          Gige::GvcpBuffer& ack)
{
    const std::uint16_t id = command.mHeader.mRequestId;
    std::vector<Gige::RegisterWrite> writes;
    const Gige::WireError error = Gige::DecodeWriteRegCommand(command, writes);
    if (error != Gige::WireError::None) {
        Gige::EncodeWriteRegAck(id, 0, ack);
        return Answer(GvcpCode::WriteRegAck, id, StatusOf(error), 4, ack);
    }
    // The registers before a refused one stay written; the index says how many.
    std::uint16_t status = Status::Success;
    std::uint16_t done = 0;
    for (; done < writes.size(); ++done) {
        status = WriteWord(writes[done].mAddress, writes[done].mValue, from);
        if (status != Status::Success)
            break;
    }
    Gige::EncodeWriteRegAck(id, done, ack);
    return Answer(GvcpCode::WriteRegAck, id, status, 4, ack);
}

std::size_t ControlServer::ReadMemory(const Gige::GvcpCommand& command, const Os::Endpoint& from,
                                      Gige::GvcpBuffer& ack)
{
    const std::uint16_t id = command.mHeader.mRequestId;
    std::uint32_t address = 0;
    std::size_t count = 0;
    const Gige::WireError error = Gige::DecodeReadMemCommand(command, address, count);
    std::uint16_t status = StatusOf(error);
    if (status == Status::Success && address % 4 != 0)
        status = Status::BadAlignment;
    if (status == Status::Success && !MayRead(from))
        status = Status::AccessDenied;
    std::uint8_t data[Gige::MaxMemoryCount];
    if (status == Status::Success)
        status = StatusOf(mCore.mModel.ReadMemory(address, data, count));
    if (status != Status::Success) {
        // A refusal carries the address alone.
        Gige::Put32(&ack[Gige::GvcpHeaderSize], address);
        return Answer(GvcpCode::ReadMemAck, id, status, 4, ack);
    }
    return Gige::EncodeReadMemAck(id, {address, data, count}, ack);
}

std::size_t ControlServer::WriteMemory(const Gige::GvcpCommand& command, const Os::Endpoint& from,
                                       Gige::GvcpBuffer& ack)
{
    const std::uint16_t id = command.mHeader.mRequestId;
    Gige::MemoryBlock block{};
    const Gige::WireError error = Gige::DecodeWriteMemCommand(command, block);
    std::uint16_t status = StatusOf(error);
    std::uint16_t written = 0;
    if (status == Status::Success && block.mAddress % 4 != 0)
        status = Status::BadAlignment;
    if (status == Status::Success) {
        if (Overlaps(block.mAddress, block.mSize, Bootstrap::Ccp) ||
            Overlaps(block.mAddress, block.mSize, Bootstrap::Scps(0))) {
            // Registers that do more than hold a value go word by word.
            for (; written < block.mSize; written += 4) {
                status = WriteWord(block.mAddress + written, Gige::Get32(block.mData + written), from);
                if (status != Status::Success)
                    break;
            }
        } else if (!mPrivilege.IsController(from)) {
            status = Status::AccessDenied;
        } else {
            status = StatusOf(mCore.mModel.WriteMemory(block.mAddress, block.mData, block.mSize));
            if (status == Status::Success) {
                written = static_cast<std::uint16_t>(block.mSize);
                AfterWrite();
            }
        }
    }
    Gige::EncodeWriteMemAck(id, written, ack);
    return Answer(GvcpCode::WriteMemAck, id, status, 4, ack);
}

}
