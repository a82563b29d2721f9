// The interface the driver codes against: text, exceptions, pointers and
// the interfaces each kind of node offers.
#include <sstream>
#include <string>

#include "TestSupport.h"

using namespace GenApi;

TEST(Api, GcstringConvertsAndCompares)
{
    const gcstring name("Width");
    const std::string copied = name;
    const std::string direct(name);
    EXPECT_EQ(copied, "Width");
    EXPECT_EQ(direct, "Width");
    EXPECT_STREQ(name.c_str(), "Width");
    EXPECT_TRUE(name == "Width");
    EXPECT_TRUE("Width" == name);
    EXPECT_TRUE(name == std::string("Width"));
    EXPECT_TRUE(name != gcstring("Height"));
    EXPECT_TRUE(gcstring("A") < gcstring("B"));
    EXPECT_EQ(name + "Max", "WidthMax");
    EXPECT_EQ("Max" + name, "MaxWidth");
    EXPECT_EQ(name.length(), 5u);
    EXPECT_TRUE(gcstring().empty());
    EXPECT_TRUE(gcstring(static_cast<const char*>(nullptr)).empty());
    std::ostringstream out;
    out << name;
    EXPECT_EQ(out.str(), "Width");
}

TEST(Api, ExceptionsCarryTextAndPlace)
{
    try {
        throw ACCESS_EXCEPTION("Failure reading device data");
    } catch (const std::exception& e) {
        const auto* generic = dynamic_cast<const GenICam::GenericException*>(&e);
        ASSERT_NE(generic, nullptr);
        EXPECT_NE(dynamic_cast<const GenICam::AccessException*>(&e), nullptr);
        EXPECT_STREQ(generic->GetDescription(), "Failure reading device data");
        EXPECT_STREQ(generic->GetSourceFileName(), "ApiTest.cpp");
        const std::string expected = "Failure reading device data : AccessException thrown (file 'ApiTest.cpp', line " +
                                     std::to_string(generic->GetSourceLine()) + ")";
        EXPECT_EQ(std::string(e.what()), expected);
    }
    const GenICam::OutOfRangeException range = OUT_OF_RANGE_EXCEPTION("value %d of %s", 5, "Width");
    EXPECT_STREQ(range.GetDescription(), "value 5 of Width");
    EXPECT_NE(std::string(range.what()).find("OutOfRangeException thrown"), std::string::npos);
    EXPECT_THROW(throw TIMEOUT_EXCEPTION("late"), GenICam::TimeoutException);
    EXPECT_THROW(throw BAD_ALLOC_EXCEPTION("full"), GenICam::BadAllocException);
    EXPECT_THROW(throw PROPERTY_EXCEPTION("odd"), GenICam::PropertyException);
    EXPECT_THROW(throw INVALID_ARGUMENT_EXCEPTION("bad"), GenICam::InvalidArgumentException);
    EXPECT_THROW(throw RUNTIME_EXCEPTION("run"), GenICam::GenericException);
    EXPECT_THROW(throw GENERIC_EXCEPTION("any"), std::exception);
    // A description that itself holds a percent sign is passed as an argument.
    EXPECT_STREQ(LOGICAL_ERROR_EXCEPTION("%s", "100%").GetDescription(), "100%");
}

