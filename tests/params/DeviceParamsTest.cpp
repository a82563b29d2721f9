// The parameter set over the simulated cameras: built from each model's
// node map, written in its order and read back over the live registers.
#include "diag/DriverContext.h"
#include "params/CameraParameters.h"
#include "params/ParamEnum.h"
#include "support/LogCapture.h"
#include "support/OpenDevice.h"
#include "support/ProducerState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace {

class DeviceParamsTest : public ::testing::TestWithParam<int> {
protected:
    DeviceParamsTest() : mDevice(GetParam())
    {
        DriverContext::Instance().SetDebugMsgProc(TestSupport::LogCapture::Callback());
        mDevice->Open();
        CameraInfo info;
        info.name = mDevice.Name();
        mParams = std::make_unique<CameraParameters>(info);
        mDevice->OpenConfiguration(*mParams);
    }
    ~DeviceParamsTest() override { DriverContext::Instance().SetDebugMsgProc(nullptr); }

    bool IsKx1300() const { return GetParam() == 0; }

    template <typename T>
    T& As(const char* name)
    {
        return dynamic_cast<T&>(*mParams->GetParam(name));
    }

    std::size_t IndexOf(const char* name) const
    {
        const auto& params = mParams->GetParams();
        const auto found = std::find_if(params.begin(), params.end(), [&](const auto& p) { return p->mName == name; });
        return static_cast<std::size_t>(found - params.begin());
    }

    std::int64_t Register(const char* name) const
    {
        std::int64_t value = -1;
        EXPECT_EQ(TLICtl_GetRegisterValue(mDevice.Name().c_str(), name, &value), GC_ERR_SUCCESS) << name;
        return value;
    }

    void WriteAndReadBack()
    {
        mDevice->ApplyConfiguration(*mParams);
        mDevice->UpdateConfiguration(*mParams);
    }

    TestSupport::ProducerState mProducer;
    TestSupport::LogCapture mLog;
    TestSupport::DeviceOnProducer mDevice;
    std::unique_ptr<CameraParameters> mParams;
};

TEST_P(DeviceParamsTest, TheSetIsOrderedValidAndReadsBackValid)
{
    // Offsets before sizes, controlling enumerations before their dependents.
    EXPECT_EQ(IndexOf("OffsetX") + 1, IndexOf("Width"));
    EXPECT_EQ(IndexOf("OffsetY") + 1, IndexOf("Height"));
    const char* automatic = IsKx1300() ? "AutoFrameRate" : "AcquisitionFrameRateAuto";
    const char* rate = IsKx1300() ? "FrameRate" : "AcquisitionFrameRateAbs";
    EXPECT_EQ(IndexOf(automatic) + 1, IndexOf(rate));
    EXPECT_EQ(IndexOf("GainAuto") + 1, IndexOf("GainAbs"));
    const std::size_t trigger = IndexOf("TriggerMode");
    for (const char* dependent :
         {"TriggerActivation", "TriggerDelayRaw", "TriggerInhibit", "TriggerOverlap", "TriggerSource"}) {
        EXPECT_GT(IndexOf(dependent), trigger) << dependent;
        EXPECT_LE(IndexOf(dependent), trigger + 5) << dependent;
    }
    // Features the camera cannot read are left out; the others are there.
    EXPECT_FALSE(mParams->HasParam("EncoderFrequency"));
    EXPECT_FALSE(mParams->HasParam("LineStatusAll"));
    EXPECT_GE(mLog.FindContaining("Device::CreateParamFromNode: Parameter 'EncoderFrequency' skipped: "), 0);
    EXPECT_GE(mLog.FindContaining("Device::CreateParamFromNode: Parameter 'LineStatusAll' skipped: "), 0);
    EXPECT_FALSE(mParams->HasParam("Gain_dB"));
    EXPECT_FALSE(mParams->HasParam("AcquisitionMode"));
    EXPECT_FALSE(mParams->HasParam("LUTEnable")) << "inside a nested category";

    // Values of every kind, with their limits.
    EXPECT_EQ(As<Param<int>>("UserDefinedValue").mMax, std::numeric_limits<int>::max());
    EXPECT_EQ(As<Param<double>>("Gamma").mMin, 0.5);
    EXPECT_EQ(As<Param<double>>("Gamma").mMax, 3.9);
    const auto& source = As<ParamEnum>("TriggerSource");
    EXPECT_NE(std::find(source.mEntryNames.begin(), source.mEntryNames.end(), "Line3"), source.mEntryNames.end());
    EXPECT_TRUE(As<Param<std::string>>("DeviceLocation").mEnabled);
    EXPECT_FALSE(As<Param<int>>("PixelDynamicRangeMax").mEnabled);

    std::string error;
    EXPECT_TRUE(mParams->Validate(error)) << error;
    WriteAndReadBack();
    EXPECT_TRUE(mParams->Validate(error)) << error;
    EXPECT_EQ(mLog.FindContaining("no 'LogLevel' node"), -1) << "driver settings never reach the node map";
}

