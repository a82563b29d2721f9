#include "Session.h"

#include "os/System.h"

#include <gtest/gtest.h>

namespace Lab {

Session::Session(const std::string& interfaceName)
{
    const Producer& tl = Load();
    EXPECT_EQ(tl.TLOpen(&mLibrary), GC_ERR_SUCCESS) << LastError();
    const std::vector<std::string> interfaces = InterfaceNames(mLibrary);
    EXPECT_EQ(interfaces, std::vector<std::string>{interfaceName}) << "the lab's one adapter, loopback left out";
    EXPECT_EQ(tl.TLOpenInterface(mLibrary, interfaceName.c_str(), &mInterface), GC_ERR_SUCCESS) << LastError();
    const long long start = Os::MonotonicMilliseconds();
    mCameras = DeviceNames(mInterface);
    mDiscoveryMs = Os::MonotonicMilliseconds() - start;
}

Session::~Session()
{
    if (mLibrary != nullptr) {
        EXPECT_EQ(Load().TLClose(mLibrary), GC_ERR_SUCCESS) << LastError();
    }
}

DEV_HANDLE Session::Open(const std::string& camera, GC_ERROR& result, std::int32_t access)
{
    DEV_HANDLE device = nullptr;
    result = Load().TLOpenDevice(mInterface, camera.c_str(), access, &device);
    return device;
}

}
