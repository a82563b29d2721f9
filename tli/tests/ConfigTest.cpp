// The configuration file: the forms it takes, and the default that stands in
// when it is broken.
#include "Support.h"

#include <cstdlib>

using namespace TliTest;

namespace {

class Config : public ProducerTest {};

std::string DataFile(const char* name)
{
    const char* root = std::getenv("KAVRIX_SOURCE_DIR");
    return std::string(root == nullptr ? "." : root) + "/tli/tests/data/" + name;
}

void ExpectTwoInterfaces()
{
    Library library;
    ASSERT_EQ(library.InterfaceNames(),
              (std::vector<std::string>{"eth1 (192.168.20.1/24)", "eth2 (192.168.30.1/24)"}));
    EXPECT_TRUE(library.DeviceNames("eth1 (192.168.20.1/24)").empty());
    ASSERT_EQ(library.DeviceNames("eth2 (192.168.30.1/24)"),
              (std::vector<std::string>{"Line 3 Top", "Kavrix KX-5000-24gm (40012345)"}));
    DEV_HANDLE top = library.OpenDevice("eth2 (192.168.30.1/24)", "Line 3 Top");
    EXPECT_EQ(DeviceInfo(top, DEVICE_INFO_MODEL), TLICTL_MODEL_KX1300);
    EXPECT_EQ(DeviceInfo(top, DEVICE_INFO_IP_ADDRESS), "192.168.30.11");
    EXPECT_EQ(DeviceInfo(top, DEVICE_INFO_DISPLAYNAME), "Line 3 Top");
}

TEST_F(Config, TwoInterfacesTheFirstWithoutCameras)
{
    ASSERT_EQ(TLICtl_LoadConfig(DataFile("two-interfaces.ini").c_str()), GC_ERR_SUCCESS) << LastConfigError();
    EXPECT_EQ(LastConfigError(), "");
    ExpectTwoInterfaces();
    // Control API changes last until the next reset, which reads the file again.
    ASSERT_EQ(TLICtl_RemoveInterface("eth1 (192.168.20.1/24)"), GC_ERR_SUCCESS);
    ASSERT_EQ(TLICtl_Reset(), GC_ERR_SUCCESS);
    ExpectTwoInterfaces();
}

TEST_F(Config, AFileWithoutInterfacesMeansNoCameras)
{
    ASSERT_EQ(TLICtl_LoadConfig(WriteConfig("tli-empty.ini", "# nothing here\n\n").c_str()), GC_ERR_SUCCESS);
    Library library;
    EXPECT_TRUE(library.InterfaceNames().empty());
}

TEST_F(Config, BrokenFilesFallBackToTheDefaultAndSayWhy)
{
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {"[interface]\nname = eth1\n[camera]\n", "tli-broken.ini:3: unknown section [camera]"},
        {"[device]\nmodel = KX-1300-60gm\n", "tli-broken.ini:1: [device] before any [interface]"},
        {"[interface]\nname = eth1\n[device]\nmodel = KX-1\n", "tli-broken.ini:4: unknown model \"KX-1\""},
        {"[interface]\nname = eth1\n[device]\nname = Line 1\n", "tli-broken.ini:3: [device] without a model"},
        {"[interface]\n\n[interface]\nname = eth2\n", "tli-broken.ini:1: [interface] without a name"},
        {"[interface]\nname = a\n[interface]\nname = a\n", "tli-broken.ini:3: interface name \"a\" used twice"},
        {"[interface]\nname = a\n[device]\nmodel = KX-1300-60gm\nname = [x]\n",
         "tli-broken.ini:5: invalid device name \"[x]\""},
        {"[interface]\nname = a\n[device]\nmodel = KX-1300-60gm\nserial = 99999999999\n",
         "tli-broken.ini:5: serial number \"99999999999\" is not a 32-bit decimal number"},
        {"[interface]\nname = a\nname = b\n", "tli-broken.ini:3: \"name\" given twice"},
        {"[interface]\nname = a\ncolour = blue\n", "tli-broken.ini:3: unknown interface key \"colour\""},
        {"name = a\n", "tli-broken.ini:1: \"name\" outside a section"},
        {"[interface\n", "tli-broken.ini:1: section header without \"]\""},
        {"[interface]\nname\n", "tli-broken.ini:2: expected \"key = value\""},
        {"\x01\x02\xff\xfe[[[\n", "tli-broken.ini:1: expected \"key = value\""},
        {"[interface]\nname = a\nmtu = 100\n", "tli-broken.ini:3: MTU \"100\" is not a number from 576 to 65535"},
        {"[interface]\nname = a\n[device]\nmodel = KX-1300-60gm\npacing = fast\n",
         "tli-broken.ini:5: pacing \"fast\" is neither frame-rate nor none"},
        {"[interface]\nname = a\n[device]\nmodel = KX-1300-60gm\nprivilege = 4\n",
         "tli-broken.ini:5: privilege \"4\" is not 0, 1, 2 or 3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TLICtl_LoadConfig(WriteConfig("tli-broken.ini", c.text).c_str()), GC_ERR_ERROR) << c.text;
        EXPECT_EQ(LastConfigError(), c.reason);
        Library library;
        EXPECT_EQ(library.InterfaceNames(), std::vector<std::string>{DefaultInterface}) << c.text;
    }

    EXPECT_EQ(TLICtl_LoadConfig("tli-no-such-file.ini"), GC_ERR_ERROR);
    EXPECT_EQ(LastConfigError(), "tli-no-such-file.ini: cannot be opened");
    ASSERT_EQ(TLICtl_LoadConfig(DataFile("two-interfaces.ini").c_str()), GC_ERR_SUCCESS);
    EXPECT_EQ(LastConfigError(), "") << "a good file clears the last complaint";
}

// Run by its own test entry with KAVRIX_TLI_CONFIG naming the two-interface
// file: the library reads it when it is loaded, before any reset.
TEST(ConfigFromEnvironment, IsReadWhenTheLibraryIsLoaded)
{
    const char* path = std::getenv(TLICTL_CONFIG_VARIABLE);
    if (path == nullptr)
        GTEST_SKIP() << TLICTL_CONFIG_VARIABLE " is not set";
    ExpectTwoInterfaces();
    ASSERT_EQ(TLICtl_Reset(), GC_ERR_SUCCESS);
    ExpectTwoInterfaces();
}

}
