// Loading descriptions: what is skipped, what fails the load and says where,
// and descriptions that must raise rather than crash or hang when read.
#include "TestSupport.h"

using namespace GenApi;

TEST(Load, WhatIsNotModelledIsSkipped)
{
    TestMap map(R"(
        <Group Comment="outer"><Group Comment="inner">
          <Integer Name="Inside" NameSpace="Standard"><Value>3</Value><Extension><Vendor>x</Vendor></Extension>
            <VendorSpecific>ignored</VendorSpecific><DocuURL>http://example.com</DocuURL></Integer>
        </Group></Group>
        <ConfRom Name="Legacy"><Unit>0</Unit><Address>0</Address><Length>4</Length><pPort>Device</pPort></ConfRom>
        <TextDesc Name="Text1394"/><IntKey Name="Key"/><SmartFeature Name="Smart"/><AdvFeatureLock Name="Lock"/>
        <VendorNode Name="Mine"><Whatever/></VendorNode>
        <!-- a comment --><Node Name="Plain"><ToolTip>tip</ToolTip><Description>
          A description on
          several lines</Description><Visibility>Guru</Visibility></Node>)");
    INode* inside = map.Node("Inside");
    ASSERT_NE(inside, nullptr);
    EXPECT_EQ(inside->GetName(true), "Std::Inside");
    EXPECT_EQ(map.As<IInteger>("Inside")->GetValue(), 3);
    for (const char* skipped : {"Legacy", "Text1394", "Key", "Smart", "Lock", "Mine", "Bogus"}) {
        EXPECT_EQ(map.Node(skipped), nullptr) << skipped;
    }
    INode* plain = map.Node("Plain");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->GetName(), "Plain");
    EXPECT_EQ(plain->GetName(true), "Cust::Plain");
    EXPECT_EQ(plain->GetToolTip(), "tip");
    EXPECT_EQ(plain->GetDescription(), "A description on\n          several lines");
    EXPECT_EQ(plain->GetDisplayName(), "Plain");
    EXPECT_EQ(plain->GetVisibility(), Guru);
    EXPECT_EQ(dynamic_cast<IValue*>(plain), nullptr);
    EXPECT_EQ(plain->GetNodeMap(), map.mMap._Ptr);
    EXPECT_EQ(plain->GetDeviceName(), "Device");
    NodeList_t nodes;
    map.mMap._GetNodes(nodes);
    EXPECT_EQ(nodes.size(), 3u);
}

namespace {

std::string Nested(int depth)
{
    std::string groups;
    for (int i = 0; i < depth; ++i) {
        groups += "<Group>";
    }
    for (int i = 0; i < depth; ++i) {
        groups += "</Group>";
    }
    return groups;
}

} // namespace

TEST(Load, MalformedDescriptionsFailSayingWhere)
{
    const std::string good = Description("<Integer Name=\"A\"><Value>1</Value></Integer>");
    const struct {
        std::string mText;
        const char* mSays;
    } cases[] = {
        {good.substr(0, good.size() / 2), "line"},
        {"", "not well-formed"},
        {"<NotADescription/>", "RegisterDescription"},
        {Description("<Integer Name=\"A\"><pValue>Missing</pValue></Integer>"), "'Missing' is no node"},
        {Description("<Integer Name=\"A\"><Value>1</Value></Integer>\n<Float Name=\"A\"><Value>1</Value></Float>"),
         "line 5"},
        {Description("<Integer><Value>1</Value></Integer>"), "needs a Name"},
        {Description("<Integer Name=\"A\"><Value>one</Value></Integer>"), "'one' is not an integer"},
        {Description("<Integer Name=\"A\"></Integer>"), "needs a Value"},
        {Description("<Integer Name=\"A\"><Value>1</Value><ImposedAccessMode>Everyone</ImposedAccessMode></Integer>"),
         "'Everyone'"},
        {Description("<Category Name=\"C\"/><Integer Name=\"A\"><pValue>C</pValue></Integer>"), "no numeric value"},
        {Description("<IntReg Name=\"R\"><Address>0</Address><Length>4</Length><pPort>A</pPort></IntReg>"
                     "<Integer Name=\"A\"><Value>1</Value></Integer>"),
         "not a port"},
        {Description("<IntReg Name=\"R\"><Address>0</Address><Length>4</Length></IntReg>"), "pPort"},
        {Description("<Register Name=\"R\"><Address>0</Address><Length>0</Length><pPort>Device</pPort></Register>"),
         "length"},
        {Description("<Enumeration Name=\"E\"><EnumEntry Name=\"X\"/><Value>0</Value></Enumeration>"),
         "EnumEntry needs a Value"},
        {Description("<Converter Name=\"C\"><FormulaTo>FROM</FormulaTo><pValue>Missing</pValue></Converter>"),
         "'Missing'"},
        {Description("<Converter Name=\"C\"><FormulaTo>FROM</FormulaTo><FormulaFrom>TO</FormulaFrom></Converter>"),
         "needs a pValue"},
        {Description(Nested(100)),
         "groups nest"},
    };
    for (const auto& malformed : cases) {
        const std::string error = LoadError(malformed.mText);
        EXPECT_NE(error.find(malformed.mSays), std::string::npos) << "\"" << error << "\" lacks " << malformed.mSays;
    }
}

