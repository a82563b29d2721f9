// Helpers shared by the driver's test binaries.
#pragma once

#include <exception>
#include <string>

namespace TestSupport {

// The repository root (the test runner passes it in KAVRIX_SOURCE_DIR).
std::string SourceDir();

// A new empty folder for one test, removed again by the destructor.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return mPath; }
    // Path() + the system's separator + name.
    std::string File(const std::string& name) const;

private:
    std::string mPath;
};

std::string ReadFile(const std::string& path);

// The text of the exception the call raises, or "(no exception)".
template <typename Call>
std::string ErrorOf(Call call)
{
    try {
        call();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no exception)";
}

}
