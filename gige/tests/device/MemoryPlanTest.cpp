// How a memory access of the driver is cut into requests.
#include "control/MemoryPlan.h"

#include <gtest/gtest.h>

using namespace Gige;

TEST(MemoryPlan, ReadsWidenToWholeWordsAndStopAt32Bits)
{
    const auto exact = ReadSpan(0x0A00, 4);
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact->mStart, 0x0A00u);
    EXPECT_EQ(exact->mLength, 4u);

    const auto unaligned = ReadSpan(0x0049, 3);
    ASSERT_TRUE(unaligned);
    EXPECT_EQ(unaligned->mStart, 0x0048u);
    EXPECT_EQ(unaligned->mLength, 4u);

    const auto straddling = ReadSpan(0x10002, 0x3E67);
    ASSERT_TRUE(straddling);
    EXPECT_EQ(straddling->mStart, 0x10000u);
    EXPECT_EQ(straddling->mLength, 0x3E6Cu);

    EXPECT_TRUE(ReadSpan(0xFFFFFFFC, 4));
    EXPECT_FALSE(ReadSpan(0xFFFFFFFE, 4));
    EXPECT_FALSE(ReadSpan(0x100000000ull, 1));
    EXPECT_FALSE(ReadSpan(0xFFFFFFFFFFFFFFFFull, 2)) << "no wrap-around";

    EXPECT_EQ(PieceSize(0x3E6C), MemoryPieceSize);
    EXPECT_EQ(PieceSize(12), 12u);
}

TEST(MemoryPlan, WritesMustBeWholeWordsWithin32Bits)
{
    EXPECT_EQ(CheckWrite(0x0100, 12), WriteCheck::Ok);
    EXPECT_EQ(CheckWrite(0x0100, 2), WriteCheck::Unaligned);
    EXPECT_EQ(CheckWrite(0x0102, 4), WriteCheck::Unaligned);
    EXPECT_EQ(CheckWrite(0xFFFFFFFC, 4), WriteCheck::Ok);
    EXPECT_EQ(CheckWrite(0xFFFFFFFC, 8), WriteCheck::Beyond32Bits);
    EXPECT_EQ(CheckWrite(0x100000000ull, 4), WriteCheck::Beyond32Bits);
}
