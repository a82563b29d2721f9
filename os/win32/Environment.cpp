#include "os/System.h"

#include <windows.h>

#include <cstdlib>

namespace Os {

bool SetEnvironment(const char* name, const char* value)
{
    // The process environment (GetEnvironmentVariableA) and the C library's
    // copy (getenv) are separate on Windows; keep both in step.
    const bool process = ::SetEnvironmentVariableA(name, value) != 0;
    const bool runtime = ::_putenv_s(name, value != nullptr ? value : "") == 0;
    return process && runtime;
}

}
