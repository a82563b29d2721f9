// The system's text for a Win32 error code.
#pragma once

#include <string>

namespace Os {

// "<text> (error <code>)", or only the code when the system has no text.
std::string ErrorText(unsigned long code);

}
