// The Linux system log, reached without the C library's syslog(), which
// blocks its caller while the log socket's queue is full: a non-blocking
// datagram socket to the log socket and messages in the syslog wire format.
#pragma once

#include "os/System.h"

#include <mutex>
#include <string>

namespace Os {

class SystemLog {
public:
    // Nothing is opened before the first message.
    SystemLog(std::string socketPath, std::string identifier);
    ~SystemLog();
    SystemLog(const SystemLog&) = delete;
    SystemLog& operator=(const SystemLog&) = delete;

    // Sends the text at debug priority (its final line feeds left out).
    // Never waits: while the socket is missing, refuses the message or its
    // queue is full, the text is dropped and false returned. A socket that
    // could not be reached is tried again at most once a second.
    bool Send(const char* text);

    // One record as the log socket expects it: "<15>Dec  9 04:36:00 kavrix[42]: text".
    static std::string Record(const LocalTime& time, long processId, const std::string& identifier,
                              const char* text);

private:
    bool Connect();
    void Disconnect();

    const std::string mSocketPath;
    const std::string mIdentifier;
    std::mutex mLock;
    int mSocket = -1;
    long long mNextConnect = 0;
};

}
