// Integers, floats, texts and raw bytes in registers: byte orders, bit
// fields in both bit numberings, signs, and where a register lies.
#include <cstring>

#include "TestSupport.h"

using namespace GenApi;

namespace {

std::string Reg(const char* kind, const char* name, int address, int length, const char* endianess,
                const char* sign, const char* extra = "")
{
    return std::string("<") + kind + " Name=\"" + name + "\"><Address>" + std::to_string(address) +
           "</Address><Length>" + std::to_string(length) +
           "</Length><AccessMode>RW</AccessMode><pPort>Device</pPort><Sign>" + sign + "</Sign><Endianess>" +
           endianess + "</Endianess>" + extra + "</" + kind + ">\n";
}

} // namespace

TEST(Registers, IntegersOfOneToEightBytesInBothByteOrders)
{
    const std::vector<uint8_t> bytes = {0x81, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x88};
    for (int length = 1; length <= 8; ++length) {
        std::string nodes;
        nodes += Reg("IntReg", "LU", 0x100, length, "LittleEndian", "Unsigned");
        nodes += Reg("IntReg", "LS", 0x100, length, "LittleEndian", "Signed");
        nodes += Reg("IntReg", "BU", 0x100, length, "BigEndian", "Unsigned");
        nodes += Reg("IntReg", "BS", 0x100, length, "BigEndian", "Signed");
        TestMap map(nodes);
        map.mPort.SetBytes(0x100, bytes);
        uint64_t little = 0;
        uint64_t big = 0;
        for (int i = 0; i < length; ++i) {
            little |= static_cast<uint64_t>(bytes[static_cast<std::size_t>(i)]) << (8 * i);
            big = (big << 8) | bytes[static_cast<std::size_t>(i)];
        }
        const int shift = 64 - 8 * length;
        const auto extend = [shift](uint64_t value) {
            return static_cast<int64_t>(value << shift) >> shift;
        };
        SCOPED_TRACE(length);
        EXPECT_EQ(map.As<IInteger>("LU")->GetValue(), static_cast<int64_t>(little));
        EXPECT_EQ(map.As<IInteger>("BU")->GetValue(), static_cast<int64_t>(big));
        EXPECT_EQ(map.As<IInteger>("LS")->GetValue(), extend(little));
        EXPECT_EQ(map.As<IInteger>("BS")->GetValue(), extend(big));
        EXPECT_EQ(map.As<IInteger>("LU")->GetMin(), 0);
        EXPECT_EQ(map.As<IInteger>("BS")->GetMin(), length == 8 ? INT64_MIN : -(int64_t{1} << (8 * length - 1)));
        EXPECT_EQ(map.As<IInteger>("BS")->GetMax(), length == 8 ? INT64_MAX : (int64_t{1} << (8 * length - 1)) - 1);

        map.As<IInteger>("BS")->SetValue(-2);
        const uint64_t mask = length == 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * length)) - 1;
        EXPECT_EQ(map.mPort.Get(0x100, length, true), (~uint64_t{0} - 1) & mask);
        EXPECT_EQ(map.As<IInteger>("LS")->GetValue(true, true), extend(map.mPort.Get(0x100, length, false)));
    }
    TestMap map(Reg("IntReg", "BE", 0x10, 4, "BigEndian", "Unsigned") +
                Reg("IntReg", "LE", 0x20, 4, "LittleEndian", "Unsigned"));
    map.As<IInteger>("BE")->SetValue(0x12345678);
    map.As<IInteger>("LE")->SetValue(0x12345678);
    EXPECT_EQ(map.mPort.Bytes(0x10, 4), (std::vector<uint8_t>{0x12, 0x34, 0x56, 0x78}));
    EXPECT_EQ(map.mPort.Bytes(0x20, 4), (std::vector<uint8_t>{0x78, 0x56, 0x34, 0x12}));
    EXPECT_THROW(map.As<IInteger>("BE")->SetValue(int64_t{1} << 32), GenICam::OutOfRangeException);
    EXPECT_THROW(map.As<IInteger>("BE")->SetValue(-1), GenICam::OutOfRangeException);
}

