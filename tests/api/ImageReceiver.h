// The host's side of image delivery for the end-to-end tests: the
// completion callback reads every row of each image in the callback, as an
// inspection host does, checks it against the simulated camera's pattern,
// and can act from inside the callback (ask for the next grab, close, ...).
#pragma once

#include "DriverLibrary.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace TestSupport {

class ImageReceiver {
public:
    // One receiver at a time: the driver's callback is a plain function.
    explicit ImageReceiver(const DriverFunctions& driver);
    ~ImageReceiver();
    ImageReceiver(const ImageReceiver&) = delete;
    ImageReceiver& operator=(const ImageReceiver&) = delete;

    static CompleteCallback Callback();

    // Images of the port are read as width x height; with checkPattern each
    // is compared with the camera's pattern at the given offsets.
    void Expect(int port, int width, int height, bool checkPattern = true, int offset = 0);
    // Runs inside the callback after the image was read, with the count of
    // images the port received so far.
    void OnImage(int port, std::function<void(std::uint64_t count)> action);

    bool WaitForImages(int port, std::uint64_t count, std::chrono::milliseconds timeout);
    std::uint64_t Count(int port) const;
    // The frame numbers (bytes 0 to 3) of the port's images, in arrival order.
    std::vector<std::uint32_t> FrameNumbers(int port) const;
    // The longest time between two images of the port, from its image number from on.
    std::chrono::milliseconds LongestGap(int port, std::uint64_t from) const;
    std::vector<unsigned char> LastImage(int port) const;
    // Images whose rows could not be read, or did not match the pattern.
    std::uint64_t BadImages(int port) const;
    // Calls for a port nobody expected, or with a status other than 0.
    std::uint64_t StrayCalls() const;
};

}
