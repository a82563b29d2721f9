// Value nodes: verified writes and the exception each refusal raises,
// indexed values, copies, booleans, commands and texts of values.
#include <cmath>

#include "TestSupport.h"

using namespace GenApi;

TEST(Values, VerifiedWritesRefuseWhatTheNodeCannotTake)
{
    TestMap map(IntReg("WidthReg", 0x10) + IntReg("MaxReg", 0x20) + R"(
        <Integer Name="Width"><pValue>WidthReg</pValue><Min>16</Min><pMax>MaxReg</pMax><Inc>4</Inc></Integer>
        <Integer Name="Counter"><Value>0</Value></Integer>
        <Float Name="Exposure"><Value>100.0</Value><Min>10.0</Min><Max>1000.5</Max><Inc>0.5</Inc><Unit>us</Unit></Float>
        <Float Name="Scaled"><pValue>WidthReg</pValue></Float>)");
    map.mPort.Set(0x20, 1024, 4, false);
    IInteger* width = map.As<IInteger>("Width");
    EXPECT_EQ(width->GetMin(), 16);
    EXPECT_EQ(width->GetMax(), 1024);
    EXPECT_EQ(width->GetInc(), 4);
    width->SetValue(640);
    EXPECT_EQ(map.mPort.Get(0x10, 4, false), 640u);
    *width = 644;
    EXPECT_EQ((*width)(), 644);
    EXPECT_THROW(width->SetValue(12), GenICam::OutOfRangeException);
    EXPECT_THROW(width->SetValue(1028), GenICam::OutOfRangeException);
    EXPECT_THROW(width->SetValue(642), GenICam::OutOfRangeException);
    EXPECT_EQ(map.mPort.Get(0x10, 4, false), 644u);
    // Without verification the value goes to the camera as it is.
    width->SetValue(642, false);
    EXPECT_EQ(map.mPort.Get(0x10, 4, false), 642u);
    // A verified read refuses what the camera holds outside the range.
    map.mPort.Set(0x10, 2000, 4, false);
    EXPECT_THROW(width->GetValue(true, true), GenICam::OutOfRangeException);
    EXPECT_EQ(width->GetValue(), 2000);

    width->FromString("0x100");
    EXPECT_EQ(width->ToString(), "256");
    EXPECT_THROW(width->FromString("wide"), GenICam::InvalidArgumentException);

    IInteger* counter = map.As<IInteger>("Counter");
    counter->SetValue(INT64_MIN);
    EXPECT_EQ(counter->GetValue(), INT64_MIN);

    IFloat* exposure = map.As<IFloat>("Exposure");
    EXPECT_TRUE(exposure->HasInc());
    EXPECT_DOUBLE_EQ(exposure->GetInc(), 0.5);
    exposure->SetValue(1000.5);
    EXPECT_DOUBLE_EQ(exposure->GetValue(), 1000.5);
    EXPECT_THROW(exposure->SetValue(9.99), GenICam::OutOfRangeException);
    EXPECT_THROW(exposure->SetValue(1e6), GenICam::OutOfRangeException);
    EXPECT_THROW(exposure->SetValue(std::nan("")), GenICam::OutOfRangeException);
    exposure->FromString("12.25");
    EXPECT_EQ(exposure->ToString(), "12.25");
    EXPECT_EQ(exposure->GetUnit(), "us");
    EXPECT_THROW(exposure->FromString("12,5"), GenICam::InvalidArgumentException);

    // A Float over an integer register writes the nearest integer.
    map.As<IFloat>("Scaled")->SetValue(99.6);
    EXPECT_EQ(map.mPort.Get(0x10, 4, false), 100u);
}

TEST(Values, IndexedValuesFollowTheirIndex)
{
    TestMap map(R"(<Integer Name="Selector"><Value>0</Value></Integer>
        <Integer Name="Gain1"><Value>100</Value></Integer>
        <Integer Name="Gain"><pIndex>Selector</pIndex><ValueIndexed Index="0">10</ValueIndexed>
          <pValueIndexed Index="1">Gain1</pValueIndexed><ValueDefault>-1</ValueDefault></Integer>
        <Integer Name="Strict"><pIndex>Selector</pIndex><ValueIndexed Index="0x0">5</ValueIndexed></Integer>
        <Float Name="Ratio"><pIndex>Selector</pIndex><ValueIndexed Index="1">0.5</ValueIndexed>
          <ValueDefault>1.5</ValueDefault></Float>)");
    IInteger* selector = map.As<IInteger>("Selector");
    IInteger* gain = map.As<IInteger>("Gain");
    EXPECT_EQ(gain->GetValue(), 10);
    gain->SetValue(11);
    selector->SetValue(1);
    EXPECT_EQ(gain->GetValue(), 100);
    gain->SetValue(101);
    EXPECT_EQ(map.As<IInteger>("Gain1")->GetValue(), 101);
    EXPECT_DOUBLE_EQ(map.As<IFloat>("Ratio")->GetValue(), 0.5);
    selector->SetValue(0);
    EXPECT_EQ(gain->GetValue(), 11);
    EXPECT_DOUBLE_EQ(map.As<IFloat>("Ratio")->GetValue(), 1.5);
    selector->SetValue(7);
    EXPECT_EQ(gain->GetValue(), -1);
    EXPECT_EQ(map.Node("Strict")->GetAccessMode(), NA);
    EXPECT_THROW(map.As<IInteger>("Strict")->GetValue(), GenICam::AccessException);
}