TEST(Registers, BitFieldsCountFromTheLeastSignificantBitOfLittleAndTheMostOfBigEndianRegisters)
{
    TestMap map(Reg("MaskedIntReg", "LNibble", 0x10, 4, "LittleEndian", "Unsigned", "<LSB>4</LSB><MSB>7</MSB>") +
                Reg("MaskedIntReg", "LBit0", 0x10, 4, "LittleEndian", "Unsigned", "<Bit>0</Bit>") +
                Reg("MaskedIntReg", "LSigned", 0x10, 4, "LittleEndian", "Signed", "<LSB>4</LSB><MSB>7</MSB>") +
                Reg("MaskedIntReg", "BNibble", 0x20, 4, "BigEndian", "Unsigned", "<LSB>31</LSB><MSB>28</MSB>") +
                Reg("MaskedIntReg", "BBit0", 0x20, 4, "BigEndian", "Unsigned", "<Bit>0</Bit>") +
                Reg("MaskedIntReg", "BHigh", 0x20, 4, "BigEndian", "Unsigned", "<LSB>7</LSB><MSB>0</MSB>") +
                Reg("MaskedIntReg", "BSwapped", 0x20, 4, "BigEndian", "Unsigned", "<LSB>0</LSB><MSB>7</MSB>"));
    map.mPort.Set(0x10, 0x000000F1, 4, false);
    map.mPort.Set(0x20, 0x8A0000A5, 4, true);
    EXPECT_EQ(map.As<IInteger>("LNibble")->GetValue(), 0xF);
    EXPECT_EQ(map.As<IInteger>("LBit0")->GetValue(), 1);
    EXPECT_EQ(map.As<IInteger>("LSigned")->GetValue(), -1);
    EXPECT_EQ(map.As<IInteger>("LSigned")->GetMin(), -8);
    EXPECT_EQ(map.As<IInteger>("LSigned")->GetMax(), 7);
    EXPECT_EQ(map.As<IInteger>("BNibble")->GetValue(), 0x5);
    EXPECT_EQ(map.As<IInteger>("BBit0")->GetValue(), 1);
    EXPECT_EQ(map.As<IInteger>("BHigh")->GetValue(), 0x8A);
    EXPECT_EQ(map.As<IInteger>("BSwapped")->GetValue(), 0x8A);
    EXPECT_EQ(map.As<IInteger>("BNibble")->GetMax(), 15);

    // Writing a field keeps the bits around it.
    map.As<IInteger>("LNibble")->SetValue(0x3);
    EXPECT_EQ(map.mPort.Get(0x10, 4, false), 0x00000031u);
    map.As<IInteger>("BBit0")->SetValue(0);
    EXPECT_EQ(map.mPort.Get(0x20, 4, true), 0x0A0000A5u);
    map.As<IInteger>("LSigned")->SetValue(-8);
    EXPECT_EQ(map.mPort.Get(0x10, 4, false), 0x00000081u);
    EXPECT_THROW(map.As<IInteger>("BNibble")->SetValue(16), GenICam::OutOfRangeException);
    EXPECT_THROW(map.As<IInteger>("LSigned")->SetValue(8), GenICam::OutOfRangeException);

    EXPECT_NE(LoadError(Description(Reg("MaskedIntReg", "Out", 0x10, 2, "LittleEndian", "Unsigned", "<Bit>16</Bit>"))), "");
    EXPECT_NE(LoadError(Description(Reg("MaskedIntReg", "None", 0x10, 2, "LittleEndian", "Unsigned"))), "");
    EXPECT_NE(LoadError(Description(Reg("IntReg", "Long", 0x10, 9, "LittleEndian", "Unsigned"))), "");
}

