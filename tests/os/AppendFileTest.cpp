#include "os/AppendFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(AppendFile, CreatesAppendsAndSaysHowMuchReachedTheFile)
{
    TestSupport::TempFolder folder;
    const std::string path = folder.File("file.log");
    {
        Os::AppendFile file(path);
        ASSERT_TRUE(file.IsOpen());
        EXPECT_EQ(file.Write("first\n", 6), 6u);
        EXPECT_TRUE(file.Close());
        EXPECT_EQ(file.Write("closed\n", 7), 0u);
    }
    {
        Os::AppendFile file(path);
        EXPECT_EQ(file.Write("second\n", 7), 7u);
    }
    EXPECT_EQ(TestSupport::ReadFile(path), "first\nsecond\n") << "appended, bytes as given";

    Os::AppendFile missing(folder.File("no-such-folder") + "/file.log");
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.Write("lost\n", 5), 0u);
}

TEST(AppendFile, ASimulatedFullDiskTakesWhatFitsAndThenNothing)
{
    TestSupport::TempFolder folder;
    const std::string path = folder.File("file.log");
    Os::SimulateDiskRoom(10, true);
    {
        Os::AppendFile file(path);
        EXPECT_EQ(file.Write("0123456", 7), 7u);
        EXPECT_EQ(file.Write("789abc", 6), 3u);
        EXPECT_EQ(file.Write("d", 1), 0u);
        EXPECT_FALSE(file.Close()) << "the close was told to fail";
    }
    Os::SimulateDiskRoom(-1);
    EXPECT_EQ(TestSupport::ReadFile(path), "0123456789");
    Os::AppendFile file(path);
    EXPECT_EQ(file.Write("d", 1), 1u);
    EXPECT_TRUE(file.Close());
}

}
