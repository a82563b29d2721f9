// The parameter set from a node map and back, over a description whose
// features exercise every conversion rule, on a register memory of its own.
#include "TestSupport.h"
#include "diag/DriverContext.h"
#include "params/NodeMapParams.h"
#include "params/ParamEnum.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <typeinfo>

namespace {

const char Nodes[] = R"(
<Category Name="Root"><pFeature>A</pFeature><pFeature>B</pFeature><pFeature>Loose</pFeature></Category>
<Category Name="A">
  <pFeature>Width</pFeature><pFeature>Height</pFeature><pFeature>OffsetX</pFeature><pFeature>OffsetY</pFeature>
  <pFeature>Nested</pFeature><pFeature>Temperature</pFeature><pFeature>Secret</pFeature><pFeature>Timer</pFeature>
  <pFeature>Counter</pFeature><pFeature>gain_db</pFeature><pFeature>Gain_dB</pFeature><pFeature>Start</pFeature>
  <pFeature>RawReg</pFeature><pFeature>Broken</pFeature><pFeature>UserName</pFeature><pFeature>Reverse</pFeature>
</Category>
<Category Name="B">
  <pFeature>GainAuto</pFeature><pFeature>GainAbs</pFeature><pFeature>GainRaw</pFeature><pFeature>Width</pFeature>
  <pFeature>TriggerMode</pFeature><pFeature>TriggerSource</pFeature>
</Category>
<Category Name="Nested"><pFeature>Inner</pFeature></Category>
<Integer Name="Loose"><Value>1</Value></Integer>
<Integer Name="Inner"><Value>1</Value></Integer>
<Integer Name="Width"><pValue>WidthReg</pValue><Min>16</Min><Max>1280</Max><Inc>16</Inc></Integer>
<Integer Name="Height"><pValue>HeightReg</pValue><Min>16</Min><Max>1024</Max><Inc>2</Inc></Integer>
<Integer Name="OffsetX"><pValue>OffsetXReg</pValue><Min>0</Min><Max>1264</Max><Inc>16</Inc></Integer>
<Integer Name="OffsetY"><pValue>OffsetYReg</pValue><Min>0</Min><Max>1008</Max><Inc>2</Inc></Integer>
<Integer Name="Temperature"><ImposedAccessMode>RO</ImposedAccessMode><Value>41</Value></Integer>
<Integer Name="Secret"><pValue>SecretReg</pValue></Integer>
<Integer Name="Timer"><pValue>TimerReg</pValue><Min>0</Min><Max>0xFFFFFFFF</Max></Integer>
<Integer Name="Counter"><pValue>CounterReg</pValue><Min>0</Min><Max>4294967301</Max></Integer>
<Integer Name="gain_db"><Value>3</Value></Integer>
<Integer Name="Gain_dB"><Value>3</Value></Integer>
<Command Name="Start"><pValue>StartReg</pValue><CommandValue>1</CommandValue></Command>
<IntSwissKnife Name="Quotient"><pVariable Name="Z">ZeroReg</pVariable><Formula>10/Z</Formula></IntSwissKnife>
<Integer Name="Broken"><pValue>Quotient</pValue></Integer>
<String Name="UserName"><Value>line 3</Value></String>
<Boolean Name="Reverse"><pValue>ReverseReg</pValue><OnValue>1</OnValue><OffValue>0</OffValue></Boolean>
<Enumeration Name="GainAuto">
  <EnumEntry Name="Off"><Value>0</Value></EnumEntry>
  <EnumEntry Name="Once"><pIsAvailable>Never</pIsAvailable><Value>1</Value></EnumEntry>
  <EnumEntry Name="Continuous"><Value>2</Value></EnumEntry>
  <EnumEntry Name="Far"><Value>0x100000002</Value></EnumEntry>
  <pValue>GainAutoReg</pValue>
</Enumeration>
<Integer Name="Never"><Value>0</Value></Integer>
<Float Name="GainAbs"><pValue>GainAbsReg</pValue><Min>0.5</Min><Max>99.9</Max></Float>
<FloatReg Name="GainAbsReg"><Address>0x40</Address><Length>8</Length><AccessMode>RW</AccessMode><pPort>Device</pPort></FloatReg>
<Integer Name="GainRaw"><Value>1</Value></Integer>
<Enumeration Name="TriggerMode">
  <EnumEntry Name="Off"><Value>0</Value></EnumEntry><EnumEntry Name="On"><Value>1</Value></EnumEntry>
  <pValue>TriggerModeReg</pValue>
</Enumeration>
<Enumeration Name="TriggerSource">
  <EnumEntry Name="Line1"><Value>0</Value></EnumEntry><EnumEntry Name="Software"><Value>7</Value></EnumEntry>
  <pValue>TriggerSourceReg</pValue>
</Enumeration>
)";