TEST(Registers, StructEntriesShareTheRegisterAndItsCache)
{
    TestMap map(R"(<StructReg Comment="Status"><Address>0x40</Address><Length>4</Length><AccessMode>RW</AccessMode>
        <pPort>Device</pPort><Endianess>BigEndian</Endianess>
        <StructEntry Name="Present"><Bit>0</Bit></StructEntry>
        <StructEntry Name="Level"><LSB>31</LSB><MSB>24</MSB></StructEntry>
        <StructEntry Name="Mode"><LSB>11</LSB><MSB>8</MSB><AccessMode>RO</AccessMode></StructEntry>
        </StructReg>
        <Integer Name="LevelFeature"><pValue>Level</pValue></Integer>
        <Integer Name="PresentFeature"><pValue>Present</pValue></Integer>
        <IntReg Name="Watcher"><Address>0x80</Address><Length>4</Length><AccessMode>RO</AccessMode>
          <pPort>Device</pPort><pInvalidator>PresentFeature</pInvalidator></IntReg>)");
    map.mPort.Set(0x40, 0x80500011, 4, true);
    EXPECT_EQ(map.As<IInteger>("Present")->GetValue(), 1);
    EXPECT_EQ(map.As<IInteger>("Level")->GetValue(), 0x11);
    EXPECT_EQ(map.As<IInteger>("Mode")->GetValue(), 5);
    EXPECT_EQ(map.mPort.mReads, 1);
    EXPECT_EQ(map.Node("Mode")->GetAccessMode(), RO);

    map.As<IInteger>("Watcher")->GetValue();
    const int reads = map.mPort.mReads;
    map.As<IInteger>("Level")->SetValue(0x22);
    EXPECT_EQ(map.mPort.Get(0x40, 4, true), 0x80500022u);
    EXPECT_EQ(map.As<IInteger>("Present")->GetValue(), 1);
    EXPECT_EQ(map.As<IInteger>("LevelFeature")->GetValue(), 0x22);
    EXPECT_EQ(map.mPort.mReads, reads);
    // Writing one entry changes the register the others stand for, and what depends on them.
    map.As<IInteger>("Watcher")->GetValue();
    EXPECT_EQ(map.mPort.mReads, reads + 1);
}

