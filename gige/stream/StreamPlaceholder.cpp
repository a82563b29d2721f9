// Stands in for the stream receiver until it is built (it replaces this
// file): every stream operation fails with GC_ERR_ERROR and says so, so the
// device side builds, links and can be tested on its own.
#include "stream/Stream.h"

namespace Gige {

struct Stream::State {
    std::string mLastError = "stream not built yet";
};

Stream::Stream(StreamHost&) : mState(std::make_unique<State>()) {}

Stream::~Stream() = default;

GC_ERROR Stream::AnnounceBuffer(void*, std::size_t, void*, BUFFER_HANDLE*)
{
    return GC_ERR_ERROR;
}

GC_ERROR Stream::RevokeBuffer(BUFFER_HANDLE, void**, void**)
{
    return GC_ERR_ERROR;
}

GC_ERROR Stream::QueueBuffer(BUFFER_HANDLE)
{
    return GC_ERR_ERROR;
}

GC_ERROR Stream::StartAcquisition(std::uint64_t)
{
    return GC_ERR_ERROR;
}

GC_ERROR Stream::StopAcquisition()
{
    return GC_ERR_ERROR;
}

GC_ERROR Stream::RegisterEvent(TLI_OS_EVENT)
{
    return GC_ERR_ERROR;
}

void Stream::UnregisterEvent() {}

GC_ERROR Stream::TakeRecord(BUFFER_HANDLE*)
{
    return GC_ERR_ERROR;
}

GC_ERROR Stream::GetInfo(std::int32_t, std::int32_t*, void*, std::size_t*)
{
    return GC_ERR_ERROR;
}

void Stream::DeviceLost() {}

const std::string& Stream::LastError() const
{
    return mState->mLastError;
}

}
