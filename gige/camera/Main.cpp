// kavrix-gige-camera: simulated cameras as GigE Vision cameras on the network
// (HelpText in Options.cpp says what it does).
#include "CameraSet.h"
#include "EventLog.h"
#include "Options.h"
#include "Silence.h"
#include "os/ProcessSignals.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

using namespace GigeCamera;

namespace {

constexpr int ExitServed = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

// Switches the silence on and off as the options and SIGUSR1 ask, until the
// program is asked to end.
void Serve(Os::ProcessSignals& signals, const FaultOptions& faults, Silence& silence)
{
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto at = [start](double seconds) {
        return start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    };
    // The next switch of the silence; none at the clock's end.
    const Clock::time_point none = Clock::time_point::max();
    Clock::time_point next = faults.mSilenceStart ? at(*faults.mSilenceStart) : none;
    bool nextOn = true;
    for (;;) {
        std::uint32_t timeout = Os::Infinite;
        if (next != none) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()).count();
            timeout = left <= 0 ? 0 : static_cast<std::uint32_t>(left);
        }
        const Os::ProcessSignal signal = signals.Wait(timeout);
        if (signal == Os::ProcessSignal::End)
            return;
        if (signal == Os::ProcessSignal::User) {
            silence.Set(!silence.IsOn());
            LogEvent(silence.IsOn() ? "silent (SIGUSR1)" : "answering again (SIGUSR1)");
            continue;
        }
        if (next == none || Clock::now() < next)
            continue;
        silence.Set(nextOn);
        LogEvent(nextOn ? "silent (--silence)" : "answering again (--silence)");
        next = nextOn && faults.mSilenceLength ? at(*faults.mSilenceStart + *faults.mSilenceLength) : none;
        nextOn = false;
    }
}

int Run(const Options& options)
{
    // Before any thread: the threads keep the signals blocked.
    Os::ProcessSignals signals;
    Silence silence;
    CameraSet cameras(options, silence);
    LogEvent("serving " + std::to_string(cameras.Count()) + (cameras.Count() == 1 ? " camera" : " cameras") + " on " +
             options.mInterface + " until SIGTERM or SIGINT");
    Serve(signals, options.mFaults, silence);
    LogEvent("ending");
    cameras.Stop();
    return ExitServed;
}

}

int main(int argc, char** argv)
{
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "kavrix-gige-camera: %s (see --help)\n", error.c_str());
        return ExitUsage;
    }
    if (options.mHelp) {
        std::fputs(HelpText(), stdout);
        return ExitServed;
    }
    try {
        return Run(options);
    } catch (const UsageError& usage) {
        std::fprintf(stderr, "kavrix-gige-camera: %s\n", usage.what());
        return ExitUsage;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "kavrix-gige-camera: %s\n", failure.what());
        return ExitFailed;
    }
}
