#include "os/System.h"

#include <cstdlib>

namespace Os {

bool SetEnvironment(const char* name, const char* value)
{
    return (value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name)) == 0;
}

}