TEST(Registers, FloatsTextsAndRawBytes)
{
    TestMap map(R"(<FloatReg Name="Single"><Address>0x10</Address><Length>4</Length><AccessMode>RW</AccessMode>
          <pPort>Device</pPort><Endianess>BigEndian</Endianess><Unit>dB</Unit></FloatReg>
        <FloatReg Name="Double"><Address>0x20</Address><Length>8</Length><AccessMode>RW</AccessMode>
          <pPort>Device</pPort><Endianess>LittleEndian</Endianess></FloatReg>
        <StringReg Name="Text"><Address>0x40</Address><Length>8</Length><AccessMode>RW</AccessMode>
          <pPort>Device</pPort></StringReg>
        <Register Name="Raw"><Address>0x60</Address><Length>3</Length><AccessMode>RW</AccessMode>
          <pPort>Device</pPort></Register>
        <String Name="Label"><Value>fixed</Value></String>
        <String Name="Alias"><pValue>Text</pValue></String>)");
    map.mPort.SetBytes(0x10, {0x3F, 0xC0, 0x00, 0x00});
    IFloat* single = map.As<IFloat>("Single");
    EXPECT_DOUBLE_EQ(single->GetValue(), 1.5);
    EXPECT_EQ(single->GetUnit(), "dB");
    single->SetValue(-2.0);
    EXPECT_EQ(map.mPort.Bytes(0x10, 4), (std::vector<uint8_t>{0xC0, 0x00, 0x00, 0x00}));
    EXPECT_THROW(single->SetValue(1e300), GenICam::OutOfRangeException);
    IFloat* wide = map.As<IFloat>("Double");
    wide->SetValue(2.25);
    EXPECT_EQ(map.mPort.Bytes(0x20, 8), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0x02, 0x40}));
    EXPECT_DOUBLE_EQ(wide->GetValue(false, true), 2.25);

    IString* text = map.As<IString>("Text");
    EXPECT_NE(dynamic_cast<IRegister*>(text), nullptr);
    map.mPort.SetBytes(0x40, {'a', 'b', 'c', 0, 'x', 'y', 'z', 'w'});
    EXPECT_EQ(text->GetValue(), "abc");
    EXPECT_EQ(text->GetMaxLength(), 8);
    text->SetValue("12345678");
    EXPECT_EQ(text->GetValue(false, true), "12345678");
    text->SetValue("hi");
    EXPECT_EQ(map.mPort.Bytes(0x40, 8), (std::vector<uint8_t>{'h', 'i', 0, 0, 0, 0, 0, 0}));
    EXPECT_THROW(text->SetValue("123456789"), GenICam::OutOfRangeException);
    EXPECT_EQ(map.mPort.Bytes(0x40, 3), (std::vector<uint8_t>{'h', 'i', 0}));
    EXPECT_EQ(map.As<IString>("Alias")->GetValue(), "hi");
    map.As<IString>("Alias")->SetValue("via");
    EXPECT_EQ(text->GetValue(), "via");
    EXPECT_EQ(map.As<IString>("Label")->GetValue(), "fixed");

    IRegister* raw = map.As<IRegister>("Raw");
    EXPECT_EQ(raw->GetLength(), 3);
    EXPECT_EQ(raw->GetAddress(), 0x60);
    const uint8_t written[3] = {0xDE, 0xAD, 0x01};
    raw->Set(written, 3);
    uint8_t read[3] = {};
    raw->Get(read, 3, false, true);
    EXPECT_EQ(std::memcmp(read, written, 3), 0);
    EXPECT_EQ(map.As<IValue>("Raw")->ToString(), "dead01");
    map.As<IValue>("Raw")->FromString("0x0a0b0c");
    EXPECT_EQ(map.mPort.Bytes(0x60, 3), (std::vector<uint8_t>{0x0A, 0x0B, 0x0C}));
    EXPECT_THROW(raw->Get(read, 2), GenICam::OutOfRangeException);
    EXPECT_THROW(map.As<IValue>("Raw")->FromString("0a0b"), GenICam::OutOfRangeException);
    EXPECT_THROW(map.As<IValue>("Raw")->FromString("zz0b0c"), GenICam::InvalidArgumentException);
}

TEST(Registers, AddressesAddUpFromLiteralsNodesIndicesAndFormulas)
{
    TestMap map(R"(<Integer Name="Base"><Value>0x1000</Value></Integer>
        <Integer Name="Index"><Value>2</Value></Integer>
        <IntReg Name="Sum"><Address>0x10</Address><Address>0x1</Address><pAddress>Base</pAddress>
          <Length>1</Length><AccessMode>RO</AccessMode><pPort>Device</pPort></IntReg>
        <IntReg Name="Indexed"><Address>0x100</Address><pIndex Offset="8">Index</pIndex>
          <Length>4</Length><AccessMode>RO</AccessMode><pPort>Device</pPort></IntReg>
        <IntReg Name="Packed"><Address>0x200</Address><pIndex>Index</pIndex>
          <Length>2</Length><AccessMode>RO</AccessMode><pPort>Device</pPort></IntReg>
        <Integer Name="Size"><Value>16</Value></Integer>
        <Register Name="Block"><Address>0x300</Address><pIndex>Index</pIndex><pLength>Size</pLength>
          <AccessMode>RO</AccessMode><pPort>Device</pPort></Register>
        <IntReg Name="Stride"><Address>0x400</Address><pIndex pOffset="Size">Index</pIndex>
          <Length>1</Length><AccessMode>RO</AccessMode><pPort>Device</pPort></IntReg>
        <IntReg Name="Computed"><IntSwissKnife><pVariable Name="B">Base</pVariable><Formula>B*2+4</Formula>
          </IntSwissKnife><Length>1</Length><AccessMode>RO</AccessMode><pPort>Device</pPort></IntReg>)");
    EXPECT_EQ(map.As<IRegister>("Sum")->GetAddress(), 0x1011);
    EXPECT_EQ(map.As<IRegister>("Indexed")->GetAddress(), 0x110);
    EXPECT_EQ(map.As<IRegister>("Packed")->GetAddress(), 0x204);
    EXPECT_EQ(map.As<IRegister>("Block")->GetAddress(), 0x320);
    EXPECT_EQ(map.As<IRegister>("Stride")->GetAddress(), 0x420);
    EXPECT_EQ(map.As<IRegister>("Computed")->GetAddress(), 0x2004);
    map.mPort.Set(0x110, 7, 4, false);
    map.mPort.Set(0x118, 9, 4, false);
    EXPECT_EQ(map.As<IInteger>("Indexed")->GetValue(), 7);
    // A new index moves the register, and what was cached for the old place is not taken.
    map.As<IInteger>("Index")->SetValue(3);
    EXPECT_EQ(map.As<IInteger>("Indexed")->GetValue(), 9);
}

