// The heartbeat of an open camera: a thread of the device that runs a probe
// every period until stopped or until the probe reports the camera lost.
// A camera that hears nothing from its controller for its heartbeat timeout
// gives control up.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace Gige {

class Heartbeat {
public:
    // probe answers false once the camera is lost; the heartbeat then ends.
    // Raises std::system_error when no thread can be started.
    Heartbeat(std::uint32_t periodMs, std::function<bool()> probe);
    // Stops and joins.
    ~Heartbeat();
    Heartbeat(const Heartbeat&) = delete;
    Heartbeat& operator=(const Heartbeat&) = delete;

    // Ends the thread after its current probe and joins it.
    void Stop() noexcept;

    // The period for a camera's heartbeat timeout (register 0x0938): a
    // third of it, so two probes may go unanswered before the camera gives
    // up; at least 100 ms and at most 1 s, so a lost camera is noticed soon.
    static std::uint32_t PeriodFor(std::uint32_t heartbeatTimeoutMs);

private:
    void Run();

    const std::uint32_t mPeriodMs;
    const std::function<bool()> mProbe;
    std::mutex mMutex;
    std::condition_variable mStopRequested;
    bool mStop = false;
    std::thread mThread;
};

}