std::string Registers()
{
    std::string text;
    int address = 0x100;
    for (const char* name : {"WidthReg", "HeightReg", "OffsetXReg", "OffsetYReg", "ReverseReg", "StartReg", "ZeroReg",
                             "TriggerModeReg", "TriggerSourceReg"}) {
        text += IntReg(name, address);
        address += 4;
    }
    text += IntReg("GainAutoReg", 0x200, 8);
    text += IntReg("TimerReg", 0x208, 8);
    text += IntReg("CounterReg", 0x210, 8);
    text += IntReg("RawReg", 0x218, 4);
    text += "<IntReg Name=\"SecretReg\"><Address>0x220</Address><Length>4</Length><AccessMode>WO</AccessMode>"
            "<pPort>Device</pPort></IntReg>\n";
    return text;
}

CameraInfo Info()
{
    CameraInfo info;
    info.name = "Synthetic";
    return info;
}

class NodeMapParamsTest : public ::testing::Test {
protected:
    NodeMapParamsTest() : mMap(std::string(Nodes) + Registers())
    {
        Set(0x100, 640);
        Set(0x104, 480);
        Set(0x208, 7);
        Set(0x210, 5000000000LL, 8);
        Set(0x200, 2, 8);
        DriverContext::Instance().SetDebugMsgProc(TestSupport::LogCapture::Callback());
    }
    ~NodeMapParamsTest() override { DriverContext::Instance().SetDebugMsgProc(nullptr); }

    void Set(std::int64_t address, std::int64_t value, int length = 4)
    {
        mMap.mPort.Set(address, static_cast<std::uint64_t>(value), length, false);
    }
    std::int64_t Get(std::int64_t address, int length = 4) const
    {
        return static_cast<std::int64_t>(mMap.mPort.Get(address, length, false));
    }

    template <typename T>
    T& As(const char* name)
    {
        return dynamic_cast<T&>(*mParams.GetParam(name));
    }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& param : mParams.GetParams()) {
            names.push_back(param->mName);
        }
        return names;
    }

    TestMap mMap;
    CameraParameters mParams{Info()};
    TestSupport::LogCapture mLog;
};

TEST_F(NodeMapParamsTest, BuildsOneParameterPerUsableFeatureInWritingOrder)
{
    NodeMapParams::OpenConfiguration(mMap.mMap, mParams);
    EXPECT_EQ(Names(), (std::vector<std::string>{"LogLevel", "LogIntoFile", "DebugViewOutput", "GrabBuffers", "OffsetX",
                                                 "Width", "OffsetY", "Height", "Temperature", "Timer", "Counter",
                                                 "gain_db", "UserName", "Reverse", "GainAuto", "GainAbs",
                                                 "TriggerMode", "TriggerSource"}));
    EXPECT_EQ(mParams.GetParam("Width")->mCategory, "A");
    EXPECT_EQ(mParams.GetParam("GainAuto")->mCategory, "B");
    EXPECT_TRUE(mLog.Contains("Device::CreateParamFromNode: skipping 'Nested' due to unrecognized type\n"));
    EXPECT_EQ(mLog.FindContaining("'Inner'"), -1);
    EXPECT_GE(mLog.FindContaining("Device::CreateParamFromNode: Parameter 'Broken' skipped: "), 0);
    EXPECT_TRUE(mLog.Contains("Device::CreateParamFromFeatures: INFO: completed feature B\n"));

    // A later open adds nothing and keeps the values.
    As<Param<int>>("Width").mValue = 800;
    NodeMapParams::OpenConfiguration(mMap.mMap, mParams);
    EXPECT_EQ(mParams.GetParams().size(), 18u);
    EXPECT_EQ(As<Param<int>>("Width").mValue, 800);
}

