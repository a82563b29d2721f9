#include "CameraCommands.h"

#include "DriverSession.h"
#include "ImageSink.h"
#include "OpenCamera.h"
#include "Pgm.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <string>
#include <thread>

namespace {

constexpr int Done = 0;
constexpr int DriverFailed = 1;
constexpr int BadCommandLine = 2;
constexpr int ImageLate = 4;
// Longer than any exposure and frame time a camera on the line uses.
constexpr std::chrono::seconds ImageTimeout{10};

bool HasArguments(const HostOptions& options, std::size_t count, const char* usage)
{
    if (options.arguments.size() != count) {
        std::fprintf(stderr, "kavrix-host: usage: kavrix-host %s\n", usage);
        return false;
    }
    return true;
}

double MeanGray(const std::vector<unsigned char>& image)
{
    if (image.empty()) {
        return 0.0;
    }
    return static_cast<double>(std::accumulate(image.begin(), image.end(), std::uint64_t{0})) /
           static_cast<double>(image.size());
}

// The driver's dropped count, as its statistics message reports it; -1 when
// the message did not come (a LogLevel of 0 keeps it from the host).
long DroppedImages(const DriverFunctions& driver, int port)
{
    driver.setProperty(0, port, "PrintStats", 1);
    const std::string statistics = DriverSession::LastStatistics();
    const std::size_t found = statistics.find("Dropped:");
    return found == std::string::npos ? -1 : std::strtol(statistics.c_str() + found + 8, nullptr, 10);
}

// A camera opened with the sink set as its completion callback.
struct GrabbingCamera {
    GrabbingCamera(const DriverFunctions& driver, const HostOptions& options)
        : session(driver, options), camera(session, options.arguments[0], options.port),
          sink(driver, options.port, camera.Width(), camera.Height())
    {
        ready = camera.IsOpen() && driver.setCompleteCallback(0, options.port, ImageSink::Callback()) == 1;
    }
    ~GrabbingCamera()
    {
        if (camera.IsOpen()) {
            session.Driver().setCompleteCallback(0, camera.Port(), nullptr);
        }
    }

    DriverSession session;
    OpenCamera camera;
    ImageSink sink;
    bool ready = false;
};

}

int OpenCommand(const DriverFunctions& driver, const HostOptions& options)
{
    if (!HasArguments(options, 1, "open CAMERA [--port N]")) {
        return BadCommandLine;
    }
    DriverSession session(driver, options);
    OpenCamera camera(session, options.arguments[0], options.port);
    if (!camera.IsOpen()) {
        return DriverFailed;
    }
    std::printf("opened \"%s\" on port %d: %d x %d pixels\n", options.arguments[0].c_str(), options.port,
                camera.Width(), camera.Height());
    return Done;
}

int GrabCommand(const DriverFunctions& driver, const HostOptions& options)
{
    if (!HasArguments(options, 1, "grab CAMERA [--count N] [--out DIR] [--port N]")) {
        return BadCommandLine;
    }
    const std::filesystem::path folder = options.outFolder.empty() ? "." : options.outFolder;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    GrabbingCamera grabbing(driver, options);
    if (!grabbing.ready) {
        return DriverFailed;
    }
    for (int image = 0; image < options.count; ++image) {
        if (driver.doCVLGrab(0, options.port) != 1) {
            std::fprintf(stderr, "kavrix-host: doCVLGrab failed on port %d\n", options.port);
            return DriverFailed;
        }
        if (!grabbing.sink.WaitForImages(static_cast<std::uint64_t>(image), ImageTimeout)) {
            std::fprintf(stderr, "kavrix-host: image %d did not arrive within %lld s\n", image + 1,
                         static_cast<long long>(ImageTimeout.count()));
            return ImageLate;
        }
        char name[64];
        std::snprintf(name, sizeof name, "port%d-frame%04d.pgm", options.port, image + 1);
        const std::string path = (folder / name).string();
        const std::vector<unsigned char> pixels = grabbing.sink.LastImage();
        if (!WritePgm(path, grabbing.camera.Width(), grabbing.camera.Height(), pixels)) {
            std::fprintf(stderr, "kavrix-host: cannot write %s\n", path.c_str());
            return DriverFailed;
        }
        std::printf("image %d: %d x %d, mean gray %.1f -> %s\n", image + 1, grabbing.camera.Width(),
                    grabbing.camera.Height(), MeanGray(pixels), path.c_str());
        std::fflush(stdout);
    }
    if (grabbing.sink.FailedRows() != 0) {
        std::fprintf(stderr, "kavrix-host: %llu rows could not be read\n",
                     static_cast<unsigned long long>(grabbing.sink.FailedRows()));
        return DriverFailed;
    }
    return Done;
}

