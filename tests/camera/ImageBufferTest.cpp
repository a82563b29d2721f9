// The host-readable image: its size, its rows, and the sizes it refuses.
#include "camera/ImageBuffer.h"
#include "diag/DriverContext.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

class ImageBufferTest : public ::testing::Test {
protected:
    ImageBufferTest() { DriverContext::Instance().SetDebugMsgProc(TestSupport::LogCapture::Callback()); }
    ~ImageBufferTest() override { DriverContext::Instance().SetDebugMsgProc(nullptr); }

    static const char* ErrorText(bool colour, int width, int height)
    {
        try {
            ImageBuffer buffer(colour, width, height);
        } catch (const char* text) {
            return text;
        }
        return "(no error)";
    }

    TestSupport::LogCapture mLog;
};

TEST_F(ImageBufferTest, RowsFollowEachOtherWithoutGaps)
{
    ImageBuffer colour(true, 4, 2);
    EXPECT_EQ(colour.GetSize(), 24);
    EXPECT_EQ(colour.GetLine(1) - colour.GetLine(0), 12);
    ImageBuffer mono(false, 640, 480);
    EXPECT_EQ(mono.GetLine(479), mono.GetData() + 479 * 640);
    EXPECT_EQ(mono.GetLine(480), nullptr);
    EXPECT_EQ(mono.GetLine(-1), nullptr);
    EXPECT_TRUE(mLog.Contains("ImageBuffer::GetLine: ERROR: line index out of range: 480\n"));
    EXPECT_TRUE(mLog.Contains("ImageBuffer::GetLine: ERROR: line index out of range: -1\n"));

    // The same size keeps the bytes.
    std::memset(mono.GetData(), 0x5A, 16);
    mono.Allocate(640 * 480);
    EXPECT_EQ(mono.GetData()[15], 0x5A);
}

TEST_F(ImageBufferTest, NextImageStartsWhereTheHostsRowZeroGoesWithinAPage)
{
    ImageBuffer mono(false, 2448, 16);
    std::vector<unsigned char> host(2448 * 16 + 4096);
    for (std::size_t shift : {std::size_t{16}, std::size_t{4095}, std::size_t{1}}) {
        const unsigned char* rowZero = host.data() + shift;
        mono.FollowReader(rowZero);
        unsigned char* image = mono.GetData();
        EXPECT_EQ((reinterpret_cast<std::uintptr_t>(image) - reinterpret_cast<std::uintptr_t>(rowZero)) % 4096, 0u);
        EXPECT_EQ(mono.GetLine(0), image);
        EXPECT_EQ(mono.GetLine(15), image + 15 * 2448);
        // The whole image fits wherever it starts (ASan watches).
        std::memset(image, 0x11, static_cast<std::size_t>(mono.GetSize()));
    }
}

TEST_F(ImageBufferTest, SizesThatCannotBeHeldAreRefused)
{
    EXPECT_STREQ(ErrorText(false, 0, 480), "Err");
    EXPECT_TRUE(mLog.Contains("ImageBuffer::Allocate: ERROR: incorrect size 0\n"));
    EXPECT_STREQ(ErrorText(false, -4, -2), "Err") << "two negative sides make no positive size";
    EXPECT_TRUE(mLog.Contains("ImageBuffer::Allocate: ERROR: incorrect size -8\n"));
    // Counted in 64 bits, a size an int cannot hold is not cut to a small one.
    mLog.Clear();
    EXPECT_STREQ(ErrorText(true, 40000, 40000), "Err");
    EXPECT_TRUE(mLog.Contains("ImageBuffer::Allocate: ERROR: could not allocate buffer of required size 4800000000\n"));
}

}
