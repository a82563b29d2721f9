#include "os/win32/ErrorText.h"

#include <windows.h>

namespace Os {

std::string ErrorText(unsigned long code)
{
    char buffer[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                  0, buffer, sizeof buffer, nullptr);
    while (length > 0 && (buffer[length - 1] == '\r' || buffer[length - 1] == '\n' || buffer[length - 1] == ' ')) {
        --length;
    }
    const std::string number = "error " + std::to_string(code);
    return length == 0 ? number : std::string(buffer, length) + " (" + number + ")";
}

}