int ContinuousCommand(const DriverFunctions& driver, const HostOptions& options)
{
    if (!HasArguments(options, 1, "continuous CAMERA --seconds S [--port N]") || options.seconds <= 0.0) {
        if (options.seconds <= 0.0) {
            std::fprintf(stderr, "kavrix-host: continuous needs --seconds S\n");
        }
        return BadCommandLine;
    }
    GrabbingCamera grabbing(driver, options);
    if (!grabbing.ready) {
        return DriverFailed;
    }
    if (driver.setProperty(0, options.port, "continuous", 1) != 1) {
        std::fprintf(stderr, "kavrix-host: cannot switch continuous grabbing on\n");
        return DriverFailed;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const auto total = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options.seconds));
    std::uint64_t lastCount = 0;
    Clock::time_point lastTime = start;
    for (int second = 1;; ++second) {
        const Clock::time_point next = std::min(start + std::chrono::seconds(second), start + total);
        std::this_thread::sleep_until(next);
        const std::uint64_t count = grabbing.sink.ImageCount();
        const double elapsed = std::chrono::duration<double>(next - lastTime).count();
        std::printf("%6.1f s: images %llu, dropped %ld, %.1f images/s\n",
                    std::chrono::duration<double>(next - start).count(), static_cast<unsigned long long>(count),
                    DroppedImages(driver, options.port), elapsed > 0 ? (count - lastCount) / elapsed : 0.0);
        std::fflush(stdout);
        lastCount = count;
        lastTime = next;
        if (next >= start + total) {
            break;
        }
    }
    driver.setProperty(0, options.port, "continuous", 0);
    // The camera's counts, and where a network camera's frames and packets went.
    if (driver.setProperty(0, options.port, "PrintStats", 1) == 1) {
        std::fputs(DriverSession::LastStatistics().c_str(), stdout);
    }
    return grabbing.sink.ImageCount() > 0 ? Done : ImageLate;
}

int PropertyCommand(const DriverFunctions& driver, const HostOptions& options)
{
    const bool set = options.command == "set";
    if (!HasArguments(options, set ? 3 : 2,
                      set ? "set CAMERA PROPERTY VALUE [--port N]" : "get|range CAMERA PROPERTY [--port N]")) {
        return BadCommandLine;
    }
    const char* property = options.arguments[1].c_str();
    DriverSession session(driver, options);
    OpenCamera camera(session, options.arguments[0], options.port);
    if (!camera.IsOpen()) {
        return DriverFailed;
    }
    if (set) {
        char* end = nullptr;
        const long value = std::strtol(options.arguments[2].c_str(), &end, 10);
        if (options.arguments[2].empty() || *end != '\0' || value < -2147483647L - 1 || value > 2147483647L) {
            std::fprintf(stderr, "kavrix-host: %s is not an int value\n", options.arguments[2].c_str());
            return BadCommandLine;
        }
        if (driver.setProperty(0, options.port, property, static_cast<int>(value)) != 1) {
            std::fprintf(stderr,
                         "kavrix-host: setProperty %s %ld failed: the property is unknown, or the camera did not take "
                         "the value (--log 1 shows why)\n",
                         property, value);
            int current = 0;
            if (driver.getProperty(0, options.port, property, &current) == 1) {
                std::fprintf(stderr, "kavrix-host: %s stays %d\n", property, current);
            }
            return DriverFailed;
        }
        std::printf("%s set to %ld\n", property, value);
    } else if (options.command == "get") {
        int value = 0;
        if (driver.getProperty(0, options.port, property, &value) != 1) {
            std::fprintf(stderr, "kavrix-host: getProperty %s failed (unknown property)\n", property);
            return DriverFailed;
        }
        std::printf("%s = %d\n", property, value);
    } else {
        int minimum = 0;
        int maximum = 0;
        if (driver.getPropertyRange(0, options.port, property, &minimum, &maximum) != 1) {
            std::fprintf(stderr, "kavrix-host: getPropertyRange %s failed (unknown property or no range)\n",
                         property);
            return DriverFailed;
        }
        std::printf("%s: %d .. %d\n", property, minimum, maximum);
    }
    return Done;
}

int StatsCommand(const DriverFunctions& driver, const HostOptions& options)
{
    if (!HasArguments(options, 1, "stats CAMERA [--port N]")) {
        return BadCommandLine;
    }
    DriverSession session(driver, options);
    OpenCamera camera(session, options.arguments[0], options.port);
    if (!camera.IsOpen()) {
        return DriverFailed;
    }
    if (driver.setProperty(0, options.port, "PrintStats", 1) != 1 || DriverSession::LastStatistics().empty()) {
        std::fprintf(stderr, "kavrix-host: no statistics came (a LogLevel of 0 in Kavrix.ini keeps them back)\n");
        return DriverFailed;
    }
    std::fputs(DriverSession::LastStatistics().c_str(), stdout);
    return Done;
}
