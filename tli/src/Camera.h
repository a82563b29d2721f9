// One simulated camera as the producer serves it: the model camera, and what
// the producer adds to it: the information DevGetInfo gives, the handle that
// holds it open, its stream, and the test controls (removal, transfer
// limits, privilege on open, counters).
#pragma once

#include "camsim/Camera.h"
#include "TLI.h"

#include <cstdint>
#include <optional>
#include <string>

namespace Tli {

class Stream;

class Camera : public CamSim::Camera {
public:
    using CamSim::Camera::Camera;

    // The text DevGetInfo answers for a command; none for an unknown command.
    std::optional<std::string> GetInfo(std::int32_t command) const;

    // A camera taken off the network answers nothing any more.
    bool IsRemoved() const { return mRemoved; }
    void MarkRemoved();

    // The handle that holds the camera open, null when none does.
    DEV_HANDLE GetOpenHandle() const { return mOpenHandle; }
    // Taking the camera sets the control channel privilege as the access
    // asks (or as a test chose); releasing it clears the privilege.
    void Open(DEV_HANDLE handle, std::int32_t access);
    void Close();
    void SetPrivilegeOnOpen(std::optional<std::uint32_t> value) { mPrivilegeOnOpen = value; }
    // How many of the asked bytes one register read or write moves (0: all of them).
    void SetTransferLimits(std::size_t read, std::size_t write)
    {
        mReadLimit = read;
        mWriteLimit = write;
    }
    std::size_t ReadSize(std::size_t asked) const { return Limited(asked, mReadLimit); }
    std::size_t WriteSize(std::size_t asked) const { return Limited(asked, mWriteLimit); }

    // The stream of the open camera, told when acquisition settings change.
    Stream* GetStream() const { return mStream; }
    void SetStream(Stream* stream) { mStream = stream; }
    // The frame thread looks at the camera again.
    void WakeStream();

    void CountDelivered() { ++mDelivered; }
    void CountLost() { ++mLost; }
    std::uint64_t GetDelivered() const { return mDelivered; }
    std::uint64_t GetLost() const { return mLost; }

private:
    static std::size_t Limited(std::size_t asked, std::size_t limit) { return limit != 0 && asked > limit ? limit : asked; }

    std::optional<std::uint32_t> mPrivilegeOnOpen;
    std::size_t mReadLimit = 0;
    std::size_t mWriteLimit = 0;
    bool mRemoved = false;
    DEV_HANDLE mOpenHandle = nullptr;
    Stream* mStream = nullptr;
    std::uint64_t mDelivered = 0;
    std::uint64_t mLost = 0;
};

}
