// A simulated camera running free as fast as it can, and a consumer thread
// doing what the camera's image path does for each frame: wake on the
// stream's event, take the buffer (ProcessEvent), copy the image into a host
// buffer and requeue (GetImage). Prints frames per second, megabytes per
// second, frames lost, and the consumer's cost per frame against a bare
// memcpy of one frame measured in the same run, under the same conditions.
//
// Two ways to run free: "paced" is the camera at the fastest frame rate its
// sensor allows for the image height, sending whether or not a buffer waits
// (a frame without one is lost); "unpaced" is a camera with no frame rate at
// all, sending the next frame the moment a buffer is queued, which shows how
// fast the image path can go (and makes every requeue wake the producer).
#include "TLIControl.h"
#include "os/Event.h"
#include "transport/Device.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Camera {
    Kavrix::Library library;
    std::shared_ptr<Kavrix::Interface> iface;
    std::unique_ptr<Kavrix::Device> device;
    std::string name;

    Camera(int index, std::int64_t width, std::int64_t height, bool paced)
    {
        library.Open();
        iface = std::make_shared<Kavrix::Interface>(0, library);
        iface->Open();
        device = std::make_unique<Kavrix::Device>(iface, index);
        name = device->GetName();
        device->Open();
        device->GetIntegerNode("Width").SetValue(width);
        device->GetIntegerNode("Height").SetValue(height);
        device->GetEnumerationNode("PixelFormat").SetIntValue(0x01080001);
        device->GetEnumerationNode("AcquisitionMode").SetIntValue(1);
        // Both models: the automatic frame rate is the fastest the sensor allows.
        for (const char* automatic : {"AutoFrameRate", "AcquisitionFrameRateAuto"}) {
            if (auto* node = dynamic_cast<GenApi::IEnumeration*>(device->GetNodeMap()._GetNode(automatic))) {
                node->SetIntValue(1);
            }
        }
        TLICtl_SetPacing(name.c_str(), paced ? 1 : 0);
        device->OpenDataStream();
        device->StartAcquisition();
    }
    ~Camera() { device.reset(); }

    TLICtlStreamState State() const
    {
        TLICtlStreamState state{};
        TLICtl_GetStreamState(name.c_str(), &state);
        return state;
    }
};

// The filled buffer ProcessEvent just took: the only one the producer does not hold.
const unsigned char* TakenBuffer(Kavrix::DataStream& stream)
{
    for (const auto& buffer : stream.GetBuffers()) {
        if (!buffer->IsQueued()) {
            return buffer->GetMemory();
        }
    }
    return nullptr;
}

void BM_FreeRunningStream(benchmark::State& state)
{
    const auto width = state.range(0);
    const auto height = state.range(1);
    const std::size_t size = static_cast<std::size_t>(width * height);
    TLICtl_Reset();
    Camera camera(static_cast<int>(state.range(2)), width, height, state.range(3) != 0);
    std::vector<unsigned char> host(size);
    Os::Event* events[] = {camera.device->GetImageReceivedEvent().get()};

    const TLICtlStreamState before = camera.State();
    // Frames alternate. On one the image path is timed: ProcessEvent, then
    // GetImage copying into the host buffer and requeueing. On the next a
    // bare memcpy of the frame is timed instead, at the same moment (right
    // after the wake) and from the same memory in the same state: the grab
    // buffer the producer just filled, which is the one taken a buffer cycle
    // earlier, as the buffers go round in order. Then the buffer is taken and
    // requeued untimed.
    Kavrix::DataStream& stream = *camera.device->GetDataStream();
    std::vector<const unsigned char*> recent(stream.GetBuffers().size());
    std::vector<unsigned char> scratch(size);
    std::int64_t frames = 0;
    std::int64_t timedPaths = 0;
    std::int64_t timedCopies = 0;
    double pathNs = 0;
    double copyNs = 0;
    for (auto _ : state) {
        if (Os::WaitForAny(events, 1, 5000) != 0) {
            state.SkipWithError("no frame within 5 s");
            break;
        }
        const unsigned char*& slot = recent[static_cast<std::size_t>(frames) % recent.size()];
        if (frames % 2 == 1 && slot != nullptr) {
            const unsigned char* expected = slot;
            const auto start = Clock::now();
            std::memcpy(scratch.data(), expected, size);
            benchmark::DoNotOptimize(scratch.data());
            benchmark::ClobberMemory();
            const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
            camera.device->ProcessEvent("bench");
            slot = TakenBuffer(stream);
            if (slot == expected) {
                copyNs += ns;
                ++timedCopies;
            }
            camera.device->DiscardImage();
        } else {
            const auto start = Clock::now();
            camera.device->ProcessEvent("bench");
            const auto taken = Clock::now();
            slot = TakenBuffer(stream);
            const auto copy = Clock::now();
            camera.device->GetImage(host.data(), size);
            pathNs += std::chrono::duration<double, std::nano>((taken - start) + (Clock::now() - copy)).count();
            ++timedPaths;
        }
        ++frames;
    }
    const TLICtlStreamState after = camera.State();

    const double perFrame = timedPaths > 0 ? pathNs / static_cast<double>(timedPaths) : 0;
    const double memcpyNs = timedCopies > 0 ? copyNs / static_cast<double>(timedCopies) : 0;
    state.counters["fps"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["MB/s"] =
        benchmark::Counter(static_cast<double>(frames) * static_cast<double>(size) / 1e6, benchmark::Counter::kIsRate);
    state.counters["lost"] = static_cast<double>(after.mLost - before.mLost);
    state.counters["consumer_us"] = perFrame / 1000;
    state.counters["memcpy_us"] = memcpyNs / 1000;
    state.counters["consumer/memcpy"] = memcpyNs > 0 ? perFrame / memcpyNs : 0;
}

}

BENCHMARK(BM_FreeRunningStream)
    ->ArgNames({"width", "height", "camera", "paced"})
    ->Args({640, 480, 0, 1})
    ->Args({2448, 2048, 1, 1})
    ->Args({640, 480, 0, 0})
    ->Args({2448, 2048, 1, 0})
    ->UseRealTime()
    ->MinTime(3.0)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
