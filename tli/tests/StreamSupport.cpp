#include "StreamSupport.h"

namespace TliTest {

StreamFixture::StreamFixture(const char* camera, bool bigEndian) : mCamera(camera), mBigEndian(bigEndian)
{
    mDevice = mLibrary.OpenDevice(DefaultInterface, camera);
    EXPECT_EQ(DevCreateDataStream(mDevice, 0, &mStream), GC_ERR_SUCCESS);
    EXPECT_EQ(GCRegisterEvent(mStream, EVENT_NEW_BUFFER, mEvent.GetNative(), &mEventHandle), GC_ERR_SUCCESS);
}

StreamFixture::~StreamFixture()
{
    // As a driver closes: event, acquisition, buffers, stream.
    GCUnregisterEvent(mEventHandle, EVENT_NEW_BUFFER);
    DSStopAcquisition(mStream, 0);
    for (BUFFER_HANDLE handle : mHandles)
        DSRevokeBuffer(mStream, handle, nullptr, nullptr);
    DSClose(mStream);
}

void StreamFixture::Announce(std::size_t count, std::size_t size)
{
    if (size == 0)
        size = std::size_t{Read32(mDevice, WidthAddress, mBigEndian)} * Read32(mDevice, HeightAddress, mBigEndian);
    for (std::size_t i = 0; i < count; ++i) {
        mBuffers.emplace_back(size, 0xEE);
        BUFFER_HANDLE handle = nullptr;
        ASSERT_EQ(DSAnnounceBuffer(mStream, mBuffers.back().data(), size, nullptr, &handle), GC_ERR_SUCCESS);
        mHandles.push_back(handle);
    }
}

void StreamFixture::QueueAll()
{
    for (BUFFER_HANDLE handle : mHandles)
        ASSERT_EQ(DSQueueBuffer(mStream, handle), GC_ERR_SUCCESS);
}

void StreamFixture::Start(uint64_t frames)
{
    ASSERT_EQ(DSStartAcquisition(mStream, 0, frames), GC_ERR_SUCCESS);
}

BUFFER_HANDLE StreamFixture::WaitRecord(uint32_t timeoutMs, GC_ERROR* code)
{
    Os::Event* events[] = {&mEvent};
    if (Os::WaitForAny(events, 1, timeoutMs) != 0)
        return nullptr;
    BUFFER_HANDLE handle = nullptr;
    size_t size = sizeof handle;
    const GC_ERROR result = GCGetEventData(mEventHandle, &handle, &size);
    if (code != nullptr)
        *code = result;
    else
        EXPECT_EQ(result, GC_ERR_SUCCESS);
    return handle;
}

bool StreamFixture::EventIsSet()
{
    Os::Event* events[] = {&mEvent};
    return Os::WaitForAny(events, 1, 0) == 0;
}

std::vector<uint8_t>& StreamFixture::Memory(BUFFER_HANDLE handle)
{
    for (std::size_t i = 0; i < mHandles.size(); ++i)
        if (mHandles[i] == handle)
            return mBuffers[i];
    ADD_FAILURE() << "not a buffer of this stream";
    static std::vector<uint8_t> none;
    return none;
}

uint32_t StreamFixture::FrameNumber(const std::vector<uint8_t>& memory)
{
    return memory.size() < 4 ? 0 : memory[0] | memory[1] << 8 | memory[2] << 16 | uint32_t{memory[3]} << 24;
}

TLICtlStreamState StreamFixture::State()
{
    TLICtlStreamState state{};
    EXPECT_EQ(TLICtl_GetStreamState(mCamera, &state), GC_ERR_SUCCESS);
    return state;
}

}
