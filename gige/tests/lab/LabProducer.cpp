#include "LabProducer.h"

#include "os/SharedLibrary.h"
#include "os/System.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace Lab {

namespace {

void Anchor() {}

struct Loaded {
    Os::SharedLibrary mLibrary;
    Producer mProducer;
};

}

const Producer& Load()
{
    // Never unloaded: the producer keeps its state for the process.
    static Loaded* const loaded = [] {
        auto* result = new Loaded();
        Os::SharedLibrary* library = &result->mLibrary;
        const std::string path = Os::ModuleFolder(reinterpret_cast<const void*>(&Anchor)) + Os::PathSeparator +
                                 "gige" + Os::PathSeparator + Os::SharedLibrary::FileName("tli");
        if (!library->Load(path)) {
            ADD_FAILURE() << library->LastError();
            return result;
        }
        Producer* producer = &result->mProducer;
        bool all = true;
#define LAB_RESOLVE(name) all = library->Resolve(#name, producer->name) && all
        LAB_RESOLVE(TLOpen);
        LAB_RESOLVE(TLClose);
        LAB_RESOLVE(TLGetNumInterfaces);
        LAB_RESOLVE(TLGetInterfaceName);
        LAB_RESOLVE(TLOpenInterface);
        LAB_RESOLVE(TLCloseInterface);
        LAB_RESOLVE(TLGetNumDevices);
        LAB_RESOLVE(TLGetDeviceName);
        LAB_RESOLVE(TLOpenDevice);
        LAB_RESOLVE(DevClose);
        LAB_RESOLVE(DevGetInfo);
        LAB_RESOLVE(GCGetURL);
        LAB_RESOLVE(GCReadData);
        LAB_RESOLVE(GCWriteData);
        LAB_RESOLVE(DevCreateDataStream);
        LAB_RESOLVE(DSClose);
        LAB_RESOLVE(GCGetLastError);
#undef LAB_RESOLVE
        EXPECT_TRUE(all) << path << " lacks an operation";
        return result;
    }();
    return loaded->mProducer;
}

std::string LastError()
{
    GC_ERROR code = 0;
    char text[1024] = "";
    size_t size = sizeof text;
    EXPECT_EQ(Load().GCGetLastError(&code, text, &size), GC_ERR_SUCCESS);
    return text;
}

std::vector<std::string> InterfaceNames(TL_HANDLE library)
{
    const Producer& tl = Load();
    uint32_t count = 0;
    EXPECT_EQ(tl.TLGetNumInterfaces(library, &count), GC_ERR_SUCCESS) << LastError();
    std::vector<std::string> names;
    for (uint32_t i = 0; i < count; ++i) {
        char name[256];
        size_t size = sizeof name;
        EXPECT_EQ(tl.TLGetInterfaceName(library, i, name, &size), GC_ERR_SUCCESS) << LastError();
        names.emplace_back(name);
    }
    return names;
}

std::vector<std::string> DeviceNames(IF_HANDLE iface)
{
    const Producer& tl = Load();
    uint32_t count = 0;
    EXPECT_EQ(tl.TLGetNumDevices(iface, &count), GC_ERR_SUCCESS) << LastError();
    std::vector<std::string> names;
    for (uint32_t i = 0; i < count; ++i) {
        char name[256];
        size_t size = sizeof name;
        EXPECT_EQ(tl.TLGetDeviceName(iface, i, name, &size), GC_ERR_SUCCESS) << LastError();
        names.emplace_back(name);
    }
    return names;
}

std::string DeviceInfo(DEV_HANDLE device, std::int32_t command)
{
    char text[256] = "";
    size_t size = sizeof text;
    int32_t type = 0;
    EXPECT_EQ(Load().DevGetInfo(device, command, &type, text, &size), GC_ERR_SUCCESS) << LastError();
    EXPECT_EQ(type, INFO_DATATYPE_STRING);
    return text;
}

std::uint32_t ReadRegister(DEV_HANDLE device, std::uint32_t address)
{
    unsigned char bytes[4] = {};
    size_t size = sizeof bytes;
    EXPECT_EQ(Load().GCReadData(device, address, bytes, &size), GC_ERR_SUCCESS) << LastError();
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 | std::uint32_t{bytes[2]} << 8 | bytes[3];
}

bool LabScript(const std::string& arguments)
{
    const auto source = Os::GetEnvironment("KAVRIX_SOURCE_DIR");
    if (!source)
        return false;
    return std::system((*source + "/tools/gige-lab.sh " + arguments + " >/dev/null").c_str()) == 0;
}

}
