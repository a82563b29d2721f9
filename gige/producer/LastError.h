// The calling thread's last failure, for GCGetLastError. A small table
// keyed by thread rather than thread-local storage: the dynamic TLS of a
// library loaded at run time makes the sanitizers' leak checker crash.
// Threads that failed longest ago give their entries up first.
#pragma once

#include "TLI.h"

#include <string>

namespace Gige {

void RecordLastError(GC_ERROR code, const std::string& text) noexcept;
// GC_ERR_SUCCESS and an empty text when the thread has not failed (or its
// entry was given up).
void ReadLastError(GC_ERROR& code, std::string& text);

}
