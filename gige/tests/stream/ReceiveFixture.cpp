#include "ReceiveFixture.h"

#include <algorithm>
#include <cstring>

namespace StreamLab {

std::string PathName(const testing::TestParamInfo<Path>& info)
{
    return info.param == Path::Ring ? "PacketRing" : "Udp";
}

void ReceiveFixture::SetUp()
{
    if (GetParam() == Path::Ring && !RingExpected()) {
        GTEST_SKIP() << "no packet ring here, or no CAP_NET_RAW";
    }
    mOptions.mAllowPacketRing = GetParam() == Path::Ring;
}

Gige::StreamOptions ReceiveFixture::Options() const
{
    return mOptions;
}

void ReceiveFixture::Start(std::size_t count, std::size_t size, bool queue, std::uint64_t frames)
{
    mStream = std::make_unique<Gige::Stream>(mHost, Options());
    for (std::size_t i = 0; i < count; ++i) {
        mMemory.push_back(NewBuffer(size));
        mSizes.push_back(size);
        BUFFER_HANDLE handle = nullptr;
        ASSERT_EQ(mStream->AnnounceBuffer(mMemory.back().get(), size, nullptr, &handle), GC_ERR_SUCCESS);
        mBuffers.push_back(handle);
        if (queue) {
            ASSERT_EQ(mStream->QueueBuffer(handle), GC_ERR_SUCCESS);
        }
    }
    ASSERT_EQ(mStream->RegisterEvent(mEvent.GetNative()), GC_ERR_SUCCESS);
    ASSERT_EQ(mStream->StartAcquisition(frames), GC_ERR_SUCCESS) << mStream->LastError();
    const std::string path = InfoText(*mStream, STREAM_INFO_RECEIVE_PATH);
    ASSERT_EQ(path.rfind(GetParam() == Path::Ring ? "packet ring" : "UDP socket", 0), 0u) << path;
    mCamera.Aim(mHost);
}

std::size_t ReceiveFixture::IndexOf(BUFFER_HANDLE buffer) const
{
    return static_cast<std::size_t>(std::find(mBuffers.begin(), mBuffers.end(), buffer) - mBuffers.begin());
}

void ReceiveFixture::ExpectImage(BUFFER_HANDLE buffer, const Bytes& image) const
{
    const std::size_t index = IndexOf(buffer);
    ASSERT_LT(index, mBuffers.size()) << "not one of the stream's buffers";
    ASSERT_LE(image.size(), mSizes[index]);
    const std::uint8_t* memory = mMemory[index].get();
    const auto differs = std::mismatch(image.begin(), image.end(), memory);
    EXPECT_EQ(differs.first, image.end()) << "first wrong byte at " << (differs.first - image.begin());
    EXPECT_TRUE(std::all_of(memory + image.size(), memory + mSizes[index], [](std::uint8_t b) { return b == Untouched; }))
        << "written past the image";
}

}
