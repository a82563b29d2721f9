#include "os/SharedLibrary.h"
#include "os/System.h"
#include "os/Thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

TEST(System, ProcessClockCountsWallMillisecondsSinceTheStart)
{
    const long start = Os::ProcessMilliseconds();
    EXPECT_GE(start, 0);
    EXPECT_LT(start, 10L * 60 * 1000) << "the test process started minutes ago at most";

    // Sleeping costs no processor time, so a CPU clock would not move.
    Os::SleepMs(300);
    const long slept = Os::ProcessMilliseconds() - start;
    EXPECT_GE(slept, 280);
    EXPECT_LT(slept, 1500);
}

TEST(System, TheMonotonicClockCountsMillisecondsForward)
{
    const long long start = Os::MonotonicMilliseconds();
    Os::SleepMs(200);
    const long long slept = Os::MonotonicMilliseconds() - start;
    EXPECT_GE(slept, 180) << "Windows counts in ticks of up to 16 ms";
    EXPECT_LT(slept, 1500);
}

TEST(System, LocalTimeAndEnvironment)
{
    const Os::LocalTime now = Os::Now();
    EXPECT_GE(now.year, 2024);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_GE(now.day, 1);
    EXPECT_LE(now.day, 31);
    EXPECT_LE(now.hour, 23);

    EXPECT_FALSE(Os::GetEnvironment("KAVRIX_NO_SUCH_VARIABLE_3141").has_value());
    const auto sourceDir = Os::GetEnvironment("KAVRIX_SOURCE_DIR");
    ASSERT_TRUE(sourceDir.has_value()) << "ctest passes it";
    EXPECT_FALSE(sourceDir->empty());
}

TEST(System, ModuleFolderOfAnAddressInTheTestIsTheTestsFolder)
{
    static const int anchor = 0;
    const std::string folder = Os::ModuleFolder(&anchor);
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), Os::PathSeparator);
    const std::string self = Os::SharedLibrary::FileName("x") == "x.dll" ? "test_os.exe" : "test_os";
    EXPECT_TRUE(fs::exists(fs::path(folder) / self)) << folder;
}

TEST(SharedLibrary, LoadsSymbolsAndSaysWhyALoadFailed)
{
    Os::SharedLibrary missing;
    EXPECT_FALSE(missing.Load(Os::SharedLibrary::FileName("kavrix_no_such_library")));
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_FALSE(missing.LastError().empty());
    EXPECT_EQ(missing.Symbol("anything"), nullptr);

#if defined(_WIN32)
    const char* systemLibrary = "kernel32.dll";
    const char* symbol = "GetTickCount";
#else
    const char* systemLibrary = "libm.so.6";
    const char* symbol = "cos";
#endif
    Os::SharedLibrary library;
    ASSERT_TRUE(library.Load(systemLibrary)) << library.LastError();
    EXPECT_TRUE(library.LastError().empty());
    EXPECT_NE(library.Symbol(symbol), nullptr);
    EXPECT_EQ(library.Symbol("kavrix_no_such_symbol"), nullptr);

    Os::SharedLibrary moved(std::move(library));
    EXPECT_TRUE(moved.IsLoaded());
    EXPECT_FALSE(library.IsLoaded());
    moved.Unload();
    EXPECT_FALSE(moved.IsLoaded());
}

TEST(System, ResidentBytesCountMemoryOnlyOnceTheProcessTouchesIt)
{
    constexpr std::size_t Size = 64 << 20;
    constexpr std::size_t Slack = 16 << 20;
    const std::size_t before = Os::ResidentBytes();
    ASSERT_GT(before, 0u);
    // Left uninitialised: allocated, not yet resident.
    std::unique_ptr<char[]> block(new char[Size]);
    const std::size_t allocated = Os::ResidentBytes();
    EXPECT_LT(allocated, before + Slack);
    std::memset(block.get(), 1, Size);
    EXPECT_GE(Os::ResidentBytes(), allocated + Size - Slack);
    EXPECT_EQ(block[Size - 1], 1);
}
