// Profile (INI) files as Windows' private-profile functions treat them:
// section and key names match without regard to case, other lines and
// comments are kept, file and section are created on write, the default is
// returned when anything is missing, and values are cut to the buffer.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

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

// Something other than a regular file is at the path: a pipe, a folder, a
// device. The functions below neither read nor write it (reading a pipe
// waits for a writer), and WriteProfileString fails on it.
bool IsNonRegularFile(const std::string& path);

// One section of a profile file read at once: each key with the value
// ReadProfileString returns for it.
class ProfileSection {
public:
    // False where ReadProfileString would return the default.
    bool Find(const std::string& key, std::string& value) const;
    // The first of repeated keys counts, as for ReadProfileString; a key
    // without a value stands for the default.
    void Add(const std::string& key, std::optional<std::string> value);

private:
    // By the key in ASCII lower case: names match without regard to case.
    std::map<std::string, std::optional<std::string>> mValues;
};

// The named sections in one pass over the file, each value cut to
// bufferSize - 1 characters as ReadProfileString cuts it. A missing or
// unreadable file, or one that is not a regular file, has empty sections.
std::vector<ProfileSection> ReadProfileSections(const std::vector<std::string>& sections, const std::string& path,
                                                std::size_t bufferSize);

struct ProfileKey {
    std::string mSection;
    std::string mKey;
    std::string mValue;
};

// Writes the keys in their order as WriteProfileString would one by one
// (Linux reads and replaces the file once for all of them); the indices of
// the keys that could not be written.
std::vector<std::size_t> WriteProfileStrings(const std::vector<ProfileKey>& keys, const std::string& path);

}