TEST(Api, EachNodeKindOffersItsInterfaces)
{
    TestMap map(IntReg("Reg", 0x10) + R"(
        <MaskedIntReg Name="Masked"><Address>0</Address><Length>4</Length><AccessMode>RW</AccessMode>
          <pPort>Device</pPort><Bit>3</Bit></MaskedIntReg>
        <StringReg Name="Text"><Address>0x20</Address><Length>8</Length><AccessMode>RO</AccessMode>
          <pPort>Device</pPort></StringReg>
        <Enumeration Name="Enum"><EnumEntry Name="A"><Value>0</Value></EnumEntry><Value>0</Value></Enumeration>
        <IntSwissKnife Name="IntKnife"><Formula>1</Formula></IntSwissKnife>
        <SwissKnife Name="Knife"><Formula>0.5</Formula></SwissKnife>
        <Converter Name="Conv"><FormulaTo>FROM</FormulaTo><FormulaFrom>TO</FormulaFrom><pValue>Reg</pValue></Converter>
        <IntConverter Name="IntConv"><FormulaTo>FROM</FormulaTo><FormulaFrom>TO</FormulaFrom><pValue>Reg</pValue></IntConverter>
        <Category Name="Root"><pFeature>Masked</pFeature><pFeature>Device</pFeature><pFeature>Enum</pFeature></Category>)");
    EXPECT_NE(map.As<IInteger>("Masked"), nullptr);
    EXPECT_NE(map.As<IRegister>("Reg"), nullptr);
    EXPECT_NE(map.As<IString>("Text"), nullptr);
    EXPECT_NE(map.As<IRegister>("Text"), nullptr);
    EXPECT_NE(map.As<IEnumeration>("Enum"), nullptr);
    EXPECT_NE(map.As<IValue>("Enum"), nullptr);
    EXPECT_EQ(dynamic_cast<IInteger*>(map.Node("Enum")), nullptr);
    EXPECT_NE(map.As<IEnumEntry>("EnumEntry_Enum_A"), nullptr);
    EXPECT_NE(map.As<IInteger>("IntKnife"), nullptr);
    EXPECT_EQ(map.Node("IntKnife")->GetAccessMode(), RO);
    EXPECT_THROW(map.As<IInteger>("IntKnife")->SetValue(2), GenICam::AccessException);
    EXPECT_NE(map.As<IFloat>("Knife"), nullptr);
    EXPECT_NE(map.As<IFloat>("Conv"), nullptr);
    EXPECT_NE(map.As<IInteger>("IntConv"), nullptr);
    EXPECT_NE(map.As<IPort>("Device"), nullptr);
    EXPECT_EQ(map.Node("Masked")->GetPrincipalInterfaceType(), intfIInteger);
    EXPECT_EQ(map.Node("Enum")->GetPrincipalInterfaceType(), intfIEnumeration);
    EXPECT_EQ(map.As<IValue>("Masked")->GetNode(), map.Node("Masked"));

    ICategory* root = map.As<ICategory>("Root");
    FeatureList_t features;
    root->GetFeatures(features);
    ASSERT_EQ(features.size(), 2u);
    EXPECT_EQ(features[0]->GetNode()->GetName(), "Masked");
    EXPECT_EQ(features[1]->GetNode()->GetName(), "Enum");
    EXPECT_THROW(map.As<IValue>("Root")->ToString(), GenICam::LogicalErrorException);
}

TEST(Api, PointersTypeNodesAndRefuseNull)
{
    TestMap map(IntReg("Reg", 0x10) + "<Command Name=\"Go\"><pValue>Reg</pValue></Command>");
    CIntegerPtr integer = map.Node("Reg");
    CCommandPtr notACommand = map.Node("Reg");
    CCommandPtr missing = map.Node("AcquisitionStart");
    CCommandPtr command(map.Node("Go"));
    CRegisterPtr fromInteger(integer);
    CValuePtr value(map.Node("Reg"));
    CNodePtr node = static_cast<IValue*>(value)->GetNode();
    EXPECT_TRUE(integer.IsValid());
    EXPECT_TRUE(static_cast<bool>(command));
    EXPECT_FALSE(notACommand);
    EXPECT_TRUE(fromInteger.IsValid());
    EXPECT_EQ(node->GetName(), "Reg");
    integer->SetValue(3);
    command->Execute();
    EXPECT_EQ(integer->GetValue(), 1);
    try {
        missing->Execute();
        FAIL() << "no exception";
    } catch (const GenICam::LogicalErrorException& e) {
        EXPECT_STREQ(e.GetDescription(), "NULL pointer dereferenced");
    }
    EXPECT_FALSE(IsReadable(missing));
}

TEST(Api, CopiesOfAMapReferenceShareTheMap)
{
    CNodeMapRef original("Camera7");
    original._LoadXMLFromString(Description("<Integer Name=\"A\"><Value>1</Value></Integer>"));
    CNodeMapRef copy(original);
    CIntegerPtr(copy._GetNode("A"))->SetValue(5);
    EXPECT_EQ(CIntegerPtr(original._GetNode("A"))->GetValue(), 5);
    EXPECT_EQ(copy._GetDeviceName(), "Camera7");
    EXPECT_EQ(static_cast<INodeMap*>(copy)->GetDeviceName(), "Camera7");
    EXPECT_EQ(static_cast<INodeMap*>(copy), original._Ptr);
}
