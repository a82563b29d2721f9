// A dynamic library loaded at run time (LoadLibrary / dlopen), unloaded on
// destruction.
#pragma once

#include <string>

namespace Os {

class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;
    SharedLibrary(SharedLibrary&& other) noexcept;
    SharedLibrary& operator=(SharedLibrary&& other) noexcept;

    // False when it cannot be loaded; LastError() then says why.
    bool Load(const std::string& path);
    void Unload();
    bool IsLoaded() const { return mHandle != nullptr; }
    // Null when the library has no such symbol.
    void* Symbol(const char* name) const;
    // The symbol as a typed function pointer; false (and null) when missing.
    template <typename Function>
    bool Resolve(const char* name, Function& slot) const
    {
        void* symbol = Symbol(name);
        slot = reinterpret_cast<Function>(symbol);
        return symbol != nullptr;
    }
    const std::string& LastError() const { return mLastError; }

    // The system's file name for a library base name: "tli" -> tli.dll / libtli.so.
    static std::string FileName(const std::string& baseName);

private:
    void* mHandle = nullptr;
    std::string mLastError;
};

}
