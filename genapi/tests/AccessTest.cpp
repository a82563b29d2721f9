// Access modes and what they derive from, and how reads and writes obey them.
#include "TestSupport.h"

using namespace GenApi;

namespace {

std::string Flag(const char* name, int value)
{
    return std::string("<Integer Name=\"") + name + "\"><Value>" + std::to_string(value) + "</Value></Integer>\n";
}

std::string Reg(const char* name, int address, const char* access, const char* extra = "")
{
    return std::string("<IntReg Name=\"") + name + "\"><Address>" + std::to_string(address) +
           "</Address><Length>4</Length><AccessMode>" + access + "</AccessMode><pPort>Device</pPort>" + extra +
           "</IntReg>\n";
}

} // namespace

TEST(Access, EachSourceLimitsTheMode)
{
    TestMap map(Flag("Yes", 1) + Flag("No", 0) + Reg("Rw", 0x10, "RW") + Reg("Ro", 0x14, "RO") +
                Reg("Wo", 0x18, "WO") + R"(
        <Integer Name="Plain"><pValue>Rw</pValue></Integer>
        <Integer Name="OverRo"><pValue>Ro</pValue></Integer>
        <Integer Name="ImposedRo"><ImposedAccessMode>RO</ImposedAccessMode><pValue>Rw</pValue></Integer>
        <Integer Name="ImposedWoOverRo"><ImposedAccessMode>WO</ImposedAccessMode><pValue>Ro</pValue></Integer>
        <Integer Name="NotImplemented"><pIsImplemented>No</pIsImplemented><pIsAvailable>No</pIsAvailable>
          <pValue>Rw</pValue></Integer>
        <Integer Name="Implemented"><pIsImplemented>Yes</pIsImplemented><pValue>Rw</pValue></Integer>
        <Integer Name="NotAvailable"><pIsAvailable>No</pIsAvailable><pValue>Rw</pValue></Integer>
        <Integer Name="Locked"><pIsLocked>Yes</pIsLocked><pValue>Rw</pValue></Integer>
        <Integer Name="LockedWo"><pIsLocked>Yes</pIsLocked><pValue>Wo</pValue></Integer>
        <Integer Name="Unlocked"><pIsLocked>No</pIsLocked><pValue>Rw</pValue></Integer>
        <Integer Name="Literal"><Value>3</Value></Integer>
        <IntSwissKnife Name="Knife"><pVariable Name="A">Rw</pVariable><Formula>A</Formula></IntSwissKnife>
        <IntSwissKnife Name="KnifeOnWo"><pVariable Name="A">Wo</pVariable><Formula>A</Formula></IntSwissKnife>
        <Category Name="Group"><pFeature>Plain</pFeature></Category>)");
    const struct {
        const char* mName;
        EAccessMode mMode;
    } expected[] = {{"Rw", RW},          {"Ro", RO},          {"Wo", WO},           {"Plain", RW},
                    {"OverRo", RO},      {"ImposedRo", RO},   {"ImposedWoOverRo", NA}, {"NotImplemented", NI},
                    {"Implemented", RW}, {"NotAvailable", NA}, {"Locked", RO},       {"LockedWo", NA},
                    {"Unlocked", RW},    {"Literal", RW},     {"Knife", RO},        {"KnifeOnWo", NA},
                    {"Group", RO}};
    for (const auto& node : expected) {
        EXPECT_EQ(map.Node(node.mName)->GetAccessMode(), node.mMode) << node.mName;
    }
    // Conditions are read again after a change: unlocking makes the feature writable.
    map.As<IInteger>("Yes")->SetValue(0);
    EXPECT_EQ(map.Node("Locked")->GetAccessMode(), RW);
    EXPECT_EQ(map.Node("Implemented")->GetAccessMode(), NI);
    EXPECT_TRUE(IsReadable(map.Node("Plain")));
    EXPECT_FALSE(IsWritable(map.Node("OverRo")));
    EXPECT_FALSE(IsAvailable(map.Node("NotAvailable")));
    EXPECT_FALSE(IsImplemented(map.Node("NotImplemented")));
    EXPECT_FALSE(IsReadable(static_cast<INode*>(nullptr)));
}

