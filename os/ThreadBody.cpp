#include "os/ThreadBody.h"

#include "os/System.h"

#include <exception>
#include <string>

namespace Os {

void RunThreadBody(const std::function<void()>& body) noexcept
{
    try {
        body();
    } catch (const std::exception& error) {
        try {
            const std::string text = std::string("Os::Thread: the thread ended with an exception: ") + error.what() + "\n";
            DebugOutput(text.c_str());
        } catch (...) {
            DebugOutput("Os::Thread: the thread ended with an exception\n");
        }
    } catch (...) {
        DebugOutput("Os::Thread: the thread ended with an exception\n");
    }
}

}
