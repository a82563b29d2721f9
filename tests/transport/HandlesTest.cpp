// The producer's library, interface and device handles as the camera list
// uses them, over the simulated producer.
#include "support/ProducerState.h"
#include "support/TestSupport.h"
#include "transport/CameraError.h"
#include "transport/Counts.h"
#include "transport/Device.h"
#include "os/System.h"

#include <gtest/gtest.h>

#include <typeinfo>

using namespace Kavrix;

namespace {

using TestSupport::ErrorOf;

TEST(CameraErrorTest, TextNamesTheProducerCode)
{
    EXPECT_STREQ(CameraError("Interface::Close: Failed close interface", -2).what(),
                 "Interface::Close: Failed close interface -- TL API error code: -2(GC_ERR_INVALID_HANDLE)");
    EXPECT_STREQ(CameraError("Camera is not opened").what(), "Camera is not opened");
    EXPECT_STREQ(CameraError("odd", -12).what(), "odd -- TL API error code: -12()");
    EXPECT_STREQ(CameraError("positive", 3).what(), "positive -- TL API error code: 3()");
    EXPECT_EQ(CameraError("x", -5).GetCode(), -5);
    EXPECT_STREQ(GetGCErrorName(0), "GC_ERR_SUCCESS");
    EXPECT_STREQ(GetGCErrorName(-11), "GC_ERR_FILE_IO");

    EXPECT_NO_THROW(CheckGCError(0, "unused"));
    EXPECT_EQ(ErrorOf([] { CheckGCError(-8, "Slow"); }), "Slow -- TL API error code: -8(GC_ERR_TIMEOUT)");
}

TEST(CountsTest, CountsAboveIntRangeAreRefused)
{
    EXPECT_EQ(ToCount(2147483647u), 2147483647);
    EXPECT_EQ(ErrorOf([] { ToCount(2147483648u); }), "bad numeric conversion: positive overflow");
}

class HandlesTest : public ::testing::Test {
protected:
    TestSupport::ProducerState mProducer;
};

TEST_F(HandlesTest, WalksInterfacesAndDevices)
{
    TestSupport::ProducerState::Use({{"empty", {}}, {"lan", {"Cam A", "Cam B"}}});
    Library library;
    EXPECT_EQ(ErrorOf([&] { library.GetInterfaceCount(); }), "Camera is not opened");
    library.Open();
    EXPECT_EQ(ErrorOf([&] { library.Open(); }), "Camera allready open");
    ASSERT_EQ(library.GetInterfaceCount(), 2);

    auto lan = std::make_shared<Interface>(1, library);
    EXPECT_EQ(lan->GetDeviceCount(), 0) << "a closed interface reports no devices";
    EXPECT_EQ(ErrorOf([&] { lan->GetHandle(); }), "Interface does not open");
    lan->Open();
    EXPECT_EQ(lan->GetName(), "lan");
    EXPECT_EQ(ErrorOf([&] { lan->Open(); }), "Interface allready open");
    ASSERT_EQ(lan->GetDeviceCount(), 2);

    Device second(lan, 1);
    EXPECT_EQ(second.GetName(), "Cam B");
    EXPECT_EQ(ErrorOf([&] { second.GetHandle(); }), "Device does not open");

    lan->Close();
    EXPECT_EQ(ErrorOf([&] { lan->Close(); }), "Interface does not open");
    EXPECT_EQ(second.GetName(), "Cam B") << "a device keeps the name it was listed with";
    library.Close();
    EXPECT_EQ(ErrorOf([&] { library.Close(); }), "Camera is not opened");
}

TEST_F(HandlesTest, ProducerFailuresCarryMessageAndCode)
{
    Library library;
    ASSERT_EQ(TLICtl_InjectFault("TLOpen", GC_ERR_ERROR, 0, 1), GC_ERR_SUCCESS);
    EXPECT_EQ(ErrorOf([&] { library.Open(); }), "Library::Open: Failed open TL -- TL API error code: -6(GC_ERR_ERROR)");
    EXPECT_FALSE(library.IsOpen());
    library.Open();

    TLICtl_InjectFault("TLGetNumInterfaces", GC_ERR_INVALID_HANDLE, 0, 1);
    EXPECT_EQ(ErrorOf([&] { library.GetInterfaceCount(); }),
              "Lirary::GetInterfaceCount: Failed to get interface count -- TL API error code: -2(GC_ERR_INVALID_HANDLE)");

    auto iface = std::make_shared<Interface>(0, library);
    TLICtl_InjectFault("TLGetInterfaceName", GC_ERR_INVALID_ID, 0, 1);
    EXPECT_EQ(ErrorOf([&] { iface->Open(); }),
              "Interface::Open: Failed to get interface name -- TL API error code: -3(GC_ERR_INVALID_ID)");
    TLICtl_InjectFault("TLOpenInterface", GC_ERR_ACCESS_DENIED, 0, 1);
    EXPECT_EQ(ErrorOf([&] { iface->Open(); }),
              "Interface::Open: Failed to open interface -- TL API error code: -4(GC_ERR_ACCESS_DENIED)");
    iface->Open();

    TLICtl_InjectFault("TLGetNumDevices", GC_ERR_TIMEOUT, 0, 1);
    EXPECT_EQ(ErrorOf([&] { iface->GetDeviceCount(); }),
              "Interface::GetDeviceCount: Failed to get device count -- TL API error code: -8(GC_ERR_TIMEOUT)");
    TLICtl_InjectFault("TLGetDeviceName", GC_ERR_ERROR, 0, 1);
    EXPECT_EQ(ErrorOf([&] { Device(iface, 0).GetName(); }),
              "Device::Open: Failed to get device name -- TL API error code: -6(GC_ERR_ERROR)");

    // A failed close keeps the handle, so that a later close can try again.
    TLICtl_InjectFault("TLCloseInterface", GC_ERR_ERROR, 0, 1);
    EXPECT_EQ(ErrorOf([&] { iface->Close(); }),
              "Interface::Close: Failed close interface -- TL API error code: -6(GC_ERR_ERROR)");
    EXPECT_NO_THROW(iface->Close());
    TLICtl_InjectFault("TLClose", GC_ERR_ERROR, 0, 1);
    EXPECT_EQ(ErrorOf([&] { library.Close(); }), "Library::Close: Failed to close TL -- TL API error code: -6(GC_ERR_ERROR)");
    EXPECT_TRUE(library.IsOpen());
    EXPECT_NO_THROW(library.Close());
}

TEST_F(HandlesTest, DestructorsCloseWhatIsOpen)
{
    const int64_t opened = TLICtl_CallCount("TLCloseInterface");
    {
        Library library;
        library.Open();
        auto iface = std::make_shared<Interface>(0, library);
        iface->Open();
    }
    EXPECT_EQ(TLICtl_CallCount("TLCloseInterface"), opened + 1);
    EXPECT_EQ(TLICtl_CallCount("TLClose"), 1);
}

TEST_F(HandlesTest, MissingProducerIsNamed)
{
    ASSERT_TRUE(Os::SetEnvironment("KAVRIX_TLI", "no-such-folder/no-such-producer"));
    Library library;
    const std::string error = ErrorOf([&] { library.Open(); });
    Os::SetEnvironment("KAVRIX_TLI", nullptr);
    EXPECT_NE(error.find("Library::Open: Failed to load the producer library"), std::string::npos) << error;
    EXPECT_NE(error.find("no-such-folder/no-such-producer"), std::string::npos) << error;
    EXPECT_FALSE(library.IsOpen());
}

}
