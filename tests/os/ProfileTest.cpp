#include "os/Profile.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

using Os::ReadProfileString;
using Os::WriteProfileString;

namespace {

constexpr std::size_t Buffer = 256;

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

}

TEST(Profile, ReadsBackWhatWasWrittenIntoANewFile)
{
    TestSupport::TempFolder folder;
    const std::string path = folder.File("Kavrix.ini");

    EXPECT_TRUE(WriteProfileString("General", "LogLevel", "3", path));
    EXPECT_TRUE(WriteProfileString("Cam 1", "Width", "1280", path));
    EXPECT_TRUE(WriteProfileString("General", "DebugViewOutput", "2", path));
    EXPECT_TRUE(WriteProfileString("general", "LOGLEVEL", "4", path));
    EXPECT_TRUE(WriteProfileString("Cam 1", "ExposureTime", "1234.5678901234567", path));

    EXPECT_EQ(ReadProfileString("General", "LogLevel", "x", path, Buffer), "4");
    EXPECT_EQ(ReadProfileString("General", "DebugViewOutput", "x", path, Buffer), "2");
    EXPECT_EQ(ReadProfileString("Cam 1", "Width", "x", path, Buffer), "1280");
    EXPECT_EQ(ReadProfileString("Cam 1", "ExposureTime", "x", path, Buffer), "1234.5678901234567");
    EXPECT_EQ(ReadProfileString("Cam 1", "LogLevel", "none", path, Buffer), "none");

    const std::string content = TestSupport::ReadFile(path);
    EXPECT_EQ(Count(content, "[General]"), 1u);
    EXPECT_EQ(Count(content, "[Cam 1]"), 1u);
    EXPECT_EQ(Count(content, "=4"), 1u) << "a rewritten key replaces its line:\n" << content;
    EXPECT_EQ(Count(content, "=3"), 0u);
}

TEST(Profile, ReadsAHandWrittenFileLikeTheProfileFunctions)
{
    TestSupport::TempFolder folder;
    const std::string path = folder.File("Kavrix.ini");
    WriteText(path,
              "; settings of the inspection line\r\n"
              "\r\n"
              "[ GENERAL ]\r\n"
              "  loglevel =  2  \r\n"
              "Comment without a value\r\n"
              "[Cam 1]\r\n"
              "PixelFormat=\"Mono8\"\r\n"
              "Name='  spaced  '\r\n"
              "Empty=\r\n"
              "[Cam 2]\r\n"
              "Width=640");

    EXPECT_EQ(ReadProfileString("General", "LogLevel", "x", path, Buffer), "2");
    EXPECT_EQ(ReadProfileString("cam 1", "pixelformat", "x", path, Buffer), "Mono8");
    EXPECT_EQ(ReadProfileString("Cam 1", "Name", "x", path, Buffer), "  spaced  ");
    EXPECT_EQ(ReadProfileString("Cam 1", "Empty", "x", path, Buffer), "");
    EXPECT_EQ(ReadProfileString("Cam 2", "Width", "x", path, Buffer), "640") << "last line without a line end";
    EXPECT_EQ(ReadProfileString("Cam 2", "PixelFormat", "Mono16", path, Buffer), "Mono16");
    EXPECT_EQ(ReadProfileString("Cam 3", "Width", "1024", path, Buffer), "1024");
    EXPECT_EQ(ReadProfileString("Cam 1", "Width", "trailing   ", path, Buffer), "trailing");
    EXPECT_EQ(ReadProfileString("General", "LogLevel", "x", folder.File("Missing.ini"), Buffer), "x");
}

TEST(Profile, WritingKeepsOtherLinesAndComments)
{
    TestSupport::TempFolder folder;
    const std::string path = folder.File("Kavrix.ini");
    WriteText(path,
              "; written by hand\r\n"
              "[general]\r\n"
              "LogLevel=1\r\n"
              "; keep this note\r\n"
              "[Cam 1]\r\n"
              "Width=640\r\n");

    EXPECT_TRUE(WriteProfileString("General", "LogLevel", "3", path));
    EXPECT_TRUE(WriteProfileString("General", "DebugViewOutput", "2", path));
    EXPECT_TRUE(WriteProfileString("Cam 2", "Width", "800", path));

    const std::string content = TestSupport::ReadFile(path);
    EXPECT_NE(content.find("; written by hand"), std::string::npos) << content;
    EXPECT_NE(content.find("; keep this note"), std::string::npos) << content;
    EXPECT_EQ(Count(content, "LogLevel"), 1u) << content;
    EXPECT_EQ(ReadProfileString("General", "LogLevel", "x", path, Buffer), "3");
    EXPECT_EQ(ReadProfileString("General", "DebugViewOutput", "x", path, Buffer), "2");
    EXPECT_EQ(ReadProfileString("Cam 1", "Width", "x", path, Buffer), "640");
    EXPECT_EQ(ReadProfileString("Cam 2", "Width", "x", path, Buffer), "800");
}

TEST(Profile, ValuesAreCutToTheBufferAndFailedWritesSaySo)
{
    TestSupport::TempFolder folder;
    const std::string path = folder.File("Kavrix.ini");
    const std::string longValue(300, 'v');
    ASSERT_TRUE(WriteProfileString("Cam", "Long", longValue, path));

    EXPECT_EQ(ReadProfileString("Cam", "Long", "", path, Buffer), std::string(255, 'v'));
    EXPECT_EQ(ReadProfileString("Cam", "Long", "", path, 4), "vvv");
    EXPECT_EQ(ReadProfileString("Cam", "Missing", longValue, path, Buffer), std::string(255, 'v'));
    EXPECT_EQ(ReadProfileString("Cam", "Long", "", path, 1), "");

    EXPECT_FALSE(WriteProfileString("Cam", "Width", "1", folder.File("no-such-folder") + "/Kavrix.ini"));
}
