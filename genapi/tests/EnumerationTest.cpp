// Enumerations: their entries, each entry's own availability, and what a
// write of an unknown or unavailable value raises.
#include "TestSupport.h"

using namespace GenApi;

namespace {

const char* kModes = R"(
<Integer Name="Yes"><Value>1</Value></Integer>
<Integer Name="No"><Value>0</Value></Integer>
<Enumeration Name="TriggerMode">
  <EnumEntry Name="Off"><Value>0</Value></EnumEntry>
  <EnumEntry Name="On"><Value>1</Value><pIsAvailable>No</pIsAvailable></EnumEntry>
  <EnumEntry Name="Hidden"><Value>2</Value><pIsImplemented>No</pIsImplemented></EnumEntry>
  <EnumEntry Name="Auto"><Value>5</Value><pIsImplemented>Yes</pIsImplemented><NumericValue>0.5</NumericValue></EnumEntry>
  <pValue>ModeReg</pValue>
</Enumeration>
)";

} // namespace

TEST(Enumerations, EntriesAreTheImplementedOnesInDescriptionOrder)
{
    TestMap map(std::string(kModes) + IntReg("ModeReg", 0x10));
    IEnumeration* mode = map.As<IEnumeration>("TriggerMode");
    EXPECT_NE(dynamic_cast<IValue*>(mode), nullptr);
    EXPECT_EQ(dynamic_cast<IInteger*>(mode), nullptr);

    NodeList_t entries;
    mode->GetEntries(entries);
    ASSERT_EQ(entries.size(), 3u);
    const char* names[] = {"Off", "On", "Auto"};
    const int64_t values[] = {0, 1, 5};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        CEnumEntryPtr entry(entries[i]);
        ASSERT_TRUE(entry.IsValid());
        EXPECT_EQ(entry->GetSymbolic(), names[i]);
        EXPECT_EQ(entry->GetValue(), values[i]);
        EXPECT_EQ(entries[i]->GetName(), std::string("EnumEntry_TriggerMode_") + names[i]);
    }
    EXPECT_EQ(entries[1]->GetAccessMode(), NA);
    EXPECT_DOUBLE_EQ(mode->GetEntryByName("Auto")->GetNumericValue(), 0.5);
    EXPECT_EQ(map.Node("EnumEntry_TriggerMode_Hidden")->GetAccessMode(), NI);

    StringList_t symbolics;
    mode->GetSymbolics(symbolics);
    EXPECT_EQ(symbolics, (StringList_t{"Off", "Auto"}));
    EXPECT_EQ(mode->GetEntry(5), mode->GetEntryByName("Auto"));
    EXPECT_EQ(mode->GetEntryByName("Bogus"), nullptr);
    EXPECT_EQ(mode->GetEntry(9), nullptr);
}

TEST(Enumerations, ValuesReadAndWrittenThroughTheirRegister)
{
    TestMap map(std::string(kModes) + IntReg("ModeReg", 0x10));
    IEnumeration* mode = map.As<IEnumeration>("TriggerMode");
    map.mPort.Set(0x10, 5, 4, false);
    EXPECT_EQ(mode->GetIntValue(), 5);
    EXPECT_EQ(mode->ToString(), "Auto");
    EXPECT_EQ(mode->GetCurrentEntry()->GetSymbolic(), "Auto");

    mode->FromString("Off");
    EXPECT_EQ(map.mPort.Get(0x10, 4, false), 0u);
    *mode = "Auto";
    EXPECT_EQ(**mode, "Auto");

    // An entry the camera does not offer now is an access refusal; a value no
    // implemented entry has is out of range, and the register keeps its value.
    EXPECT_THROW(mode->SetIntValue(1), GenICam::AccessException);
    EXPECT_THROW(mode->FromString("On"), GenICam::AccessException);
    EXPECT_THROW(mode->SetIntValue(2), GenICam::OutOfRangeException);
    EXPECT_THROW(mode->SetIntValue(3), GenICam::OutOfRangeException);
    EXPECT_THROW(mode->SetIntValue(3, false), GenICam::OutOfRangeException);
    EXPECT_THROW(mode->FromString("Bogus"), GenICam::InvalidArgumentException);
    EXPECT_EQ(map.mPort.Get(0x10, 4, false), 5u);

    // A camera value that no entry has is reported as such.
    map.mPort.Set(0x10, 9, 4, false);
    map.mMap._InvalidateNodes();
    EXPECT_EQ(mode->GetIntValue(), 9);
    EXPECT_THROW(mode->ToString(), GenICam::AccessException);
    EXPECT_THROW(mode->GetIntValue(true), GenICam::OutOfRangeException);

    // Making an entry available lets it be written.
    map.As<IInteger>("No")->SetValue(1);
    mode->SetIntValue(1);
    EXPECT_EQ(map.mPort.Get(0x10, 4, false), 1u);
    NodeList_t entries;
    mode->GetEntries(entries);
    EXPECT_EQ(entries.size(), 4u);
}

TEST(Enumerations, ALiteralValueAndSelectedFeatures)
{
    TestMap map(R"(<Enumeration Name="Selector"><EnumEntry Name="A"><Value>10</Value></EnumEntry>
          <EnumEntry Name="B"><Value>20</Value></EnumEntry><Value>10</Value><pSelected>Gain</pSelected></Enumeration>
        <IntReg Name="Gain"><Address>0x100</Address><pIndex Offset="4">Selector</pIndex><Length>4</Length>
          <AccessMode>RO</AccessMode><pPort>Device</pPort></IntReg>)");
    map.mPort.Set(0x100 + 40, 1, 4, false);
    map.mPort.Set(0x100 + 80, 2, 4, false);
    EXPECT_EQ(map.As<IInteger>("Gain")->GetValue(), 1);
    map.As<IEnumeration>("Selector")->FromString("B");
    EXPECT_EQ(map.As<IInteger>("Gain")->GetValue(), 2);
    EXPECT_EQ(map.Node("Selector")->GetAccessMode(), RW);
}
