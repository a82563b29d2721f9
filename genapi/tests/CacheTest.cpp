// What is kept from the camera, and when it is read again.
#include "TestSupport.h"

using namespace GenApi;

namespace {

std::string Cached(const char* name, int address, const char* caching)
{
    return std::string("<IntReg Name=\"") + name + "\"><Address>" + std::to_string(address) +
           "</Address><Length>4</Length><AccessMode>RW</AccessMode><pPort>Device</pPort><Cachable>" + caching +
           "</Cachable></IntReg>\n";
}

} // namespace

TEST(Cache, EachCachingModeReadsAsItSays)
{
    TestMap map(Cached("Through", 0x10, "WriteThrough") + Cached("Around", 0x20, "WriteAround") +
                Cached("Never", 0x30, "NoCache"));
    IInteger* through = map.As<IInteger>("Through");
    IInteger* around = map.As<IInteger>("Around");
    IInteger* never = map.As<IInteger>("Never");

    through->GetValue();
    through->GetValue();
    EXPECT_EQ(map.mPort.mReads, 1);
    through->SetValue(5);
    EXPECT_EQ(through->GetValue(), 5);
    EXPECT_EQ(map.mPort.mReads, 1);
    EXPECT_TRUE(map.Node("Through")->IsCachable());

    // The camera may change what was written; a WriteAround register shows what it holds.
    around->SetValue(7);
    map.mPort.Set(0x20, 6, 4, false);
    EXPECT_EQ(around->GetValue(), 6);
    EXPECT_EQ(map.mPort.mReads, 2);
    EXPECT_EQ(around->GetValue(), 6);
    EXPECT_EQ(map.mPort.mReads, 2);

    never->GetValue();
    map.mPort.Set(0x30, 4, 4, false);
    EXPECT_EQ(never->GetValue(), 4);
    EXPECT_EQ(map.mPort.mReads, 4);
    EXPECT_FALSE(map.Node("Never")->IsCachable());

    map.mPort.Set(0x10, 8, 4, false);
    EXPECT_EQ(through->GetValue(), 5);
    EXPECT_EQ(through->GetValue(false, true), 8);
}

TEST(Cache, InvalidationRereads)
{
    TestMap map(Cached("Width", 0x10, "WriteThrough") + Cached("MaxHeight", 0x20, "WriteThrough") + R"(
        <IntReg Name="Payload"><Address>0x30</Address><Length>4</Length><AccessMode>RO</AccessMode>
          <pPort>Device</pPort><pInvalidator>WidthFeature</pInvalidator></IntReg>
        <Integer Name="WidthFeature"><pValue>Width</pValue></Integer>
        <Integer Name="Height"><Value>10</Value><pMax>MaxHeight</pMax></Integer>
        <IntSwissKnife Name="Area"><pVariable Name="W">Width</pVariable><pVariable Name="H">Height</pVariable>
          <Formula>W*H</Formula></IntSwissKnife>
        <IntReg Name="Watcher"><Address>0x40</Address><Length>4</Length><AccessMode>RO</AccessMode>
          <pPort>Device</pPort><pInvalidator>Area</pInvalidator></IntReg>)");
    map.mPort.Set(0x30, 100, 4, false);
    map.mPort.Set(0x20, 50, 4, false);
    IInteger* payload = map.As<IInteger>("Payload");
    EXPECT_EQ(payload->GetValue(), 100);
    map.mPort.Set(0x30, 200, 4, false);
    EXPECT_EQ(payload->GetValue(), 100);

    // pInvalidator: writing the width makes the payload size be read again.
    map.As<IInteger>("WidthFeature")->SetValue(64);
    EXPECT_EQ(payload->GetValue(), 200);

    // Invalidation runs along what depends on what: Height feeds Area, which invalidates Watcher.
    EXPECT_EQ(map.As<IInteger>("Height")->GetMax(), 50);
    map.As<IInteger>("Watcher")->GetValue();
    const int reads = map.mPort.mReads;
    map.As<IInteger>("Height")->SetValue(20);
    map.As<IInteger>("Watcher")->GetValue();
    EXPECT_EQ(map.mPort.mReads, reads + 1);
    EXPECT_EQ(map.As<IInteger>("Area")->GetValue(), 64 * 20);

    // InvalidateNodes: every register is read anew, including ranges.
    map.mPort.Set(0x20, 30, 4, false);
    map.mPort.Set(0x10, 32, 4, false);
    map.mMap._InvalidateNodes();
    EXPECT_EQ(map.As<IInteger>("Height")->GetMax(), 30);
    EXPECT_EQ(map.As<IInteger>("Area")->GetValue(), 32 * 20);
    map.mPort.Set(0x10, 16, 4, false);
    map.Node("Width")->InvalidateNode();
    EXPECT_EQ(map.As<IInteger>("WidthFeature")->GetValue(), 16);
}