TEST(Values, CopiesBooleansAndCommands)
{
    TestMap map(IntReg("A", 0x10) + IntReg("B", 0x14) + IntReg("Bits", 0x18) + IntReg("Start", 0x1C) + R"(
        <Integer Name="Both"><pValue>A</pValue><pValueCopy>B</pValueCopy></Integer>
        <Boolean Name="Enable"><pValue>Bits</pValue><OnValue>3</OnValue><OffValue>2</OffValue></Boolean>
        <Boolean Name="Flag"><Value>0</Value></Boolean>
        <Command Name="AcquisitionStart"><pValue>Start</pValue><CommandValue>5</CommandValue></Command>
        <Command Name="Reset"><Value>0</Value><CommandValue>1</CommandValue></Command>)");
    map.As<IInteger>("Both")->SetValue(42);
    EXPECT_EQ(map.mPort.Get(0x10, 4, false), 42u);
    EXPECT_EQ(map.mPort.Get(0x14, 4, false), 42u);

    IBoolean* enable = map.As<IBoolean>("Enable");
    enable->SetValue(true);
    EXPECT_EQ(map.mPort.Get(0x18, 4, false), 3u);
    EXPECT_TRUE(enable->GetValue());
    enable->FromString("false");
    EXPECT_EQ(map.mPort.Get(0x18, 4, false), 2u);
    EXPECT_EQ(map.As<IValue>("Enable")->ToString(), "0");
    EXPECT_THROW(enable->FromString("maybe"), GenICam::InvalidArgumentException);
    // A register holding neither value is reported, not guessed at.
    map.mPort.Set(0x18, 7, 4, false);
    EXPECT_THROW(enable->GetValue(false, true), GenICam::OutOfRangeException);
    IBoolean* flag = map.As<IBoolean>("Flag");
    *flag = true;
    EXPECT_TRUE((*flag)());

    ICommand* start = map.As<ICommand>("AcquisitionStart");
    start->Execute();
    EXPECT_EQ(map.mPort.Get(0x1C, 4, false), 5u);
    EXPECT_FALSE(start->IsDone());
    map.mPort.Set(0x1C, 0, 4, false);
    EXPECT_TRUE(start->IsDone());
    EXPECT_THROW(map.As<IValue>("AcquisitionStart")->ToString(), GenICam::LogicalErrorException);
    map.As<ICommand>("Reset")->Execute();
    EXPECT_TRUE(map.As<ICommand>("Reset")->IsDone());
}

TEST(Values, DisplayHintsAliasesAndCommandValuesFromNodes)
{
    TestMap map(IntReg("Go", 0x10) + IntReg("Code", 0x14) + R"(
        <Float Name="Exposure"><Value>10</Value><DisplayNotation>Fixed</DisplayNotation>
          <DisplayPrecision>3</DisplayPrecision><Representation>Logarithmic</Representation></Float>
        <Integer Name="Width"><Value>8</Value><Representation>HexNumber</Representation><Unit>px</Unit>
          <pAlias>Exposure</pAlias><Visibility>Expert</Visibility><DisplayName>Image width</DisplayName></Integer>
        <Command Name="Trigger"><pValue>Go</pValue><pCommandValue>Code</pCommandValue></Command>)");
    IFloat* exposure = map.As<IFloat>("Exposure");
    EXPECT_EQ(exposure->GetDisplayNotation(), fnFixed);
    EXPECT_EQ(exposure->GetDisplayPrecision(), 3);
    EXPECT_EQ(exposure->GetRepresentation(), Logarithmic);
    EXPECT_FALSE(exposure->HasInc());
    IInteger* width = map.As<IInteger>("Width");
    EXPECT_EQ(width->GetRepresentation(), HexNumber);
    EXPECT_EQ(width->GetUnit(), "px");
    EXPECT_EQ(map.Node("Width")->GetAlias(), map.Node("Exposure"));
    EXPECT_EQ(map.Node("Width")->GetVisibility(), Expert);
    EXPECT_EQ(map.Node("Width")->GetDisplayName(), "Image width");

    map.mPort.Set(0x14, 0x55, 4, false);
    map.As<ICommand>("Trigger")->Execute();
    EXPECT_EQ(map.mPort.Get(0x10, 4, false), 0x55u);
}
