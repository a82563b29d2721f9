// Where the driver's images land: the completion callback reads every row of
// the image into one host image, as an inspection host does, and wakes the
// command waiting for it.
#pragma once

#include "DriverLibrary.h"

#include <chrono>
#include <cstdint>
#include <vector>

class ImageSink {
public:
    // One sink at a time: the driver's callback is a plain function.
    ImageSink(const DriverFunctions& driver, int port, int width, int height);
    ~ImageSink();
    ImageSink(const ImageSink&) = delete;
    ImageSink& operator=(const ImageSink&) = delete;

    static CompleteCallback Callback();

    // Waits until more than `count` images arrived in all; false on time-out.
    bool WaitForImages(std::uint64_t count, std::chrono::milliseconds timeout);
    std::uint64_t ImageCount() const;
    // Rows that could not be read (getCVLGrabRow answered 0).
    std::uint64_t FailedRows() const;
    // A copy of the last image, rows top to bottom.
    std::vector<unsigned char> LastImage() const;
};