TEST_F(NodeMapParamsTest, ConvertsEachTypeWithItsLimitsAndWritability)
{
    NodeMapParams::OpenConfiguration(mMap.mMap, mParams);
    const auto& width = As<Param<int>>("Width");
    EXPECT_EQ(width.mValue, 640);
    EXPECT_EQ(width.mMin, 16);
    EXPECT_EQ(width.mMax, 1280);
    EXPECT_EQ(width.mIncrement, 16);
    EXPECT_TRUE(width.mEnabled);
    EXPECT_FALSE(As<Param<int>>("Temperature").mEnabled);

    // A maximum beyond 32 bits stays the largest value, never a small or negative one.
    const auto& timer = As<Param<int>>("Timer");
    EXPECT_EQ(timer.mMax, std::numeric_limits<int>::max());
    EXPECT_TRUE(timer.mEnabled);
    // A value the parameter cannot hold is never written back.
    const auto& counter = As<Param<int>>("Counter");
    EXPECT_EQ(counter.mValue, std::numeric_limits<int>::max());
    EXPECT_FALSE(counter.mEnabled);

    const auto& gainAuto = As<ParamEnum>("GainAuto");
    EXPECT_EQ(gainAuto.mValue, "Off");
    EXPECT_EQ(gainAuto.mEntryNames, (std::vector<std::string>{"Off", "Once", "Continuous", "Far"}));
    EXPECT_EQ(gainAuto.mEntryValues.back(), 0x100000002LL);
    const auto& gain = As<Param<double>>("GainAbs");
    EXPECT_EQ(gain.mMin, 0.5);
    EXPECT_EQ(gain.mMax, 99.9);
    EXPECT_EQ(As<Param<std::string>>("UserName").mValue, "line 3");
    EXPECT_EQ(typeid(*mParams.GetParam("Reverse")), typeid(Param<bool>));
}

TEST_F(NodeMapParamsTest, ADescriptionWithoutRootGivesNoParameters)
{
    TestMap plain("<Integer Name=\"Width\"><Value>1</Value></Integer>");
    try {
        NodeMapParams::OpenConfiguration(plain.mMap, mParams);
        FAIL();
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Device::OpenConfiguration: Failed to get root node");
    }
    EXPECT_EQ(mParams.GetParams().size(), 4u);
}

TEST_F(NodeMapParamsTest, WritesInOrderOnlyWhatDiffersAndSkipsRefusedValues)
{
    NodeMapParams::OpenConfiguration(mMap.mMap, mParams);
    As<Param<int>>("OffsetX").mValue = 32;
    As<Param<int>>("Width").mValue = 1200;
    As<Param<int>>("Height").mValue = 5000;
    As<ParamEnum>("GainAuto").mValue = "Far";
    As<Param<double>>("GainAbs").mValue = 12.25;
    As<ParamEnum>("TriggerSource").mValue = "Software";
    As<Param<std::string>>("UserName").mValue = "top";
    As<Param<bool>>("Reverse").mValue = true;
    As<Param<int>>("LogLevel").mValue = 4;
    mParams.GetParam("TriggerSource")->mEnabled = false;
    mLog.Clear();
    const int writesBefore = mMap.mPort.mWrites;

    NodeMapParams::ApplyConfiguration(mMap.mMap, mParams);
    EXPECT_EQ(Get(0x108), 32);
    // OffsetX went first and narrowed nothing here; Width was accepted.
    EXPECT_EQ(Get(0x100), 1200);
    EXPECT_GE(mLog.FindContaining("Set parameter: Width=1200"), mLog.FindContaining("Set parameter: OffsetX=32"));
    // Refused by the camera: skipped, and the pass went on.
    EXPECT_GE(mLog.FindContaining("Device::ApplyConfiguration: WARNING: Skipped 'Height'='5000' refused by the camera: "),
              0);
    EXPECT_EQ(Get(0x104), 480);
    EXPECT_EQ(Get(0x200, 8), 0x100000002LL);
    EXPECT_EQ(Get(0x110), 1);
    EXPECT_EQ(Get(0x11C), 0);
    EXPECT_EQ(mLog.FindContaining("Set parameter: LogLevel"), -1);
    EXPECT_EQ(mLog.FindContaining("Set parameter: TriggerSource"), -1);
    EXPECT_EQ(mLog.FindContaining("Set parameter: Counter"), -1);
    // Values the camera already holds are logged but not written.
    EXPECT_TRUE(mLog.Contains("Device::ApplyParameter: INFO: Set parameter: OffsetY=0\n"));
    EXPECT_EQ(mMap.mPort.mWrites - writesBefore, 5);

    NodeMapParams::UpdateConfiguration(mMap.mMap, mParams);
    EXPECT_EQ(As<Param<int>>("Height").mValue, 480);
    EXPECT_TRUE(As<Param<int>>("Height").mEnabled);
    EXPECT_TRUE(mParams.GetParam("TriggerSource")->mEnabled);
    EXPECT_EQ(As<ParamEnum>("TriggerSource").mValue, "Line1");
    EXPECT_FALSE(As<Param<int>>("Counter").mEnabled);
    EXPECT_EQ(As<Param<double>>("GainAbs").mValue, 12.25);
}

