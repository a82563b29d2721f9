#include "support/TestSupport.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace TestSupport {

std::string SourceDir()
{
    const char* dir = std::getenv("KAVRIX_SOURCE_DIR");
    if (dir == nullptr || *dir == '\0') {
        throw std::runtime_error("KAVRIX_SOURCE_DIR is not set; run the tests through ctest");
    }
    return dir;
}

TempFolder::TempFolder()
{
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const fs::path path = fs::temp_directory_path() /
        ("kavrix-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(path);
    mPath = path.string();
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    fs::remove_all(mPath, ignored);
}

std::string TempFolder::File(const std::string& name) const
{
    return (fs::path(mPath) / name).string();
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}
