// The camera program's log: one line on standard error per session event,
// stamped with the seconds since the program started, so that a test's log
// reads as a time line.
#pragma once

#include <string>

namespace GigeCamera {

// Writes "[  12.345] text" as one line; lines of several threads never mix.
void LogEvent(const std::string& text);

}
