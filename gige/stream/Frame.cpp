#include "stream/Frame.h"

#include "wire/StreamLayout.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace Gige {

void Frame::Reserve(std::size_t payloadPackets)
{
    // IDs 1..payloadPackets; 0 (the leader) is kept apart.
    mArrived.Reserve(payloadPackets + 1);
}

void Frame::Begin(std::uint64_t blockId, bool extended, const FrameBuffer& buffer, std::uint32_t bytesPerPacket,
                  long long now)
{
    const std::uint64_t capacity = PayloadPacketCount(buffer.mSize, bytesPerPacket);
    mBuffer = buffer;
    mBlockId = blockId;
    mExtended = extended;
    mBytesPerPacket = bytesPerPacket;
    mCapacity = static_cast<std::uint32_t>(std::min<std::uint64_t>(capacity, std::numeric_limits<std::uint32_t>::max()));
    mPayloadCount = 0;
    mPayloadBytes = 0;
    mReceived = 0;
    mHighest = 0;
    mShortId = 0;
    mLeaderCame = false;
    mTrailerCame = false;
    mHasImageLeader = false;
    mDamaged = false;
    mEnded = false;
    mLeader = ImageLeader{};
    mFilledBytes = 0;
    mLastAt = now;
    mResend = FrameResend{};
    mArrived.Clear(std::size_t{mCapacity} + 1);
}

std::uint64_t Frame::LeaderPayloadBytes() const
{
    // Only a plain image tells its size; chunks, or a pixel size that is no
    // whole number of bytes per line, leave it open.
    if (!mHasImageLeader || mLeader.mPayloadType != PayloadType::Image) {
        return 0;
    }
    const std::uint64_t bitsPerPixel = mLeader.mPixelFormat >> 16 & 0xFF;
    const std::uint64_t lineBits = bitsPerPixel * mLeader.mSizeX;
    if (lineBits == 0 || lineBits % 8 != 0) {
        return 0;
    }
    // At most 2^32 lines of at most 2^37 bytes: no overflow before the check.
    const std::uint64_t line = lineBits / 8 + mLeader.mPaddingX;
    if (mLeader.mSizeY > (std::numeric_limits<std::uint64_t>::max() - mLeader.mPaddingY) / line) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return line * mLeader.mSizeY + mLeader.mPaddingY;
}

bool Frame::AgreesWithCount(std::uint32_t count) const
{
    return mHighest <= count && (mShortId == 0 || mShortId == count);
}

Frame::Verdict Frame::AddLeader(const StreamPacket& packet)
{
    if (packet.mHeader.mPacketId != 0) {
        return Verdict::Refused;
    }
    if (mLeaderCame) {
        return Verdict::Duplicate;
    }
    const GvspPacket body{packet.mHeader, packet.mBody, packet.mBodySize};
    const WireError error = DecodeImageLeader(body, mLeader);
    // Another payload type is carried all the same; only the image's fields are missing.
    if (error != WireError::None && error != WireError::NotAnImage) {
        return Verdict::Refused;
    }
    mLeaderCame = true;
    mHasImageLeader = error == WireError::None;
    const std::uint64_t bytes = LeaderPayloadBytes();
    if (bytes == 0) {
        return Verdict::Placed;
    }
    const std::uint64_t count = PayloadPacketCount(bytes, mBytesPerPacket);
    if (bytes > mBuffer.mSize || count > mCapacity) {
        mDamaged = true;
        return Verdict::Placed;
    }
    const auto leaderCount = static_cast<std::uint32_t>(count);
    if (mTrailerCame) {
        // The trailer's count rules (a frame may be cut short); the leader's
        // bytes hold only when both agree.
        mPayloadBytes = leaderCount == mPayloadCount ? bytes : 0;
    } else if (AgreesWithCount(leaderCount)) {
        mPayloadCount = leaderCount;
        mPayloadBytes = bytes;
    } else {
        mDamaged = true;
    }
    return Verdict::Placed;
}

Frame::Verdict Frame::AddTrailer(const StreamPacket& packet)
{
    // The trailer follows at least one payload packet.
    if (packet.mHeader.mPacketId < 2) {
        return Verdict::Refused;
    }
    if (mTrailerCame) {
        return Verdict::Duplicate;
    }
    ImageTrailer trailer{};
    const GvspPacket body{packet.mHeader, packet.mBody, packet.mBodySize};
    const WireError error = DecodeImageTrailer(body, trailer);
    if (error != WireError::None && error != WireError::NotAnImage) {
        return Verdict::Refused;
    }
    mTrailerCame = true;
    mEnded = true;
    const std::uint32_t count = packet.mHeader.mPacketId - 1;
    if (count > mCapacity || !AgreesWithCount(count)) {
        mDamaged = true;
    }
    if (count != mPayloadCount) {
        mPayloadBytes = 0;
    }
    mPayloadCount = count;
    return Verdict::Placed;
}

