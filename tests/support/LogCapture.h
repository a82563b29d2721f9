// Collects what the driver hands to the host's debug callback.
#pragma once

#include "kavrix.h"

#include <string>
#include <vector>

namespace TestSupport {

// The callback is a plain function, so the capture is one per process.
class LogCapture {
public:
    // Starts empty; Callback() is the function to hand to the driver.
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    static DebugMsgProc Callback();

    // The message texts, time prefixes left out.
    std::vector<std::string> Messages() const;
    // The same without the wait thread's own lines, which may come at any time.
    std::vector<std::string> MessagesBesidesWaitThread() const;
    // The prefixes and texts in the order the callback received them.
    std::vector<std::string> Calls() const;
    bool Contains(const std::string& text) const;
    // Index of the first message equal to text at or after from, or -1.
    int Find(const std::string& text, int from = 0) const;
    // Index of the first message containing text at or after from, or -1.
    int FindContaining(const std::string& text, int from = 0) const;
    void Clear();
    std::string Dump() const;
};

}
