#include "support/ProducerState.h"

#include <gtest/gtest.h>

namespace TestSupport {

ProducerState::ProducerState()
{
    EXPECT_EQ(TLICtl_LoadConfig(nullptr), GC_ERR_SUCCESS);
}

ProducerState::~ProducerState()
{
    TLICtl_LoadConfig(nullptr);
}

std::vector<std::string> ProducerState::InterfaceNames()
{
    std::vector<std::string> names;
    TL_HANDLE library = nullptr;
    if (TLOpen(&library) != GC_ERR_SUCCESS) {
        return names;
    }
    uint32_t count = 0;
    TLGetNumInterfaces(library, &count);
    for (uint32_t i = 0; i < count; ++i) {
        char name[256] = {};
        size_t size = sizeof(name);
        if (TLGetInterfaceName(library, i, name, &size) == GC_ERR_SUCCESS) {
            names.emplace_back(name);
        }
    }
    TLClose(library);
    return names;
}

void ProducerState::Use(const std::vector<InterfaceSpec>& interfaces)
{
    for (const std::string& name : InterfaceNames()) {
        ASSERT_EQ(TLICtl_RemoveInterface(name.c_str()), GC_ERR_SUCCESS) << name;
    }
    for (const InterfaceSpec& wanted : interfaces) {
        ASSERT_EQ(TLICtl_AddInterface(wanted.name.c_str()), GC_ERR_SUCCESS) << wanted.name;
        for (const std::string& device : wanted.devices) {
            ASSERT_EQ(TLICtl_AddDevice(wanted.name.c_str(), TLICTL_MODEL_KX1300, device.c_str()), GC_ERR_SUCCESS)
                << device;
        }
    }
}

}
