#include "os/Profile.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

// A section read at once gives each key what the key's own read gives, on
// every system with its own rules (blanks, quotes, repeated keys and
// sections, comments, lines without a value, the cut to the buffer).
TEST(Profile, ASectionReadAtOnceGivesWhatEachKeyReadsAlone)
{
    TestSupport::TempFolder folder;
    const std::string path = folder.File("Kavrix.ini");
    const std::string quoted255 = "\"" + std::string(255, 'q') + "\"";
    const std::string quoted256 = "\"" + std::string(256, 'q') + "\"";
    WriteText(path, "; settings of the inspection line\r\n"
                    "[ GENERAL ]\r\n"
                    "  loglevel =  2  \r\n"
                    "[Cam 1]\r\n"
                    "PixelFormat=\"Mono8\"\r\n"
                    "Name='  spaced  '\r\n"
                    "Empty=\r\n"
                    "Lone=\"\r\n"
                    "Quotes=\"\"\r\n"
                    "Mixed=\"abc'\r\n"
                    "\tTabbed\t=\ttab value\t\r\n"
                    "Equals=a=b\r\n"
                    "Width=640\r\n"
                    "WIDTH=800\r\n"
                    "NoValue\r\n"
                    "NoValue=later\r\n"
                    "; Height=1\r\n"
                    "Long=" + std::string(300, 'v') + "\r\n"
                    "Quoted255=" + quoted255 + "\r\n"
                    "Quoted256=" + quoted256 + "\r\n"
                    "[Cam 2]\r\n"
                    "Width=1024\r\n"
                    "[cam 1]\r\n"
                    "Height=480\r\n"
                    "Width=999\r\n"
                    "[Cam 3]\r\n"
                    "Last=end");
    const std::vector<std::string> names = {"General", "Cam 1", "cam 2", "Cam 3", "Cam 4"};
    const std::vector<Os::ProfileSection> sections = Os::ReadProfileSections(names, path, Buffer);
    ASSERT_EQ(sections.size(), names.size());
    const std::vector<std::string> keys = {"LogLevel", "DebugViewOutput", "PixelFormat", "Name", "Empty", "Lone",
                                           "Quotes", "Mixed", "Tabbed", "Equals", "width", "NoValue", "Height",
                                           "Long", "Quoted255", "Quoted256", "Last"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        for (const std::string& key : keys) {
            std::string value = "(default)";
            sections[i].Find(key, value);
            EXPECT_EQ(value, ReadProfileString(names[i], key, "(default)", path, Buffer)) << names[i] << " " << key;
        }
    }
    std::string value;
    EXPECT_TRUE(sections[1].Find("PIXELFORMAT", value));
    EXPECT_EQ(value, "Mono8");
    EXPECT_TRUE(sections[2].Find("Width", value));
    EXPECT_EQ(value, "1024");
    EXPECT_FALSE(Os::ReadProfileSections({"Cam 1"}, folder.File("Missing.ini"), Buffer)[0].Find("Width", value));
}

