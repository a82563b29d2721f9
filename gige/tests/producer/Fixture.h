// The producer's operations in the private namespace of cmake/netns-run.sh
// (veth-kx0 169.254.10.1/16, veth-kx1 169.254.20.1/16 and 169.254.30.1/16,
// veth-kx2 169.254.40.1/24 without a link), with helpers that fail the test
// on an unexpected code.
#pragma once

#include "TLI.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Test {

std::string LastError();
std::vector<std::string> InterfaceNames(TL_HANDLE library);
std::vector<std::string> DeviceNames(IF_HANDLE iface);
std::uint32_t ReadRegister(DEV_HANDLE device, std::uint32_t address);
long long Now();

// TLOpen, the camera's interface and its device list; TLClose at the end.
class Session {
public:
    explicit Session(const std::string& interfaceName = "veth-kx0 (169.254.10.1/16)");
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    TL_HANDLE Library() const { return mLibrary; }
    IF_HANDLE Interface() const { return mInterface; }
    const std::vector<std::string>& Cameras() const { return mCameras; }
    // The first camera opened exclusively; fails the test otherwise.
    DEV_HANDLE OpenFirst();

private:
    TL_HANDLE mLibrary = nullptr;
    IF_HANDLE mInterface = nullptr;
    std::vector<std::string> mCameras;
};

// Sets an environment variable for the scope.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value);
    ~ScopedVariable();

private:
    const char* mName;
};

}
