// The host-readable copy of the last image of an open camera: rows top to
// bottom without gaps, one byte per pixel (three for a colour camera).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

class ImageBuffer {
public:
    // Allocates (3 when colour, else 1) x width x height bytes at once;
    // raises "Err" after its log line when that is not possible.
    ImageBuffer(bool colour, int width, int height);
    ImageBuffer(const ImageBuffer&) = delete;
    ImageBuffer& operator=(const ImageBuffer&) = delete;

    // A size that is not positive, or above what an int can count, raises
    // "Err" after its log line; the current size keeps the bytes.
    void Allocate(std::int64_t size);
    // The start of a row, or null (logged) for a row outside the image.
    unsigned char* GetLine(int row);

    // Where the next image goes: the image starts at the same place within a
    // 4 KiB page as the row the host last read it into, when FollowReader
    // saw one. Called only by the thread that copies images in.
    unsigned char* GetData();
    // How fast the host's row copies run depends on where their destination
    // lies within a page against their source: a destination a few bytes
    // ahead stalls every load on the store before it (4 KiB aliasing), and
    // row copies took up to twice one memcpy of the image. Later images start
    // where the host's row 0 goes within a page, which is as fast as the
    // host's copies of its own memory.
    void FollowReader(const unsigned char* rowZeroDestination);
    int GetSize() const { return mSize; }
    int GetRowSize() const { return mWidth * BytesPerPixel(); }

private:
    int BytesPerPixel() const { return mColour ? 3 : 1; }

    int mSize = 0;
    int mWidth;
    std::uint32_t mHeight;
    bool mColour;
    std::unique_ptr<unsigned char[]> mData;
    // Where the image starts in mData, below Page bytes of slack; the next
    // offset is taken when the next image is copied in.
    std::atomic<std::size_t> mOffset{0};
    std::atomic<std::size_t> mNextOffset{0};
};
