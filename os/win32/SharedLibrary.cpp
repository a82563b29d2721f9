#include "os/SharedLibrary.h"

#include "os/win32/ErrorText.h"

#include <windows.h>

namespace Os {

bool SharedLibrary::Load(const std::string& path)
{
    Unload();
    // A library named with a folder finds its own dependencies beside it; a
    // missing one must not open a message box in the host.
    const DWORD flags = path.find_first_of("\\/") != std::string::npos ? LOAD_WITH_ALTERED_SEARCH_PATH : 0;
    DWORD previousMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, flags);
    const DWORD error = GetLastError();
    SetThreadErrorMode(previousMode, nullptr);
    if (module == nullptr) {
        mLastError = "cannot load " + path + ": " + ErrorText(error);
        return false;
    }
    mHandle = module;
    mLastError.clear();
    return true;
}

void SharedLibrary::Unload()
{
    if (mHandle != nullptr) {
        FreeLibrary(static_cast<HMODULE>(mHandle));
        mHandle = nullptr;
    }
}

void* SharedLibrary::Symbol(const char* name) const
{
    if (mHandle == nullptr || name == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(mHandle), name));
}

std::string SharedLibrary::FileName(const std::string& baseName)
{
    return baseName + ".dll";
}

}