TEST(Load, EmptyOrMalformedHintsArePassedOverWithOneWarningEach)
{
    TestMap map(IntReg("Width", 0x10, 4, "<Streamable/><Visibility></Visibility><PollingTime>often</PollingTime>"
                                         "<Representation>Wide</Representation><pAlias/>") +
                IntReg("Height", 0x14, 4, "<Streamable/><Streamable>Maybe</Streamable>") + R"(
        <Float Name="Gain"><Value>1.5</Value><DisplayNotation/><DisplayPrecision>x</DisplayPrecision></Float>
        <Category Name="Root"><pFeature>Width</pFeature><pFeature/><pFeature>Gone</pFeature><pFeature>Gain</pFeature>
        </Category>)");
    IInteger* width = map.As<IInteger>("Width");
    width->SetValue(640);
    EXPECT_EQ(width->GetValue(), 640);
    EXPECT_EQ(map.mPort.Get(0x10, 4, false), 640u);
    EXPECT_EQ(width->GetNode()->GetAccessMode(), RW);
    EXPECT_FALSE(width->GetNode()->IsStreamable());
    EXPECT_EQ(width->GetNode()->GetVisibility(), Beginner);
    EXPECT_EQ(width->GetNode()->GetPollingTime(), -1);
    EXPECT_EQ(width->GetRepresentation(), PureNumber);
    EXPECT_EQ(width->GetNode()->GetAlias(), nullptr);
    EXPECT_DOUBLE_EQ(map.As<IFloat>("Gain")->GetValue(), 1.5);
    FeatureList_t features;
    map.As<ICategory>("Root")->GetFeatures(features);
    ASSERT_EQ(features.size(), 2u);
    EXPECT_EQ(features[1]->GetNode()->GetName(), "Gain");

    GenICam::gcstring_vector warnings;
    map.mMap._GetLoadWarnings(warnings);
    std::string all;
    for (const auto& warning : warnings) {
        all += warning.str() + "\n";
    }
    EXPECT_EQ(warnings.size(), 8u) << all;
    EXPECT_NE(all.find("<Streamable> of node 'Width': '' is not a value of <Streamable>; ignored (and 2 more "
                       "<Streamable> like it)\n"),
              std::string::npos)
        << all;
    EXPECT_NE(all.find("<pFeature> of node 'Root': '' is no node of the description; ignored (and 1 more "
                       "<pFeature> like it)"),
              std::string::npos)
        << all;
    for (const char* element : {"<Visibility>", "<PollingTime>", "<Representation>", "<pAlias>", "<DisplayNotation>",
                                "<DisplayPrecision>", "<pFeature>"}) {
        EXPECT_NE(all.find(element), std::string::npos) << element << "\n" << all;
    }

    // A description without such elements has none.
    TestMap clean(IntReg("Width", 0x10));
    clean.mMap._GetLoadWarnings(warnings);
    EXPECT_TRUE(warnings.empty());
}

