// Arbitrary bytes as a settings file, and one key written into it as the
// driver saves a setting. Every key the file held reads the same alone as in
// its section read at once, and the same afterwards, and the written key
// reads back as the profile rules give a value back (blanks around it
// dropped, one pair of matching quotes removed). A crash, a lost or changed
// key, or a wrong value read back is a finding.
//
// Input: section, key and value, each ended by a zero byte, then the file.
// A section holding ']', a key holding '=' or starting with '[' or ';', an
// empty key, and line breaks anywhere cannot be written so that they read
// back; such cases are written and read all the same, without the checks.
#include "os/Profile.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The rules for names and values are written out again here rather than
// taken from the reader under test, so that a fault there cannot hide itself.

// Keys of the file compared before and after, at most.
constexpr std::size_t MaxKeys = 64;
// Stands for "no such key": no value the file can hold ends in blanks
// and starts with a zero byte.
const std::string Missing = std::string(1, '\0') + "missing";

// One folder for the whole run, removed when the fuzzer ends.
class Folder {
public:
    Folder()
    {
        std::random_device random;
        mPath = fs::temp_directory_path() / ("kavrix-fuzz-profile-" + std::to_string(random()));
        fs::create_directories(mPath);
    }
    ~Folder()
    {
        std::error_code ignored;
        fs::remove_all(mPath, ignored);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    std::string File() const { return (mPath / "Kavrix.ini").string(); }

private:
    fs::path mPath;
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string Trim(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

bool SameName(const std::string& a, const std::string& b)
{
    const std::string x = Trim(a);
    const std::string y = Trim(b);
    if (x.size() != y.size()) {
        return false;
    }
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(x[i])) != std::tolower(static_cast<unsigned char>(y[i]))) {
            return false;
        }
    }
    return true;
}

// The value as a read gives it back.
std::string ReadBack(const std::string& value)
{
    const std::string trimmed = Trim(value);
    if (trimmed.size() >= 2 && (trimmed.front() == '"' || trimmed.front() == '\'') && trimmed.back() == trimmed.front()) {
        return trimmed.substr(1, trimmed.size() - 2);
    }
    return trimmed;
}

bool Representable(const std::string& section, const std::string& key, const std::string& value)
{
    for (const std::string* text : {&section, &key, &value}) {
        if (text->find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
            return false;
        }
    }
    const std::string name = Trim(key);
    return section.find(']') == std::string::npos && !name.empty() && name.find('=') == std::string::npos &&
           name[0] != '[' && name[0] != ';';
}

// Section and key names as the file's lines show them, loosely: a line that
// names nothing only costs a read.
std::vector<std::pair<std::string, std::string>> KeysOf(const std::string& content)
{
    std::vector<std::pair<std::string, std::string>> keys;
    std::string section;
    std::size_t start = 0;
    while (start < content.size() && keys.size() < MaxKeys) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) {
            end = content.size();
        }
        const std::string line = Trim(content.substr(start, end - start));
        start = end + 1;
        if (!line.empty() && line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);
        } else if (line.find('=') != std::string::npos) {
            keys.emplace_back(section, line.substr(0, line.find('=')));
        }
    }
    return keys;
}

// The next text up to a zero byte; false when there is none.
bool NextText(const std::uint8_t*& data, std::size_t& size, std::string& text)
{
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            text.assign(reinterpret_cast<const char*>(data), i);
            data += i + 1;
            size -= i + 1;
            return true;
        }
    }
    return false;
}

void Check(bool ok, const char* what, const std::string& section, const std::string& key)
{
    if (!ok) {
        std::fprintf(stderr, "%s: section '%s' key '%s'\n", what, section.c_str(), key.c_str());
        std::abort();
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Folder folder;
    std::string section;
    std::string key;
    std::string value;
    if (!NextText(data, size, section) || !NextText(data, size, key) || !NextText(data, size, value)) {
        return 0;
    }
    const std::string content(reinterpret_cast<const char*>(data), size);
    const std::string path = folder.File();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;

    const std::size_t buffer = content.size() + value.size() + 2;
    const auto keys = KeysOf(content);
    std::vector<std::string> before;
    std::vector<std::string> sectionNames;
    for (const auto& [s, k] : keys) {
        before.push_back(Os::ReadProfileString(s, k, Missing, path, buffer));
        sectionNames.push_back(s);
    }
    // Read at once, the sections give each key what it reads alone.
    const std::vector<Os::ProfileSection> sections = Os::ReadProfileSections(sectionNames, path, buffer);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        // A key's own read cuts its default to the buffer too.
        std::string read = Missing.substr(0, buffer - 1);
        sections[i].Find(Trim(keys[i].second), read);
        Check(read == before[i], "the section read at once differs", keys[i].first, keys[i].second);
    }

    const bool written = Os::WriteProfileString(section, key, value, path);
    if (!Representable(section, key, value)) {
        return 0;
    }
    Check(written, "the write failed", section, key);
    Check(Os::ReadProfileString(section, key, Missing, path, buffer) == ReadBack(value),
          "the written key does not read back", section, key);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto& [s, k] = keys[i];
        if (!(SameName(s, section) && SameName(k, key))) {
            Check(Os::ReadProfileString(s, k, Missing, path, buffer) == before[i], "another key changed", s, k);
        }
    }
    return 0;
}
