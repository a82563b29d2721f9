// The lab tests start only inside the lab's host namespace: every adapter
// but loopback is one of the lab's (kx*), and on Linux the namespace is
// kxhost itself. Anywhere else they refuse before the producer is loaded,
// so no discovery ever reaches another network.
#include "os/NetworkInterfaces.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace {

bool InsideLab()
{
#if !defined(_WIN32)
    std::error_code error;
    if (!std::filesystem::equivalent("/proc/self/ns/net", "/run/netns/kxhost", error)) {
        std::fprintf(stderr, "not in the lab's namespace kxhost (tools/gige-lab.sh host ...)\n");
        return false;
    }
#endif
    for (const Os::NetworkInterface& item : Os::NetworkInterfaces()) {
        if (!item.loopback && item.name.rfind("kx", 0) != 0) {
            std::fprintf(stderr, "adapter %s is not the lab's\n", item.name.c_str());
            return false;
        }
    }
    return true;
}

}

int main(int argc, char** argv)
{
    if (!InsideLab()) {
        std::fprintf(stderr, "refusing to run outside the GigE Vision lab\n");
        return 1;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
