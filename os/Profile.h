// Profile (INI) files as Windows' private-profile functions treat them:
// section and key names match without regard to case, other lines and
// comments are kept, file and section are created on write, the default is
// returned when anything is missing, and values are cut to the buffer.
#pragma once

#include <cstddef>
#include <string>

// windows.h names its own WriteProfileString function by this macro, which
// would rename the function below wherever both are included.
#ifdef WriteProfileString
#undef WriteProfileString
#endif

namespace Os {

// Returns the value (or the default) cut to bufferSize - 1 characters, as
// GetPrivateProfileStringA would copy it into a buffer of bufferSize bytes.
std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, const std::string& path,
                              std::size_t bufferSize);

// False when the file cannot be written.
bool WriteProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& path);

}
