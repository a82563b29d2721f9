// Texts in and out of the node map: numbers regardless of the host's locale,
// descriptions in other encodings, text split by comments, and long or empty
// registers of text.
#include <clocale>
#include <string>

#include "TestSupport.h"

using namespace GenApi;

namespace {

// The description as UTF-16 little-endian with its byte order mark.
std::string Utf16(const std::string& utf8)
{
    std::string wide = "\xFF\xFE";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        unsigned code = c;
        if (c >= 0xC0 && i + 1 < utf8.size()) {
            code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3Fu);
        }
        wide += static_cast<char>(code & 0xFF);
        wide += static_cast<char>(code >> 8);
    }
    return wide;
}

} // namespace

TEST(Texts, NumbersIgnoreTheHostLocale)
{
    // A host that runs with a decimal comma must still read and write points.
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "German_Germany.1252");
    TestMap map(R"(<Float Name="Gain"><Value>0.5</Value><Min>-1.25</Min><Max>1e2</Max></Float>
        <SwissKnife Name="Half"><pVariable Name="G">Gain</pVariable><Formula>G*0.5</Formula></SwissKnife>)");
    IFloat* gain = map.As<IFloat>("Gain");
    EXPECT_DOUBLE_EQ(gain->GetValue(), 0.5);
    EXPECT_DOUBLE_EQ(gain->GetMin(), -1.25);
    EXPECT_EQ(gain->ToString(), "0.5");
    gain->FromString("2.75");
    EXPECT_DOUBLE_EQ(map.As<IFloat>("Half")->GetValue(), 1.375);
    EXPECT_EQ(map.As<IValue>("Half")->ToString(), "1.375");
    std::setlocale(LC_ALL, "C");
    if (!german) {
        GTEST_SKIP() << "no German locale here; checked with the C locale only";
    }
}

TEST(Texts, IntegersAcceptSignsHexadecimalAndTheFullRange)
{
    TestMap map("<Integer Name=\"Value\"><Value>-0x10</Value></Integer>");
    IInteger* value = map.As<IInteger>("Value");
    EXPECT_EQ(value->GetValue(), -16);
    const struct {
        const char* mText;
        int64_t mValue;
    } accepted[] = {{"+5", 5},
                    {" 42 ", 42},
                    {"0xFFFFFFFFFFFFFFFF", -1},
                    {"9223372036854775807", INT64_MAX},
                    {"-9223372036854775808", INT64_MIN}};
    for (const auto& text : accepted) {
        value->FromString(text.mText);
        EXPECT_EQ(value->GetValue(), text.mValue) << text.mText;
    }
    for (const char* text : {"9223372036854775808", "1e3", "0x", "", "12abc", "0x1FFFFFFFFFFFFFFFF", "--1"}) {
        EXPECT_THROW(value->FromString(text), GenICam::InvalidArgumentException) << text;
    }
}

TEST(Texts, DescriptionsInUtf16AreReadAsUtf8)
{
    const std::string description = Description(
        "<Float Name=\"Exposure\"><ToolTip>Belichtung in \xC2\xB5s</ToolTip><Value>1.5</Value><Unit>\xC2\xB5s</Unit>"
        "</Float>");
    CNodeMapRef map;
    map._LoadXMLFromString(gcstring(Utf16(description)));
    CFloatPtr exposure = map._GetNode("Exposure");
    ASSERT_TRUE(exposure.IsValid());
    EXPECT_DOUBLE_EQ(exposure->GetValue(), 1.5);
    EXPECT_EQ(exposure->GetUnit(), "\xC2\xB5s");
    EXPECT_EQ(exposure->GetNode()->GetToolTip(), "Belichtung in \xC2\xB5s");
}

TEST(Texts, TextSplitByCommentsAndCdataIsOneText)
{
    TestMap map(R"(<Integer Name="A"><Value>7</Value></Integer>
        <IntSwissKnife Name="K"><pVariable Name="A">A</pVariable>
          <Formula>A <!-- times -->*<![CDATA[ (A<8 && A>6) ]]>+1</Formula></IntSwissKnife>
        <Node Name="N"><Description>first <!-- x --> second</Description></Node>)");
    EXPECT_EQ(map.As<IInteger>("K")->GetValue(), 8);
    EXPECT_EQ(map.Node("N")->GetDescription(), "first  second");
}

TEST(Texts, RegisterLengthsFromTheCamera)
{
    TestMap map(IntReg("Size", 0x10) + R"(
        <StringReg Name="Text"><Address>0x100</Address><pLength>Size</pLength><AccessMode>RW</AccessMode>
          <pPort>Device</pPort></StringReg>
        <IntReg Name="Number"><Address>0x200</Address><pLength>Size</pLength><AccessMode>RO</AccessMode>
          <pPort>Device</pPort></IntReg>)");
    IString* text = map.As<IString>("Text");
    // A length of 0 is an empty register, read without asking the camera.
    EXPECT_EQ(text->GetValue(), "");
    EXPECT_EQ(text->GetMaxLength(), 0);
    EXPECT_THROW(text->SetValue("x"), GenICam::OutOfRangeException);
    EXPECT_THROW(map.As<IInteger>("Number")->GetValue(), GenICam::RuntimeException);
    map.As<IInteger>("Size")->SetValue(4);
    map.mPort.SetBytes(0x100, {'a', 'b', 'c', 'd', 'e'});
    EXPECT_EQ(text->GetValue(), "abcd");
    EXPECT_EQ(map.As<IInteger>("Number")->GetValue(), 0);
    // A length no register can have is refused before anything is read.
    map.As<IInteger>("Size")->SetValue(0x7FFFFFFF);
    const int reads = map.mPort.mReads;
    EXPECT_THROW(text->GetValue(), GenICam::RuntimeException);
    EXPECT_THROW(map.As<IInteger>("Number")->GetValue(), GenICam::RuntimeException);
    EXPECT_EQ(map.mPort.mReads, reads);
}
