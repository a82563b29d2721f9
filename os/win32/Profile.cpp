#include "os/Profile.h"

#include <windows.h>
// windows.h names its own WriteProfileString function by this macro.
#undef WriteProfileString

#include <algorithm>
#include <vector>

namespace Os {

std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, const std::string& path,
                              std::size_t bufferSize)
{
    const DWORD size = static_cast<DWORD>(std::min<std::size_t>(bufferSize, 0x7FFFFFFF));
    if (size == 0) {
        return {};
    }
    std::vector<char> buffer(size);
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                                  buffer.data(), size, path.c_str());
    return std::string(buffer.data(), std::min<DWORD>(length, size - 1));
}

bool WriteProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& path)
{
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != FALSE;
}

}