TEST(Profile, AFolderInThePlaceOfTheFileIsNeitherReadNorReplaced)
{
    TestSupport::TempFolder folder;
    const std::string path = folder.File("Kavrix.ini");
    std::filesystem::create_directory(path);
    EXPECT_TRUE(Os::IsNonRegularFile(path));
    EXPECT_FALSE(Os::IsNonRegularFile(folder.File("Missing.ini")));
    EXPECT_EQ(ReadProfileString("General", "LogLevel", "1", path, Buffer), "1");
    EXPECT_FALSE(WriteProfileString("General", "LogLevel", "3", path));
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

#if !defined(_WIN32)
// Linux replaces the file as a whole instead of rewriting it in place.
namespace {

namespace fs = std::filesystem;

// The call's result; a call that waits on the pipe for a writer is given the
// end of the file, so that the test fails instead of hanging.
template <typename Call>
auto WithoutWaiting(const std::string& pipe, Call call)
{
    auto result = std::async(std::launch::async, call);
    bool waited = false;
    while (result.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
        waited = true;
        // Opens only while a reader waits on the pipe.
        const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (writer >= 0) {
            ::close(writer);
        }
    }
    EXPECT_FALSE(waited) << "the call waited for a writer to the pipe";
    return result.get();
}

std::vector<std::string> FolderContent(const std::string& folder)
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Runs the writer program with a file size limit of one block and returns
// the shell's verdict: whether the writer ended as expected.
bool WriteBeyondTheSizeLimit(const std::string& path, const std::string& limitAction, const std::string& expectedEnd)
{
    const std::string command = "ulimit -c 0; ulimit -f 1; " + limitAction + " '" KAVRIX_PROFILE_WRITER "' '" + path +
                                "' Cam Long 8000; " + expectedEnd;
    return std::system(command.c_str()) == 0;
}

}

TEST(Profile, APipeInThePlaceOfTheFileIsNeitherReadNorWrittenAndNeverWaitedFor)
{
    TestSupport::TempFolder folder;
    const std::string path = folder.File("Kavrix.ini");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    EXPECT_EQ(WithoutWaiting(path, [&] { return ReadProfileString("General", "LogLevel", "1", path, Buffer); }), "1");
    EXPECT_FALSE(WithoutWaiting(path, [&] { return WriteProfileString("General", "LogLevel", "3", path); }));
    EXPECT_FALSE(WithoutWaiting(path, [&] {
        std::string value;
        return Os::ReadProfileSections({"General"}, path, Buffer)[0].Find("LogLevel", value);
    }));
    EXPECT_EQ(WithoutWaiting(path, [&] { return Os::WriteProfileStrings({{"General", "LogLevel", "3"}}, path); }),
              std::vector<std::size_t>{0});
    EXPECT_TRUE(Os::IsNonRegularFile(path));
    EXPECT_EQ(fs::status(path).type(), fs::file_type::fifo);
}

TEST(Profile, WritingKeepsTheFilesPermissionsAndLeavesNoTemporaryFile)
{
    TestSupport::TempFolder folder;
    const std::string path = folder.File("Kavrix.ini");
    ASSERT_TRUE(WriteProfileString("General", "LogLevel", "1", path));
    const fs::perms chosen = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(path, chosen);

    ASSERT_TRUE(WriteProfileString("Cam 1", "Width", "640", path));
    EXPECT_EQ(fs::status(path).permissions(), chosen);
    EXPECT_EQ(ReadProfileString("General", "LogLevel", "x", path, Buffer), "1");
    EXPECT_EQ(ReadProfileString("Cam 1", "Width", "x", path, Buffer), "640");
    EXPECT_EQ(FolderContent(folder.Path()), std::vector<std::string>{"Kavrix.ini"});
}

TEST(Profile, AFileThatCannotBeReadIsNotOverwritten)
{
    TestSupport::TempFolder folder;
    const std::string path = folder.File("Kavrix.ini");
    WriteText(path, "[General]\nLogLevel=2\n");
    fs::permissions(path, fs::perms::none);
    if (std::ifstream(path).is_open()) {
        GTEST_SKIP() << "a privileged user reads any file";
    }
    EXPECT_EQ(ReadProfileString("General", "LogLevel", "1", path, Buffer), "1");
    EXPECT_FALSE(WriteProfileString("General", "DebugViewOutput", "1", path));
    fs::permissions(path, fs::perms::owner_read);
    EXPECT_EQ(TestSupport::ReadFile(path), "[General]\nLogLevel=2\n");
}

TEST(Profile, WritingThroughASymbolicLinkReplacesTheFileItNames)
{
    TestSupport::TempFolder folder;
    fs::create_directory(folder.File("settings"));
    const std::string real = folder.File("settings/Kavrix.ini");
    WriteText(real, "[General]\nLogLevel=2\n");
    fs::create_symlink("settings/Kavrix.ini", folder.File("link.ini"));
    fs::create_symlink("link.ini", folder.File("Kavrix.ini"));

    ASSERT_TRUE(WriteProfileString("General", "DebugViewOutput", "1", folder.File("Kavrix.ini")));
    EXPECT_TRUE(fs::is_symlink(folder.File("Kavrix.ini")));
    EXPECT_EQ(fs::read_symlink(folder.File("Kavrix.ini")), "link.ini");
    EXPECT_TRUE(fs::is_symlink(folder.File("link.ini")));
    EXPECT_EQ(ReadProfileString("General", "DebugViewOutput", "x", real, Buffer), "1");
    EXPECT_EQ(ReadProfileString("General", "LogLevel", "x", real, Buffer), "2");
    EXPECT_EQ(FolderContent(folder.File("settings")), std::vector<std::string>{"Kavrix.ini"});

    // A link to a file not there yet creates the file; a loop is refused.
    fs::create_symlink("settings/New.ini", folder.File("new.ini"));
    ASSERT_TRUE(WriteProfileString("General", "LogLevel", "3", folder.File("new.ini")));
    EXPECT_EQ(ReadProfileString("General", "LogLevel", "x", folder.File("settings/New.ini"), Buffer), "3");
    fs::create_symlink("loop-b.ini", folder.File("loop-a.ini"));
    fs::create_symlink("loop-a.ini", folder.File("loop-b.ini"));
    EXPECT_FALSE(WriteProfileString("General", "LogLevel", "3", folder.File("loop-a.ini")));
}

TEST(Profile, AWriteThatFailsOrDiesPartWayLeavesTheOldFile)
{
    TestSupport::TempFolder folder;
    const std::string path = folder.File("Kavrix.ini");
    ASSERT_TRUE(WriteProfileString("General", "LogLevel", "2", path));
    ASSERT_TRUE(WriteProfileString("Cam", "Width", "640", path));
    const std::string before = TestSupport::ReadFile(path);

    // As on a full disk: the write fails, says so, and cleans up.
    EXPECT_TRUE(WriteBeyondTheSizeLimit(path, "trap '' XFSZ;", "[ $? -eq 3 ]")) << "the writer reports the failure";
    EXPECT_EQ(TestSupport::ReadFile(path), before);
    EXPECT_EQ(FolderContent(folder.Path()), std::vector<std::string>{"Kavrix.ini"});

    // As in a crash: the writer dies in the middle of writing.
    // The shell would report the kill on standard error.
    EXPECT_TRUE(WriteBeyondTheSizeLimit(path, "exec 2>/dev/null;", "[ $? -gt 128 ]")) << "the writer is killed";
    EXPECT_EQ(TestSupport::ReadFile(path), before);
    ASSERT_TRUE(WriteProfileString("Cam", "Height", "480", path)) << "what the crash left does not stand in the way";
    EXPECT_EQ(ReadProfileString("Cam", "Width", "x", path, Buffer), "640");
    EXPECT_EQ(ReadProfileString("Cam", "Height", "x", path, Buffer), "480");
}
#endif