TEST(Load, EmptyOrMalformedElementsThatChangeAValueStillFail)
{
    // Each would change a value, a range, an address, an access mode or what
    // a read returns (a cached value, a missed invalidation).
    const char* elements[] = {
        "<Cachable/>",         "<pInvalidator/>",        "<pSelected>Gone</pSelected>", "<pIsImplemented/>",
        "<pIsAvailable/>",     "<pIsLocked>Gone</pIsLocked>", "<ImposedAccessMode/>",  "<AccessMode>RX</AccessMode>",
        "<Endianess/>",        "<Sign>Both</Sign>",       "<LSB/>",                      "<MSB>high</MSB>",
        "<pAddress/>",         "<pIndex/>",
    };
    for (const char* element : elements) {
        const std::string error = LoadError(Description(IntReg("Width", 0x10, 4, element)));
        EXPECT_NE(error.find("line"), std::string::npos) << element << ": " << error;
    }
    EXPECT_NE(LoadError(Description("<Integer Name=\"A\"><Value>1</Value><Min/></Integer>")), "");
    EXPECT_NE(LoadError(Description("<Converter Name=\"C\"><FormulaTo>FROM</FormulaTo><FormulaFrom>TO</FormulaFrom>"
                                    "<pValue>Raw</pValue><Slope/></Converter>" + IntReg("Raw", 0))),
              "");
    EXPECT_NE(LoadError(Description("<Enumeration Name=\"E\"><EnumEntry Name=\"X\"><Value>1</Value>"
                                    "<IsSelfClearing/></EnumEntry><Value>1</Value></Enumeration>")),
              "");
}

TEST(Load, ReadsThatCannotEndRaiseInstead)
{
    TestMap map(R"(
        <Integer Name="Ping"><pValue>Pong</pValue></Integer>
        <Integer Name="Pong"><pValue>Ping</pValue></Integer>
        <IntSwissKnife Name="Self"><pVariable Name="S">Self</pVariable><Formula>S+1</Formula></IntSwissKnife>
        <IntSwissKnife Name="Tick"><pVariable Name="T">Tock</pVariable><Formula>T</Formula></IntSwissKnife>
        <IntSwissKnife Name="Tock"><pVariable Name="T">Tick</pVariable><Formula>T</Formula></IntSwissKnife>
        <Integer Name="Locked"><pIsLocked>LockedKnife</pIsLocked><Value>1</Value></Integer>
        <IntSwissKnife Name="LockedKnife"><pVariable Name="L">Locked</pVariable><Formula>L</Formula></IntSwissKnife>
        <String Name="TextA"><pValue>TextB</pValue></String>
        <String Name="TextB"><pValue>TextA</pValue></String>
        <Category Name="Loop"><pFeature>Loop</pFeature></Category>)");
    EXPECT_THROW(map.As<IInteger>("Ping")->GetValue(), GenICam::RuntimeException);
    EXPECT_THROW(map.As<IInteger>("Ping")->SetValue(1), GenICam::RuntimeException);
    EXPECT_THROW(map.As<IInteger>("Self")->GetValue(), GenICam::RuntimeException);
    EXPECT_THROW(map.As<IInteger>("Tick")->GetValue(), GenICam::RuntimeException);
    EXPECT_THROW(map.Node("Tick")->GetAccessMode(), GenICam::RuntimeException);
    // A lock that reads the node's own value is no cycle: values do not depend on access.
    EXPECT_EQ(map.Node("Locked")->GetAccessMode(), RO);
    EXPECT_THROW(map.As<IString>("TextA")->GetValue(), GenICam::RuntimeException);
    FeatureList_t features;
    map.As<ICategory>("Loop")->GetFeatures(features);
    EXPECT_EQ(features.size(), 1u);
    // The map is still usable after each of them.
    EXPECT_THROW(map.As<IInteger>("Ping")->GetValue(), GenICam::RuntimeException);
}

namespace {

std::string ErrorReading(IInteger* node)
{
    try {
        node->GetValue();
    } catch (const GenICam::RuntimeException& e) {
        return e.GetDescription();
    }
    return "";
}

} // namespace