TEST_F(NodeMapParamsTest, ReadOnlyAndMissingNodesAreReportedOnWritingAndReading)
{
    NodeMapParams::OpenConfiguration(mMap.mMap, mParams);
    mParams.Add(std::make_unique<Param<int>>("A", "Ghost", 1, 0, 2, 0));
    mParams.GetParam("Temperature")->mEnabled = true;
    NodeMapParams::ApplyConfiguration(mMap.mMap, mParams);
    EXPECT_TRUE(mLog.Contains("Device::ApplyParameter: Skipped 'Temperature' read-only parameter\n"));
    EXPECT_TRUE(mLog.Contains("Device::ApplyParameter: There is no 'Ghost' node\n"));

    NodeMapParams::UpdateConfiguration(mMap.mMap, mParams);
    EXPECT_TRUE(mLog.Contains("Device::UpdateParameter: WARNING: ignoring since there is no 'Ghost' node\n"));
    EXPECT_EQ(As<Param<int>>("Temperature").mValue, 41);
    EXPECT_FALSE(As<Param<int>>("Temperature").mEnabled);
    NodeMapParams::UpdateParameter(mMap.mMap, nullptr);
    EXPECT_TRUE(mLog.Contains("Device::UpdateParameter: ERROR: param==0\n"));
}

TEST_F(NodeMapParamsTest, AValueTheCameraHoldsBeyondThirtyTwoBitsIsNeverOverwritten)
{
    NodeMapParams::OpenConfiguration(mMap.mMap, mParams);
    auto& counter = As<Param<int>>("Counter");
    // Whatever a constraint or the dialog did to the flag meanwhile.
    counter.mEnabled = true;
    NodeMapParams::ApplyConfiguration(mMap.mMap, mParams);
    EXPECT_EQ(Get(0x210, 8), 5000000000LL);

    // Once the camera holds a value that fits, the parameter is usable again.
    Set(0x210, 12, 8);
    NodeMapParams::UpdateConfiguration(mMap.mMap, mParams);
    EXPECT_EQ(counter.mValue, 12);
    EXPECT_TRUE(counter.mEnabled);
    counter.mValue = 77;
    NodeMapParams::ApplyParameter(mMap.mMap, counter);
    EXPECT_EQ(Get(0x210, 8), 77);
}

TEST_F(NodeMapParamsTest, ASingleParameterWriteReportsWhatTheCameraRefuses)
{
    NodeMapParams::OpenConfiguration(mMap.mMap, mParams);
    auto& height = As<Param<int>>("Height");
    height.mValue = 5000;
    EXPECT_THROW(NodeMapParams::ApplyParameter(mMap.mMap, height), GenICam::OutOfRangeException);
    // An enumeration value that names no entry writes 0.
    Set(0x200, 2, 8);
    auto& gainAuto = As<ParamEnum>("GainAuto");
    gainAuto.mValue = "Sometimes";
    NodeMapParams::ApplyParameter(mMap.mMap, gainAuto);
    EXPECT_EQ(Get(0x200, 8), 0);
}

}
