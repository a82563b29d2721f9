// Arbitrary bytes as a camera's stream: a packet size, a buffer size and a
// run of datagrams, with the clock moving between them, through the frame
// assembler, the way the receiving thread feeds it (payloads received
// straight into the places it predicts, or copied from elsewhere). It must
// never write outside a buffer (the sanitizers watch its exact-size
// buffers), take a buffer it was not given, or hand one over twice, and at
// the end every frame it began is handed over. A crash or a broken rule is
// a finding.
#include "stream/FrameAssembler.h"
#include "wire/GvspHeader.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace Gige;

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

// Three buffers of one size, queued again as soon as they are handed over.
class Exchange final : public BufferExchange {
public:
    explicit Exchange(std::size_t size)
    {
        for (auto& buffer : mBuffers) {
            buffer.mMemory = std::make_unique<std::uint8_t[]>(size);
            buffer.mSize = size;
        }
    }

    Take TakeQueued(FrameBuffer& taken) override
    {
        for (auto& buffer : mBuffers) {
            if (!buffer.mTaken) {
                buffer.mTaken = true;
                taken = FrameBuffer{&buffer, buffer.mMemory.get(), buffer.mSize};
                return Take::Taken;
            }
        }
        return Take::NoneQueued;
    }

    void Deliver(const FrameBuffer& delivered, const BufferInfo& info, GC_ERROR code) override
    {
        Buffer* buffer = static_cast<Buffer*>(delivered.mHandle);
        Check(buffer >= mBuffers.data() && buffer < mBuffers.data() + mBuffers.size(), "a buffer it was not given");
        Check(buffer->mTaken, "a buffer handed over twice");
        Check(delivered.mData == buffer->mMemory.get() && delivered.mSize == buffer->mSize, "another buffer's memory");
        Check(info.mFilledBytes <= buffer->mSize, "more bytes filled than the buffer holds");
        Check(code == GC_ERR_SUCCESS || code == GC_ERR_INCOMPLETE_FRAME, "a record code of neither kind");
        Check(code != GC_ERR_SUCCESS || info.mMissingPackets == 0, "a complete frame that misses packets");
        buffer->mTaken = false;
    }

    void ReceivingFailed(const std::string&) override {}

    bool AnyTaken() const
    {
        for (const auto& buffer : mBuffers) {
            if (buffer.mTaken) {
                return true;
            }
        }
        return false;
    }

private:
    struct Buffer {
        std::unique_ptr<std::uint8_t[]> mMemory;
        std::size_t mSize = 0;
        bool mTaken = false;
    };
    std::array<Buffer, 3> mBuffers;
};

std::uint32_t Read16(const std::uint8_t*& data, std::size_t& size)
{
    if (size < 2) {
        size = 0;
        return 0;
    }
    const std::uint32_t value = std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8;
    data += 2;
    size -= 2;
    return value;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FrameAssembler::Settings settings;
    settings.mPacketSize = 60 + Read16(data, size) % 9000;
    settings.mLargestBuffer = 1 + Read16(data, size) * 4;
    settings.mFramesInFlight = 2 + Read16(data, size) % 3;
    settings.mMissingPacketWaitMs = 5;
    settings.mFrameRetentionMs = 100;
    // Resend plans its requests over the frames' bitmaps; they go nowhere.
    settings.mResend.mEnabled = true;
    Exchange exchange(settings.mLargestBuffer);
    StreamCounters counters;
    FrameAssembler assembler(exchange, counters, settings);

    long long now = 0;
    std::vector<std::uint8_t> datagram;
    std::array<PayloadSlot, 8> slots{};
    while (size > 0) {
        // Each datagram: its length in the low 14 bits, the milliseconds
        // since the last one in the top 2, then its bytes.
        const std::uint32_t word = Read16(data, size);
        const std::size_t length = std::min<std::size_t>(word & 0x3FFF, size);
        now += word >> 14;
        assembler.SetNow(now);
        datagram.assign(data, data + length);
        data += length;
        size -= length;

        const std::size_t predicted = assembler.Predict(slots.data(), slots.size());
        GvspPacket decoded{};
        if (DecodeGvspPacket(datagram.data(), datagram.size(), decoded) != WireError::None) {
            assembler.CountMalformed();
            continue;
        }
        StreamPacket packet{decoded.mHeader, decoded.mBody, decoded.mBodySize, false};
        for (std::size_t i = 0; i < predicted; ++i) {
            const PayloadSlot& slot = slots[i];
            Check(slot.mData != nullptr && slot.mSize != 0, "an empty prediction");
            // Received as the system would: into the predicted place.
            if (decoded.mHeader.mFormat == GvspFormat::Payload && decoded.mHeader.mBlockId == slot.mBlockId &&
                decoded.mHeader.mPacketId == slot.mPacketId && decoded.mHeader.mExtended == slot.mExtended &&
                decoded.mBodySize <= slot.mSize) {
                std::memcpy(slot.mData, decoded.mBody, decoded.mBodySize);
                packet.mBody = slot.mData;
                packet.mInPlace = true;
                break;
            }
        }
        assembler.Accept(packet);
        assembler.Service(now);
    }
    // Long after the last packet every frame is over.
    assembler.Service(now + 1000000);
    Check(!exchange.AnyTaken(), "a frame never handed over");
    return 0;
}