TEST(Access, ReadsAndWritesOutsideTheModeRaiseAccessException)
{
    TestMap map(Flag("No", 0) + Reg("Ro", 0x14, "RO") + Reg("Wo", 0x18, "WO") + R"(
        <Integer Name="NotAvailable"><pIsAvailable>No</pIsAvailable><Value>1</Value></Integer>
        <Command Name="Go"><pValue>Wo</pValue><CommandValue>1</CommandValue></Command>)");
    EXPECT_THROW(map.As<IInteger>("Ro")->SetValue(1), GenICam::AccessException);
    EXPECT_THROW(map.As<IInteger>("Ro")->SetValue(1, false), GenICam::AccessException);
    EXPECT_THROW(map.As<IInteger>("Wo")->GetValue(), GenICam::AccessException);
    EXPECT_THROW(map.As<IValue>("NotAvailable")->ToString(), GenICam::AccessException);
    EXPECT_THROW(map.As<IInteger>("NotAvailable")->SetValue(2), GenICam::AccessException);
    EXPECT_EQ(map.mPort.mWrites, 0);
    ICommand* go = map.As<ICommand>("Go");
    go->Execute();
    EXPECT_EQ(map.mPort.Get(0x18, 4, false), 1u);
    // A register that cannot be read tells nothing: the command counts as done.
    EXPECT_TRUE(go->IsDone());
}

TEST(Access, RegistersFollowTheirPort)
{
    TestMap map(Reg("Rw", 0x10, "RW") + R"(<Port Name="Chunk"/>
        <IntReg Name="OnChunk"><Address>0</Address><Length>4</Length><AccessMode>RO</AccessMode>
          <pPort>Chunk</pPort></IntReg>
        <IntSwissKnife Name="ChunkPresent"><pVariable Name="V">OnChunk</pVariable><Formula>V&gt;0</Formula></IntSwissKnife>
        <Integer Name="ChunkValue"><pIsAvailable>ChunkPresent</pIsAvailable><pValue>OnChunk</pValue></Integer>)");
    // A port nobody connected makes its registers unavailable, and conditions on them false.
    EXPECT_EQ(map.Node("OnChunk")->GetAccessMode(), NA);
    EXPECT_EQ(map.Node("ChunkValue")->GetAccessMode(), NA);
    EXPECT_THROW(map.As<IInteger>("OnChunk")->GetValue(), GenICam::AccessException);

    map.mPort.mAccess = RO;
    map.mMap._InvalidateNodes();
    EXPECT_EQ(map.Node("Rw")->GetAccessMode(), RO);

    MemoryPort chunk;
    chunk.Set(0, 5, 4, false);
    EXPECT_TRUE(map.mMap._Connect(&chunk, "Chunk"));
    EXPECT_EQ(map.Node("ChunkValue")->GetAccessMode(), RO);
    EXPECT_EQ(map.As<IInteger>("ChunkValue")->GetValue(), 5);
    EXPECT_EQ(chunk.mReads, 1);
}

TEST(Access, PortFailuresReachTheCallerAsThePortRaisedThem)
{
    TestMap map(Reg("Rw", 0x10, "RW") + Reg("Present", 0x20, "RO") +
                "<Integer Name=\"Feature\"><pValue>Rw</pValue></Integer>"
                "<Integer Name=\"Optional\"><pIsAvailable>Present</pIsAvailable><pValue>Rw</pValue></Integer>");
    // A camera that stops answering is an error, not a feature it lacks.
    map.mPort.mFail = true;
    EXPECT_THROW(map.Node("Optional")->GetAccessMode(), GenICam::AccessException);
    map.mPort.mFail = true;
    try {
        map.As<IInteger>("Feature")->GetValue();
        FAIL() << "no exception";
    } catch (const GenICam::AccessException& e) {
        EXPECT_STREQ(e.GetDescription(), "Failure reading device data");
    }
    EXPECT_THROW(map.As<IInteger>("Feature")->SetValue(3), GenICam::AccessException);
    map.mPort.mFail = false;
    // Nothing failed was kept: the value is read anew.
    map.mPort.Set(0x10, 9, 4, false);
    EXPECT_EQ(map.As<IInteger>("Feature")->GetValue(), 9);
}
