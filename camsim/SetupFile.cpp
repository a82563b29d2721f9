#include "camsim/Setup.h"

#include <fstream>
#include <iterator>

namespace CamSim {

namespace {

// A configuration names a few cameras; anything this large is not one.
constexpr std::streamoff MaxConfigSize = 1 << 20;

}

Setup DefaultSetup()
{
    InterfaceSetup iface;
    iface.mName = "eth0 (192.168.10.1/24)";
    DeviceSetup first;
    first.mModel = "KX-1300-60gm";
    DeviceSetup second;
    second.mModel = "KX-5000-24gm";
    iface.mDevices = {first, second};
    Setup setup;
    setup.mInterfaces.push_back(iface);
    return setup;
}

Setup LoadSetup(const std::string& path, std::string& error)
{
    error.clear();
    if (path.empty())
        return DefaultSetup();
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be opened";
        return DefaultSetup();
    }
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    if (size < 0 || size > MaxConfigSize) {
        error = path + ": not a configuration file (size)";
        return DefaultSetup();
    }
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        error = path + ": cannot be read";
        return DefaultSetup();
    }
    if (auto setup = ParseSetup(text, path, error))
        return *setup;
    return DefaultSetup();
}

}
