#include "os/posix/SystemLog.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <syslog.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace Os {

namespace {

constexpr long long ReconnectIntervalMs = 1000;

}

SystemLog::SystemLog(std::string socketPath, std::string identifier)
    : mSocketPath(std::move(socketPath)), mIdentifier(std::move(identifier))
{
}

SystemLog::~SystemLog()
{
    Disconnect();
}

std::string SystemLog::Record(const LocalTime& time, long processId, const std::string& identifier, const char* text)
{
    static const char* const Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const int month = time.month >= 1 && time.month <= 12 ? time.month - 1 : 0;
    char header[64];
    // The user facility at debug priority; the time as RFC 3164 writes it.
    std::snprintf(header, sizeof header, "<%d>%s %2d %.2d:%.2d:%.2d ", LOG_USER | LOG_DEBUG, Months[month], time.day,
                  time.hour, time.minute, time.second);
    std::string record(header);
    record += identifier;
    record += '[' + std::to_string(processId) + "]: ";
    std::size_t length = text != nullptr ? std::strlen(text) : 0;
    while (length > 0 && text[length - 1] == '\n') {
        --length;
    }
    record.append(text != nullptr ? text : "", length);
    return record;
}

bool SystemLog::Send(const char* text)
{
    if (text == nullptr || *text == '\0') {
        return false;
    }
    try {
        const std::string record = Record(Now(), static_cast<long>(::getpid()), mIdentifier, text);
        std::lock_guard<std::mutex> lock(mLock);
        if (mSocket < 0 && !Connect()) {
            return false;
        }
        ssize_t sent = -1;
        do {
            sent = ::send(mSocket, record.data(), record.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        } while (sent < 0 && errno == EINTR);
        if (sent >= 0) {
            return true;
        }
        // A full queue or a text too long for one datagram only drops this
        // text; a log daemon that went away is looked for again later.
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != ENOBUFS && errno != EMSGSIZE) {
            Disconnect();
        }
    } catch (...) {
    }
    return false;
}

bool SystemLog::Connect()
{
    const long long now = MonotonicMilliseconds();
    if (now < mNextConnect) {
        return false;
    }
    mNextConnect = now + ReconnectIntervalMs;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (mSocketPath.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, mSocketPath.c_str(), mSocketPath.size() + 1);
    mSocket = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (mSocket < 0) {
        return false;
    }
    if (::connect(mSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        Disconnect();
        return false;
    }
    return true;
}

void SystemLog::Disconnect()
{
    if (mSocket >= 0) {
        ::close(mSocket);
        mSocket = -1;
    }
}

}