Frame::Verdict Frame::AddPayload(const StreamPacket& packet)
{
    const std::uint32_t id = packet.mHeader.mPacketId;
    const std::size_t size = packet.mBodySize;
    if (id == 0 || id > mCapacity || (mPayloadCount != 0 && id > mPayloadCount) || size == 0 ||
        !PayloadFits(id, size, mBytesPerPacket, mBuffer.mSize)) {
        return Verdict::Refused;
    }
    // Every packet but the last is full; the leader may tell the last one's size.
    const bool last = id == mPayloadCount;
    if (mPayloadBytes != 0) {
        const std::uint64_t expected = last ? mPayloadBytes - std::uint64_t{id - 1} * mBytesPerPacket : mBytesPerPacket;
        if (size != expected) {
            return Verdict::Refused;
        }
    } else if (size < mBytesPerPacket && !last) {
        if (mPayloadCount != 0 || (mShortId != 0 && mShortId != id)) {
            return Verdict::Refused;
        }
    }
    if (mArrived.Test(id)) {
        return Verdict::Duplicate;
    }
    std::uint8_t* place = mBuffer.mData + PayloadOffset(id, mBytesPerPacket);
    if (packet.mInPlace) {
        // Received where Predict put it; anything else is not this frame's slot.
        if (packet.mBody != place) {
            return Verdict::Refused;
        }
    } else {
        std::memcpy(place, packet.mBody, size);
    }
    if (size < mBytesPerPacket && !last) {
        mShortId = id;
    }
    mArrived.Set(id);
    ++mReceived;
    mHighest = std::max(mHighest, id);
    mFilledBytes += size;
    return Verdict::Placed;
}

bool Frame::IsComplete() const
{
    return mLeaderCame && mTrailerCame && !mDamaged && mReceived == mPayloadCount;
}

long long Frame::Deadline(std::uint32_t missingWaitMs, std::uint32_t retentionMs) const
{
    return mLastAt + (mEnded ? std::max(missingWaitMs, mResend.mHoldMs) : retentionMs);
}

bool Frame::Came(std::uint32_t id) const
{
    if (id == 0) {
        return mLeaderCame;
    }
    if (mPayloadCount != 0 && id == mPayloadCount + 1) {
        return mTrailerCame;
    }
    return id <= mCapacity && mArrived.Test(id);
}

std::uint32_t Frame::NextMissing(std::uint32_t first, std::uint32_t last) const
{
    // The payload's bits a word at a time: a frame has thousands.
    for (std::uint32_t id = first; id <= last;) {
        if (id == 0 || id > mCapacity) {
            if (!Came(id)) {
                return id;
            }
            ++id;
            continue;
        }
        const auto end = std::min(last, mCapacity);
        id = static_cast<std::uint32_t>(mArrived.Next(false, id, end));
        if (id <= end) {
            return id;
        }
    }
    return last + 1;
}

std::uint32_t Frame::NextArrived(std::uint32_t first, std::uint32_t last) const
{
    for (std::uint32_t id = first; id <= last;) {
        if (id == 0 || id > mCapacity) {
            if (Came(id)) {
                return id;
            }
            ++id;
            continue;
        }
        const auto end = std::min(last, mCapacity);
        id = static_cast<std::uint32_t>(mArrived.Next(true, id, end));
        if (id <= end) {
            return id;
        }
    }
    return last + 1;
}

long long Frame::OverdueLimit() const
{
    if (mPayloadCount != 0 && mEnded) {
        return std::int64_t{mPayloadCount} + 1;
    }
    if (mEnded) {
        return mHighest;
    }
    return std::int64_t{mHighest} - 1;
}

std::uint32_t Frame::PacketCount() const
{
    return PayloadLimit() + 2;
}

std::uint32_t Frame::PayloadLimit() const
{
    return mPayloadCount != 0 ? std::min(mPayloadCount, mCapacity) : mCapacity;
}

std::size_t Frame::Predict(PayloadSlot* slots, std::size_t count) const
{
    if (mEnded || mBuffer.mData == nullptr) {
        return 0;
    }
    const std::uint32_t limit = PayloadLimit();
    std::size_t filled = 0;
    for (std::uint32_t id = mHighest + 1; id <= limit && filled < count; ++id) {
        const std::uint64_t offset = PayloadOffset(id, mBytesPerPacket);
        PayloadSlot& slot = slots[filled++];
        slot.mData = mBuffer.mData + offset;
        slot.mSize = static_cast<std::size_t>(std::min<std::uint64_t>(mBytesPerPacket, mBuffer.mSize - offset));
        slot.mBlockId = mBlockId;
        slot.mPacketId = id;
        slot.mExtended = mExtended;
    }
    return filled;
}

BufferInfo Frame::Report() const
{
    BufferInfo info;
    info.mBlockId = mBlockId;
    info.mHasLeader = mHasImageLeader;
    if (mHasImageLeader) {
        info.mPayloadType = mLeader.mPayloadType;
        info.mTimestamp = mLeader.mTimestamp;
        info.mPixelFormat = mLeader.mPixelFormat;
        info.mWidth = mLeader.mSizeX;
        info.mHeight = mLeader.mSizeY;
        info.mOffsetX = mLeader.mOffsetX;
        info.mOffsetY = mLeader.mOffsetY;
        info.mPaddingX = mLeader.mPaddingX;
        info.mPaddingY = mLeader.mPaddingY;
    }
    info.mFilledBytes = mFilledBytes;
    // Packets beyond the buffer are not counted: they could never be placed.
    const std::uint32_t expected = std::min(mPayloadCount != 0 ? mPayloadCount : mHighest, mCapacity);
    const std::size_t placed = expected == 0 ? 0 : mArrived.CountSet(1, expected);
    info.mMissingPackets = (expected - placed) + (mLeaderCame ? 0 : 1) + (mTrailerCame ? 0 : 1);
    return info;
}

}
