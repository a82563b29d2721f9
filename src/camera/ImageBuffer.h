// The host-readable copy of the last image of an open camera: rows top to
// bottom without gaps, one byte per pixel (three for a colour camera).
#pragma once

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

    unsigned char* GetData() { return mData.get(); }
    int GetSize() const { return mSize; }
    int GetRowSize() const { return mWidth * BytesPerPixel(); }

private:
    int BytesPerPixel() const { return mColour ? 3 : 1; }

    int mSize = 0;
    int mWidth;
    std::uint32_t mHeight;
    bool mColour;
    std::unique_ptr<unsigned char[]> mData;
};
