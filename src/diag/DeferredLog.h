// Keeps the driver's messages of one thread while it lives and delivers them
// when the outermost one ends. The camera holds one around each of its own
// locks: a message may reach the host's debug callback, and from there the
// host may call back into the driver and need that very lock, so no camera
// lock is ever held while the host is called.
#pragma once

#include <string>
#include <utility>
#include <vector>

class DeferredLog {
public:
    DeferredLog();
    // Delivers what was kept (outermost only).
    ~DeferredLog();
    DeferredLog(const DeferredLog&) = delete;
    DeferredLog& operator=(const DeferredLog&) = delete;

    // Delivers what was kept so far, before the thread waits or pauses.
    void Flush();

    // Keeps a formatted message for the given sinks (DriverContext::Sink)
    // when the calling thread defers; false when it does not, and the caller
    // delivers it at once.
    static bool Keep(unsigned sinks, const char* text);

private:
    void Deliver();

    bool mOutermost = false;
    std::vector<std::pair<unsigned, std::string>> mMessages;
};
