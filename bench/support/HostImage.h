// A host's copy of a camera's image, filled row by row through getCVLGrabRow
// the way an inspection host reads it in its completion callback.
#pragma once

#include "DriverLibrary.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Bench {

class HostImage {
public:
    HostImage(int width, int height);

    // Reads every row of the port's last image; the count of rows that could not be read.
    std::uint64_t ReadRows(const DriverFunctions& driver, int port);
    // Bytes 0 to 3 of the simulated camera's image.
    std::uint32_t FrameNumber() const;

    unsigned char* Data() { return mPixels.data(); }
    const unsigned char* Data() const { return mPixels.data(); }
    std::size_t Size() const { return mPixels.size(); }

private:
    int mWidth;
    int mHeight;
    std::vector<unsigned char> mPixels;
};

}
