// Arbitrary bytes as a zipped description read from a camera's memory: the
// reader either yields the first entry or raises its CameraError.
#include "transport/CameraError.h"
#include "transport/ZipArchive.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        Kavrix::UnzipFirstEntry(data, size);
    } catch (const Kavrix::CameraError&) {
    }
    return 0;
}
