// What the control and the stream thread of one served camera share, behind
// one lock: the model camera (registers, acquisition, frame timing) and the
// requests the control side hands to the stream side.
#pragma once

#include "camsim/Camera.h"
#include "wire/PacketResend.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>

namespace GigeCamera {

struct StreamRequest {
    enum class Kind { Resend, TestPacket };
    Kind mKind;
    Gige::PacketResend mResend;   // for Kind::Resend
};

struct CameraCore {
    template <class... Arguments>
    explicit CameraCore(Arguments&&... arguments) : mModel(std::forward<Arguments>(arguments)...)
    {
    }

    std::mutex mMutex;
    CamSim::Camera mModel;
    // The stream thread waits here for a frame falling due, a change of
    // settings or a request.
    std::condition_variable mStreamWake;
    std::deque<StreamRequest> mRequests;
};

}