TEST_P(DeviceParamsTest, ValuesReachTheCameraAndComeBackWithItsLimits)
{
    As<Param<int>>("OffsetX").mValue = 32;
    As<Param<int>>("Width").mValue = 640;
    As<Param<int>>("UserDefinedValue").mValue = std::numeric_limits<int>::max();
    As<Param<double>>("Gamma").mValue = 2.25;
    As<Param<std::string>>("DeviceLocation").mValue = "Line 3 Top";
    As<Param<bool>>("LineInverter").mValue = true;
    As<ParamEnum>("TriggerSource").mValue = "Line2";
    WriteAndReadBack();
    EXPECT_EQ(Register("OffsetXReg"), 32);
    EXPECT_EQ(Register("WidthReg"), 640);
    EXPECT_EQ(Register("UserDefinedValueReg"), std::numeric_limits<int>::max());
    EXPECT_EQ(As<Param<double>>("Gamma").mValue, 2.25);
    EXPECT_EQ(As<Param<std::string>>("DeviceLocation").mValue, "Line 3 Top");
    EXPECT_TRUE(As<Param<bool>>("LineInverter").mValue);
    EXPECT_EQ(As<ParamEnum>("TriggerSource").mValue, "Line2");
    auto& offset = dynamic_cast<GenApi::IInteger&>(*mDevice->GetNodeMap()._GetNode("OffsetX"));
    EXPECT_EQ(As<Param<int>>("OffsetX").mMax, offset.GetMax()) << "limits read back";
    EXPECT_LT(mLog.Find("Device::ApplyParameter: INFO: Set parameter: OffsetX=32\n"),
              mLog.Find("Device::ApplyParameter: INFO: Set parameter: Width=640\n"));
}

TEST_P(DeviceParamsTest, DisabledReadOnlyAndRefusedParametersAreSkipped)
{
    const char* automatic = IsKx1300() ? "AutoFrameRate" : "AcquisitionFrameRateAuto";
    const char* rate = IsKx1300() ? "FrameRate" : "AcquisitionFrameRateAbs";
    As<ParamEnum>(automatic).mValue = IsKx1300() ? "Auto" : "On";
    As<Param<double>>(rate).mValue = 12.0;
    std::string error;
    mParams->Validate(error);
    EXPECT_FALSE(mParams->GetParam(rate)->mEnabled);
    mParams->GetParam("PixelDynamicRangeMax")->mEnabled = true;
    As<Param<int>>("Height").mValue = 99999;
    As<Param<int>>("LineDebouncerTimeRaw").mValue = 20;
    As<Param<int>>("BlackLevelRaw").mValue = 4;
    mLog.Clear();
    WriteAndReadBack();

    EXPECT_EQ(mLog.FindContaining(std::string("Device::ApplyParameter: INFO: Set parameter: ") + rate), -1);
    EXPECT_TRUE(mLog.Contains("Device::ApplyParameter: Skipped 'PixelDynamicRangeMax' read-only parameter\n"));
    EXPECT_FALSE(mParams->GetParam("PixelDynamicRangeMax")->mEnabled) << "read back as the camera has it";
    EXPECT_GE(mLog.FindContaining("Device::ApplyConfiguration: WARNING: Skipped 'Height'='99999' refused by the "
                                  "camera: "), 0) << mLog.Dump();
    EXPECT_GE(mLog.FindContaining("Device::ApplyConfiguration: WARNING: Skipped 'LineDebouncerTimeRaw'='20' due to "
                                  "access level: "), 0);
    // The pass went on after both, and the camera's own values came back.
    EXPECT_EQ(Register("BlackLevelRawReg"), 4);
    EXPECT_EQ(As<Param<int>>("Height").mValue, IsKx1300() ? 1024 : 2048);
    EXPECT_EQ(As<Param<int>>("LineDebouncerTimeRaw").mValue, 10);
    // Read back like the others: its writability is the camera's now.
    EXPECT_EQ(mParams->GetParam(rate)->mEnabled,
              GenApi::IsWritable(mDevice->GetNodeMap()._GetNode(rate)->GetAccessMode()));
}

TEST_P(DeviceParamsTest, ACameraValueBeyondThirtyTwoBitsIsNeverWrittenBack)
{
    ASSERT_EQ(TLICtl_SetRegisterValue(mDevice.Name().c_str(), "ScheduledActionTimeReg", 5000000000LL),
              GC_ERR_SUCCESS);
    mDevice->GetNodeMap()._InvalidateNodes();
    mDevice->UpdateConfiguration(*mParams);
    auto& time = As<Param<int>>("ScheduledActionTime");
    EXPECT_EQ(time.mValue, std::numeric_limits<int>::max());
    EXPECT_FALSE(time.mEnabled);
    time.mEnabled = true;
    mDevice->ApplyConfiguration(*mParams);
    EXPECT_EQ(Register("ScheduledActionTimeReg"), 5000000000LL);
}

INSTANTIATE_TEST_SUITE_P(BothModels, DeviceParamsTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == 0 ? std::string("KX1300") : std::string("KX5000");
                         });

}
