#include "os/SharedLibrary.h"

#include <dlfcn.h>

namespace Os {

bool SharedLibrary::Load(const std::string& path)
{
    Unload();
    mHandle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (mHandle == nullptr) {
        const char* reason = dlerror();
        mLastError = reason != nullptr ? reason : "cannot load " + path;
        return false;
    }
    mLastError.clear();
    return true;
}

void SharedLibrary::Unload()
{
    if (mHandle != nullptr) {
        dlclose(mHandle);
        mHandle = nullptr;
    }
}

void* SharedLibrary::Symbol(const char* name) const
{
    if (mHandle == nullptr || name == nullptr) {
        return nullptr;
    }
    return dlsym(mHandle, name);
}

std::string SharedLibrary::FileName(const std::string& baseName)
{
    return "lib" + baseName + ".so";
}

}
