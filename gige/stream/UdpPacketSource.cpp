#include "stream/UdpPacketSource.h"

#include "os/System.h"
#include "os/Thread.h"
#include "stream/SpreadDatagram.h"
#include "wire/GvcpHeader.h"

#include <algorithm>

namespace Gige {

namespace {

// Batches taken in one Receive before the frames' deadlines are looked at again.
constexpr int MaxBatches = 16;
// The least scratch per datagram, for a packet size too small to be real.
constexpr std::size_t MinScratch = 576;

}

UdpPacketSource::UdpPacketSource(Os::UdpSocket socket, Os::Ipv4Address camera, std::uint32_t packetSize,
                                 std::uint32_t napMs)
    : mSocket(std::move(socket)),
      mCamera(camera),
      mNapMs(napMs),
      // More than the body of any datagram of the stream, predicted or not.
      mScratchSize(std::max<std::size_t>(packetSize, MinScratch)),
      mHeaders(Batch * GvspExtendedHeaderSize),
      mScratch(Batch * mScratchSize)
{
}

Os::WaitResult UdpPacketSource::Wait(std::uint32_t timeoutMs)
{
    const Os::WaitResult result = mSocket.WaitReadable(timeoutMs);
    if (result == Os::WaitResult::Failed) {
        mLastError = mSocket.LastError();
    }
    return result;
}

bool UdpPacketSource::SendResend(const std::uint8_t* data, std::size_t size)
{
    return mSocket.SendTo({mCamera, GvcpPort}, data, size);
}

void UdpPacketSource::Wake()
{
    mSocket.Wake();
}

bool UdpPacketSource::Receive(FrameAssembler& assembler, long long& seen)
{
    for (int batch = 0; batch < MaxBatches; ++batch) {
        long long started = 0;
        const int received = ReceiveBatch(assembler, started);
        if (received < 0) {
            return false;
        }
        if (static_cast<std::size_t>(received) < Batch) {
            // All that had come when the system was asked is in.
            seen = started;
            NapWhileAFrameComes(static_cast<std::size_t>(received), assembler);
            break;
        }
    }
    return true;
}

void UdpPacketSource::NapWhileAFrameComes(std::size_t lastBatch, const FrameAssembler& assembler)
{
    // The system wakes the receiver for the first datagram that comes: the
    // rest of a frame's burst would come a few at a time, each few costing
    // a wake and a call. A nap lets the buffer gather a batch.
    if (mNapMs != 0 && lastBatch < Batch / 2 && assembler.IsReceiving()) {
        Os::SleepMs(mNapMs);
    }
}

void UdpPacketSource::AimSlots(FrameAssembler& assembler)
{
    mHeaderSize = assembler.ExpectedHeaderSize();
    const std::size_t predicted = assembler.Predict(mPredicted, Batch);
    for (std::size_t i = 0; i < Batch; ++i) {
        Os::DatagramSlot& slot = mSlots[i];
        std::uint8_t* scratch = &mScratch[i * mScratchSize];
        slot.spans[0] = {&mHeaders[i * GvspExtendedHeaderSize], mHeaderSize};
        if (i < predicted) {
            slot.spans[1] = {mPredicted[i].mData, mPredicted[i].mSize};
            slot.spans[2] = {scratch, mScratchSize};
            slot.spanCount = 3;
        } else {
            mPredicted[i].mData = nullptr;
            slot.spans[1] = {scratch, mScratchSize};
            slot.spanCount = 2;
        }
    }
}

bool UdpPacketSource::Settle(std::size_t i, FrameAssembler& assembler)
{
    const Os::DatagramSlot& slot = mSlots[i];
    if (slot.source.address != mCamera) {
        return false;
    }
    if (slot.truncated) {
        assembler.CountMalformed();
        return false;
    }
    GvspPacket decoded{};
    WireError error = DecodeGvspPacket(&mHeaders[i * GvspExtendedHeaderSize], std::min(slot.size, mHeaderSize), decoded);
    if (error == WireError::Truncated && slot.size >= GvspExtendedHeaderSize && mHeaderSize < GvspExtendedHeaderSize) {
        // An extended header where a standard one was expected runs on
        // into the payload's part.
        std::uint8_t whole[GvspExtendedHeaderSize];
        CopySpread(slot, 0, sizeof whole, whole);
        error = DecodeGvspPacket(whole, sizeof whole, decoded);
    }
    if (error != WireError::None) {
        assembler.CountMalformed();
        return false;
    }
    const GvspHeader& header = decoded.mHeader;
    const std::size_t headerSize = header.mExtended ? GvspExtendedHeaderSize : GvspHeaderSize;
    StreamPacket& packet = mPackets[i];
    packet.mHeader = header;
    packet.mBodySize = slot.size - headerSize;
    const PayloadSlot& predicted = mPredicted[i];
    if (predicted.mData != nullptr && headerSize == mHeaderSize && header.mFormat == GvspFormat::Payload &&
        header.mExtended == predicted.mExtended && header.mBlockId == predicted.mBlockId &&
        header.mPacketId == predicted.mPacketId && packet.mBodySize <= predicted.mSize) {
        packet.mBody = predicted.mData;
        packet.mInPlace = true;
        return true;
    }
    if (packet.mBodySize > mScratchSize) {
        assembler.CountMalformed();
        return false;
    }
    // Out of the predicted place before any other datagram of the batch is
    // moved to its place, which may be that one.
    std::uint8_t* scratch = &mScratch[i * mScratchSize];
    CopySpread(slot, headerSize, packet.mBodySize, scratch);
    packet.mBody = scratch;
    packet.mInPlace = false;
    return true;
}

int UdpPacketSource::ReceiveBatch(FrameAssembler& assembler, long long& started)
{
    AimSlots(assembler);
    started = Os::MonotonicMilliseconds();
    const int received = mSocket.ReceiveMany(mSlots, Batch);
    if (received < 0) {
        mLastError = mSocket.LastError();
        return -1;
    }
    if (received == 0) {
        return 0;
    }
    assembler.SetNow(started);
    const auto count = static_cast<std::size_t>(received);
    // Every datagram settles before any is placed: placing one may write
    // where another still lies.
    for (std::size_t i = 0; i < count; ++i) {
        mUsable[i] = Settle(i, assembler);
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (mUsable[i]) {
            assembler.Accept(mPackets[i]);
        }
    }
    return received;
}

}
