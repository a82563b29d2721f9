// The Linux system log as the debug output reaches it. The test plays the log
// daemon: a datagram socket of its own stands in for /dev/log.
#if !defined(_WIN32)

#include "os/Thread.h"
#include "os/posix/SystemLog.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>

namespace {

class LogDaemon {
public:
    explicit LogDaemon(const std::string& path)
    {
        mSocket = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        mBound = mSocket >= 0 && ::bind(mSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~LogDaemon() { ::close(mSocket); }
    LogDaemon(const LogDaemon&) = delete;
    LogDaemon& operator=(const LogDaemon&) = delete;

    bool IsBound() const { return mBound; }
    std::string Receive()
    {
        char buffer[2048];
        const ssize_t size = ::recv(mSocket, buffer, sizeof buffer, MSG_DONTWAIT);
        return size > 0 ? std::string(buffer, static_cast<std::size_t>(size)) : std::string();
    }

private:
    int mSocket = -1;
    bool mBound = false;
};

TEST(SystemLog, RecordsHaveTheSyslogWireFormatAtDebugPriority)
{
    const Os::LocalTime moment{2026, 12, 7, 9, 5, 3};
    EXPECT_EQ(Os::SystemLog::Record(moment, 42, "kavrix", "Camera::Open: ERROR: no stream\n"),
              "<15>Dec  7 09:05:03 kavrix[42]: Camera::Open: ERROR: no stream");
    EXPECT_EQ(Os::SystemLog::Record(Os::LocalTime{2026, 1, 17, 23, 0, 59}, 7, "kavrix", "two\nlines\n\n"),
              "<15>Jan 17 23:00:59 kavrix[7]: two\nlines");
}

TEST(SystemLog, TextsReachTheLogSocketAndAFullQueueDropsThemWithoutWaiting)
{
    TestSupport::TempFolder folder;
    const std::string path = folder.File("log");
    LogDaemon daemon(path);
    ASSERT_TRUE(daemon.IsBound());
    Os::SystemLog log(path, "kavrix");
    EXPECT_FALSE(log.Send(""));
    ASSERT_TRUE(log.Send("initialize: ERROR: called from inside a driver callback\n"));
    const std::string record = daemon.Receive();
    EXPECT_EQ(record.substr(0, 4), "<15>");
    EXPECT_NE(record.find(" kavrix[" + std::to_string(::getpid()) +
                          "]: initialize: ERROR: called from inside a driver callback"),
              std::string::npos)
        << record;

    // Nobody reads: the queue fills, and every later text is dropped at once.
    int dropped = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 5000; ++i) {
        dropped += log.Send("a line nobody reads\n") ? 0 : 1;
    }
    EXPECT_GT(dropped, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(daemon.Receive().empty()) << "what fitted was delivered";
}

TEST(SystemLog, AMissingSocketDropsTextsAndIsLookedForAgainASecondLater)
{
    TestSupport::TempFolder folder;
    const std::string path = folder.File("log");
    Os::SystemLog log(path, "kavrix");
    EXPECT_FALSE(log.Send("lost\n"));
    LogDaemon daemon(path);
    ASSERT_TRUE(daemon.IsBound());
    EXPECT_FALSE(log.Send("not looked for yet\n"));
    Os::SleepMs(1100);
    EXPECT_TRUE(log.Send("found\n"));
    EXPECT_NE(daemon.Receive().find("]: found"), std::string::npos);
}

}

#endif