TEST(Registers, EveryStructEntryTakesTheStructsSettingsAndDependencies)
{
    TestMap map(R"(<Integer Name="Trigger"><Value>0</Value></Integer>
        <Integer Name="Offered"><Value>1</Value></Integer>
        <StructReg Comment="Pair"><Address>0x40</Address><Length>2</Length><AccessMode>RW</AccessMode>
          <pPort>Device</pPort><pIsAvailable>Offered</pIsAvailable><pInvalidator>Trigger</pInvalidator>
          <Endianess>BigEndian</Endianess><ToolTip>one of a pair</ToolTip>
          <StructEntry Name="High"><LSB>7</LSB><MSB>0</MSB></StructEntry>
          <StructEntry Name="Low"><LSB>15</LSB><MSB>8</MSB><ToolTip>the low byte</ToolTip></StructEntry>
        </StructReg>
        <Integer Name="LowFeature"><pValue>Low</pValue></Integer>
        <IntReg Name="Watcher"><Address>0x80</Address><Length>4</Length><AccessMode>RO</AccessMode>
          <pPort>Device</pPort><pInvalidator>LowFeature</pInvalidator></IntReg>)");
    map.mPort.Set(0x40, 0x1234, 2, true);
    EXPECT_EQ(map.As<IInteger>("High")->GetValue(), 0x12);
    EXPECT_EQ(map.As<IInteger>("Low")->GetValue(), 0x34);
    EXPECT_EQ(map.Node("High")->GetToolTip(), "one of a pair");
    EXPECT_EQ(map.Node("Low")->GetToolTip(), "the low byte");

    // The struct's invalidator reaches what depends on its last entry too.
    map.As<IInteger>("Watcher")->GetValue();
    map.mPort.Set(0x40, 0x1256, 2, true);
    const int reads = map.mPort.mReads;
    map.As<IInteger>("Trigger")->SetValue(1);
    EXPECT_EQ(map.As<IInteger>("LowFeature")->GetValue(), 0x56);
    map.As<IInteger>("Watcher")->GetValue();
    EXPECT_EQ(map.mPort.mReads, reads + 2);

    map.As<IInteger>("Offered")->SetValue(0);
    EXPECT_EQ(map.Node("High")->GetAccessMode(), NA);
    EXPECT_EQ(map.Node("Low")->GetAccessMode(), NA);
}

TEST(Registers, AFieldOfAWriteOnlyRegisterIsWrittenWithoutReading)
{
    TestMap map(R"(<MaskedIntReg Name="Pulse"><Address>0x10</Address><Length>4</Length><AccessMode>WO</AccessMode>
          <pPort>Device</pPort><LSB>8</LSB><MSB>11</MSB></MaskedIntReg>)");
    map.mPort.Set(0x10, 0xFFFFFFFF, 4, false);
    map.As<IInteger>("Pulse")->SetValue(5);
    EXPECT_EQ(map.mPort.mReads, 0);
    EXPECT_EQ(map.mPort.Get(0x10, 4, false), 0x500u);
}
