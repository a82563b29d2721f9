#include "os/System.h"

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <vector>

namespace Os {

namespace {

unsigned long long Ticks(const FILETIME& time)
{
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}

void DebugOutput(const char* text)
{
    if (text != nullptr) {
        OutputDebugStringA(text);
    }
}

long ProcessMilliseconds()
{
    FILETIME creation{};
    FILETIME exitTime{};
    FILETIME kernel{};
    FILETIME user{};
    if (!GetProcessTimes(GetCurrentProcess(), &creation, &exitTime, &kernel, &user)) {
        return 0;
    }
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    // FILETIME counts 100 ns steps.
    return static_cast<long>((Ticks(now) - Ticks(creation)) / 10000);
}

long long MonotonicMilliseconds()
{
    return static_cast<long long>(GetTickCount64());
}

LocalTime Now()
{
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return LocalTime{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

std::optional<std::string> GetEnvironment(const char* name)
{
    if (name == nullptr) {
        return std::nullopt;
    }
    std::vector<char> buffer(256);
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetEnvironmentVariableA(name, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            // An empty value is set; only a missing variable gives nothing.
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
                return std::nullopt;
            }
            return std::string();
        }
        if (length < buffer.size()) {
            return std::string(buffer.data(), length);
        }
        buffer.resize(length);
    }
}

std::size_t ResidentBytes()
{
    // The kernel32 form, so that no extra import library is needed.
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
        return 0;
    }
    return counters.WorkingSetSize;
}

bool RunsUnderWine()
{
    // Wine's ntdll exports its version; Windows' does not.
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string ModuleFolder(const void* address)
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCSTR>(address), &module)) {
        return {};
    }
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            const std::string path(buffer.data(), length);
            const std::size_t separator = path.find_last_of("\\/");
            return separator == std::string::npos ? std::string(".") : path.substr(0, separator);
        }
        buffer.resize(buffer.size() * 2);
    }
}

}
