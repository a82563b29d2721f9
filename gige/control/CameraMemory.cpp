#include "control/CameraMemory.h"

#include "common/Texts.h"
#include "control/MemoryPlan.h"
#include "wire/BigEndian.h"
#include "wire/MemoryAccess.h"
#include "wire/RegisterAccess.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace Gige {

namespace {

// "512 bytes at 0x00010000"
std::string Range(std::uint64_t address, std::size_t size)
{
    char text[19];
    std::snprintf(text, sizeof text, "0x%08llX", static_cast<unsigned long long>(address));
    return std::to_string(size) + " bytes at " + text;
}

}

Status CameraMemory::ReadRegister(std::uint32_t address, std::uint32_t& value, bool silenceLoses)
{
    GvcpBuffer reply;
    GvcpAck ack{};
    const Status status = mChannel.Request(
        [&](std::uint16_t id, GvcpBuffer& out) { return EncodeReadRegCommand(id, &address, 1, out); },
        [](std::uint16_t id) { return ExpectedAck{GvcpCode::ReadRegAck, id, 4}; },
        "READREG " + FormatHex32(address), reply, ack, silenceLoses);
    if (status.Ok())
        DecodeReadRegAck(ack, &value, 1);
    return status;
}

Status CameraMemory::WriteRegister(std::uint32_t address, std::uint32_t value)
{
    GvcpBuffer reply;
    GvcpAck ack{};
    const RegisterWrite write{address, value};
    return mChannel.Request(
        [&](std::uint16_t id, GvcpBuffer& out) { return EncodeWriteRegCommand(id, &write, 1, out); },
        [](std::uint16_t id) { return ExpectedAck{GvcpCode::WriteRegAck, id, 4}; },
        "WRITEREG " + FormatHex32(address) + " = " + FormatHex32(value), reply, ack);
}

Status CameraMemory::ReadPiece(std::uint32_t address, std::uint32_t size, std::uint8_t* out)
{
    if (size == 4) {
        std::uint32_t value = 0;
        const Status status = ReadRegister(address, value);
        if (status.Ok())
            Put32(out, value);
        return status;
    }
    GvcpBuffer reply;
    GvcpAck ack{};
    const std::string what = "READMEM of " + Range(address, size);
    const Status status = mChannel.Request(
        [&](std::uint16_t id, GvcpBuffer& buffer) { return EncodeReadMemCommand(id, address, size, buffer); },
        [&](std::uint16_t id) { return ExpectedAck{GvcpCode::ReadMemAck, id, 4u + size}; }, what, reply, ack);
    if (!status.Ok())
        return status;
    MemoryBlock block{};
    if (DecodeReadMemAck(ack, block) != WireError::None || block.mAddress != address || block.mSize != size)
        return Status::Failure(GC_ERR_ERROR, mChannel.CameraText() + ": " + what + ": answered for another block");
    std::memcpy(out, block.mData, size);
    return status;
}

Status CameraMemory::Read(std::uint64_t address, void* buffer, std::size_t size)
{
    const auto span = ReadSpan(address, size);
    if (!span)
        return Status::Failure(GC_ERR_INVALID_ADDRESS, mChannel.CameraText() + ": cannot read " +
                                                           Range(address, size) + ": cameras address 32 bits");
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::uint8_t piece[MemoryPieceSize];
    const std::uint64_t end = address + size;
    for (std::uint64_t offset = 0; offset < span->mLength;) {
        const std::uint32_t pieceSize = PieceSize(span->mLength - offset);
        const std::uint64_t pieceStart = span->mStart + offset;
        // A piece that lies wholly inside the caller's buffer is read in place.
        const bool inPlace = pieceStart >= address && pieceStart + pieceSize <= end;
        std::uint8_t* target = inPlace ? out + (pieceStart - address) : piece;
        const Status status = ReadPiece(static_cast<std::uint32_t>(pieceStart), pieceSize, target);
        if (!status.Ok())
            return status;
        if (!inPlace) {
            const std::uint64_t from = std::max(pieceStart, address);
            const std::uint64_t to = std::min(pieceStart + pieceSize, end);
            std::memcpy(out + (from - address), piece + (from - pieceStart), to - from);
        }
        offset += pieceSize;
    }
    return Status::Success();
}

Status CameraMemory::WritePiece(std::uint32_t address, const std::uint8_t* data, std::uint32_t size)
{
    if (size == 4)
        return WriteRegister(address, Get32(data));
    if (!mWriteMemory) {
        // One register per request: nothing says the camera takes several at once.
        for (std::uint32_t offset = 0; offset < size; offset += 4) {
            const Status status = WriteRegister(address + offset, Get32(data + offset));
            if (!status.Ok())
                return status;
        }
        return Status::Success();
    }
    GvcpBuffer reply;
    GvcpAck ack{};
    const MemoryBlock block{address, data, size};
    return mChannel.Request(
        [&](std::uint16_t id, GvcpBuffer& out) { return EncodeWriteMemCommand(id, block, out); },
        [](std::uint16_t id) { return ExpectedAck{GvcpCode::WriteMemAck, id, 4}; },
        "WRITEMEM of " + Range(address, size), reply, ack);
}

Status CameraMemory::Write(std::uint64_t address, const void* buffer, std::size_t size)
{
    switch (CheckWrite(address, size)) {
    case WriteCheck::Beyond32Bits:
        return Status::Failure(GC_ERR_INVALID_ADDRESS, mChannel.CameraText() + ": cannot write " +
                                                           Range(address, size) + ": cameras address 32 bits");
    case WriteCheck::Unaligned:
        return Status::Failure(GC_ERR_INVALID_ADDRESS,
                               mChannel.CameraText() + ": cannot write " + Range(address, size) +
                                   ": address and size must be multiples of 4 (no partial register writes)");
    case WriteCheck::Ok:
        break;
    }
    const auto* data = static_cast<const std::uint8_t*>(buffer);
    for (std::size_t offset = 0; offset < size;) {
        const std::uint32_t pieceSize = PieceSize(size - offset);
        const Status status = WritePiece(static_cast<std::uint32_t>(address + offset), data + offset, pieceSize);
        if (!status.Ok())
            return status;
        offset += pieceSize;
    }
    return Status::Success();
}

}