TEST(Load, ADeepChainOfReferencesIsNotCalledACycle)
{
    std::string nodes = "<Integer Name=\"N0\"><Value>5</Value></Integer>\n"
                        "<Integer Name=\"Ping\"><pValue>Pong</pValue></Integer>\n"
                        "<Integer Name=\"Pong\"><pValue>Ping</pValue></Integer>\n";
    for (int i = 1; i <= 200; ++i) {
        nodes += "<Integer Name=\"N" + std::to_string(i) + "\"><pValue>N" + std::to_string(i - 1) +
                 "</pValue></Integer>\n";
    }
    TestMap map(nodes);
    EXPECT_EQ(map.As<IInteger>("N100")->GetValue(), 5);
    const std::string deep = ErrorReading(map.As<IInteger>("N200"));
    EXPECT_NE(deep.find("too deep"), std::string::npos) << deep;
    EXPECT_EQ(deep.find("cycle"), std::string::npos) << deep;
    const std::string cycle = ErrorReading(map.As<IInteger>("Ping"));
    EXPECT_NE(cycle.find("in a cycle"), std::string::npos) << cycle;
    EXPECT_EQ(map.As<IInteger>("N100")->GetValue(), 5);
}

TEST(Load, ManyReferencesToOneNodeEvaluateItOnce)
{
    // Each level refers twice to the next: evaluated naively, 2^40 reads.
    std::string nodes = IntReg("Leaf", 0x10);
    std::string previous = "Leaf";
    for (int i = 0; i < 40; ++i) {
        const std::string name = "K" + std::to_string(i);
        nodes += "<IntSwissKnife Name=\"" + name + "\"><pVariable Name=\"A\">" + previous +
                 "</pVariable><pVariable Name=\"B\">" + previous + "</pVariable><Formula>A+B</Formula></IntSwissKnife>\n";
        nodes += "<Integer Name=\"I" + std::to_string(i) + "\"><pIsAvailable>" + name + "</pIsAvailable><pValue>" +
                 name + "</pValue></Integer>\n";
        previous = name;
    }
    TestMap map(nodes);
    map.mPort.Set(0x10, 1, 4, false);
    EXPECT_EQ(map.As<IInteger>("K39")->GetValue(), int64_t{1} << 40);
    EXPECT_EQ(map.Node("I39")->GetAccessMode(), RO);
    EXPECT_EQ(map.mPort.mReads, 1);
}

TEST(Load, ATextLentIsLeftAsItWasAndATextHandedOverIsParsedWhereItLies)
{
    const GenICam::gcstring lent(Description("<Integer Name=\"A\"><Value>1</Value></Integer>"));
    const std::string before = lent.str();
    CNodeMapRef copied;
    copied._LoadXMLFromString(lent);
    EXPECT_EQ(lent.str(), before);
    EXPECT_NE(copied._GetNode("A"), nullptr);

    GenICam::gcstring handed(lent);
    CNodeMapRef adopted;
    adopted._LoadXMLFromString(std::move(handed));
    ASSERT_NE(adopted._GetNode("A"), nullptr);
    EXPECT_EQ(CIntegerPtr(adopted._GetNode("A"))->GetValue(), 1);
}

TEST(Load, ADescriptionLoadsOnceAndAFailedLoadLeavesTheMapEmpty)
{
    CNodeMapRef map;
    EXPECT_EQ(map._GetNode("A"), nullptr);
    EXPECT_FALSE(map._Connect(nullptr));
    EXPECT_NO_THROW(map._InvalidateNodes());
    EXPECT_THROW(map._LoadXMLFromString(Description("<Integer Name=\"A\"><pValue>B</pValue></Integer>")),
                 GenICam::RuntimeException);
    EXPECT_EQ(map._Ptr, nullptr);
    map._LoadXMLFromString(Description("<Integer Name=\"A\"><Value>1</Value></Integer>"));
    ASSERT_NE(map._Ptr, nullptr);
    EXPECT_THROW(map._LoadXMLFromString(Description("")), GenICam::LogicalErrorException);
    EXPECT_NE(map._GetNode("A"), nullptr);
    EXPECT_EQ(map._GetNode("a"), nullptr);
    EXPECT_EQ(map._GetNode("Nothing"), nullptr);
    MemoryPort port;
    EXPECT_TRUE(map._Connect(&port));
    EXPECT_FALSE(map._Connect(&port, "CameraPort"));
    EXPECT_FALSE(map._Connect(&port, "A"));
    EXPECT_THROW(map._LoadXMLFromFile("/no/such/file.xml"), GenICam::LogicalErrorException);
    CNodeMapRef fresh;
    EXPECT_THROW(fresh._LoadXMLFromFile("/no/such/file.xml"), GenICam::RuntimeException);
}
