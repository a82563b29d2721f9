#include "control/ControlChannel.h"

#include "control/RequestTimer.h"
#include "os/System.h"
#include "wire/GvcpStatus.h"

namespace Gige {

ControlChannel::ControlChannel(const Settings& settings, std::string cameraText)
    : mTries(settings.mTries), mTimeoutMs(settings.mTimeoutMs), mCameraText(std::move(cameraText))
{
}

Status ControlChannel::Open(Os::Ipv4Address local, Os::Ipv4Address camera)
{
    const std::lock_guard<TurnLock> turn(mTurn);
    mCamera = Os::Endpoint{camera, GvcpPort};
    if (!mSocket.Open() || !mSocket.Bind(Os::Endpoint{local, 0}))
        return Status::Failure(GC_ERR_ERROR, mCameraText + ": no control channel: " + mSocket.LastError());
    return Status::Success();
}

void ControlChannel::Close()
{
    const std::lock_guard<TurnLock> turn(mTurn);
    mSocket.Close();
}

void ControlChannel::MarkLost(const std::string& why)
{
    const std::lock_guard<std::mutex> guard(mLostMutex);
    if (!mLost.load()) {
        mLostText = mCameraText + ": " + why;
        mLost.store(true);
    }
}

std::string ControlChannel::LostText() const
{
    const std::lock_guard<std::mutex> guard(mLostMutex);
    return mLostText;
}

void ControlChannel::Flush(GvcpBuffer& scratch)
{
    Os::DatagramSlot slot;
    slot.spans[0] = Os::BufferSpan{scratch.data(), scratch.size()};
    slot.spanCount = 1;
    while (mSocket.ReceiveMany(&slot, 1) > 0) {
    }
}

Status ControlChannel::Transact(std::size_t size, const ExpectedAck& expected, const std::string& what,
                                GvcpBuffer& reply, GvcpAck& ack, bool silenceLoses)
{
    if (mLost.load())
        return Status::Failure(GC_ERR_TIMEOUT, LostText());
    if (!mSocket.IsOpen())
        return Status::Failure(GC_ERR_INVALID_HANDLE, mCameraText + ": " + what + ": the device is closed");
    if (size == 0)
        return Status::Failure(GC_ERR_INVALID_PARAMETER, mCameraText + ": " + what + ": cannot be encoded");
    Flush(reply);

    Os::DatagramSlot slot;
    slot.spans[0] = Os::BufferSpan{reply.data(), reply.size()};
    slot.spanCount = 1;
    RequestTimer timer(mTries, mTimeoutMs, Os::MonotonicMilliseconds());
    for (;;) {
        if (!mSocket.SendTo(mCamera, mCommand.data(), size))
            return Status::Failure(GC_ERR_ERROR, mCameraText + ": " + what + ": " + mSocket.LastError());
        for (;;) {
            const long long now = Os::MonotonicMilliseconds();
            const std::uint32_t remaining = timer.Remaining(now);
            if (remaining == 0)
                break;
            const Os::WaitResult waited = mSocket.WaitReadable(remaining);
            if (waited == Os::WaitResult::Failed)
                return Status::Failure(GC_ERR_ERROR, mCameraText + ": " + what + ": " + mSocket.LastError());
            if (waited != Os::WaitResult::Ready)
                continue;
            const int received = mSocket.ReceiveMany(&slot, 1);
            if (received < 0)
                return Status::Failure(GC_ERR_ERROR, mCameraText + ": " + what + ": " + mSocket.LastError());
            if (received == 0 || slot.truncated || slot.source.address != mCamera.address)
                continue;
            std::uint16_t pendingMs = 0;
            switch (FilterAck(reply.data(), slot.size, expected, ack, pendingMs)) {
            case AckVerdict::Ignore:
                break;
            case AckVerdict::Pending:
                timer.Extend(Os::MonotonicMilliseconds(), pendingMs);
                break;
            case AckVerdict::Answer:
                if (ack.mHeader.mStatus == GvcpStatus::Success)
                    return Status::Success();
                return Status::Failure(GvcpStatusToGcError(ack.mHeader.mStatus),
                                       mCameraText + ": " + what + " refused: " + GvcpStatusText(ack.mHeader.mStatus));
            }
        }
        if (!timer.NextTry(Os::MonotonicMilliseconds()))
            break;
    }
    const std::string text = what + ": no answer after " + std::to_string(timer.TriesUsed()) + " tries of " +
                             std::to_string(mTimeoutMs) + " ms";
    if (silenceLoses) {
        MarkLost("heartbeat lost (" + text + "): the camera stopped answering");
        return Status::Failure(GC_ERR_TIMEOUT, LostText());
    }
    return Status::Failure(GC_ERR_TIMEOUT, mCameraText + ": " + text);
}

}
