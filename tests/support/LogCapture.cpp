#include "support/LogCapture.h"

#include <mutex>
#include <utility>

namespace TestSupport {

namespace {

std::mutex sLock;
std::vector<std::string> sCalls;

void Receive(const char* text)
{
    std::lock_guard<std::mutex> lock(sLock);
    sCalls.emplace_back(text != nullptr ? text : "(null)");
}

// "dd/dd/dd dd:dd:dd: ": what the driver sends before each message.
bool IsPrefix(const std::string& call)
{
    if (call.size() != 19 || call.compare(17, 2, ": ") != 0) {
        return false;
    }
    for (std::size_t i : {2u, 5u}) {
        if (call[i] != '/') {
            return false;
        }
    }
    return call[8] == ' ' && call[11] == ':' && call[14] == ':';
}

}

LogCapture::LogCapture()
{
    Clear();
}

LogCapture::~LogCapture()
{
    Clear();
}

DebugMsgProc LogCapture::Callback()
{
    return &Receive;
}

std::vector<std::string> LogCapture::Calls() const
{
    std::lock_guard<std::mutex> lock(sLock);
    return sCalls;
}

std::vector<std::string> LogCapture::Messages() const
{
    std::vector<std::string> messages;
    for (const std::string& call : Calls()) {
        if (!IsPrefix(call)) {
            messages.push_back(call);
        }
    }
    return messages;
}

std::vector<std::string> LogCapture::MessagesBesidesWaitThread() const
{
    std::vector<std::string> messages;
    for (std::string& message : Messages()) {
        if (message.rfind("CameraWaitThread::", 0) != 0) {
            messages.push_back(std::move(message));
        }
    }
    return messages;
}

bool LogCapture::Contains(const std::string& text) const
{
    return Find(text) >= 0;
}

int LogCapture::Find(const std::string& text, int from) const
{
    const std::vector<std::string> messages = Messages();
    for (int i = from; i < static_cast<int>(messages.size()); ++i) {
        if (messages[static_cast<std::size_t>(i)] == text) {
            return i;
        }
    }
    return -1;
}

int LogCapture::FindContaining(const std::string& text, int from) const
{
    const std::vector<std::string> messages = Messages();
    for (int i = from; i < static_cast<int>(messages.size()); ++i) {
        if (messages[static_cast<std::size_t>(i)].find(text) != std::string::npos) {
            return i;
        }
    }
    return -1;
}

void LogCapture::Clear()
{
    std::lock_guard<std::mutex> lock(sLock);
    sCalls.clear();
}

std::string LogCapture::Dump() const
{
    std::string dump;
    for (const std::string& message : Messages()) {
        dump += message;
        if (dump.empty() || dump.back() != '\n') {
            dump += '\n';
        }
    }
    return dump;
}

}
