// The frame around a thread's body on both systems.
#pragma once

#include <functional>

namespace Os {

// Runs the body; an exception that escapes it is written to the debug output
// instead of ending the process.
void RunThreadBody(const std::function<void()>& body) noexcept;

}
