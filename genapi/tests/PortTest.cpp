// Connecting ports: a map reconnected to a new port reads through it, and a
// port node passes reads and writes of its own callers on.
#include "TestSupport.h"

using namespace GenApi;

TEST(Ports, AReconnectedMapReadsThroughTheNewPort)
{
    TestMap map(IntReg("Width", 0x10) + "<Integer Name=\"Feature\"><pValue>Width</pValue></Integer>");
    map.mPort.Set(0x10, 640, 4, false);
    EXPECT_EQ(map.As<IInteger>("Feature")->GetValue(), 640);

    // As when a camera is opened again: what the old connection cached is not taken.
    MemoryPort reopened;
    reopened.Set(0x10, 1280, 4, false);
    ASSERT_TRUE(map.mMap._Connect(&reopened));
    EXPECT_EQ(map.As<IInteger>("Feature")->GetValue(), 1280);
    map.As<IInteger>("Feature")->SetValue(800);
    EXPECT_EQ(reopened.Get(0x10, 4, false), 800u);
    EXPECT_EQ(map.mPort.Get(0x10, 4, false), 640u);
}

TEST(Ports, APortNodeIsAPortForItsCallers)
{
    TestMap map(IntReg("Width", 0x10));
    CPortPtr port = map.Node("Device");
    ASSERT_TRUE(port.IsValid());
    map.mPort.Set(0x10, 5, 4, false);
    EXPECT_EQ(map.As<IInteger>("Width")->GetValue(), 5);
    const uint8_t bytes[4] = {7, 0, 0, 0};
    port->Write(bytes, 0x10, 4);
    // A raw write may have changed any register, so nothing cached is taken.
    EXPECT_EQ(map.As<IInteger>("Width")->GetValue(), 7);
    uint8_t read[4] = {};
    port->Read(read, 0x10, 4);
    EXPECT_EQ(read[0], 7);

    map.mPort.mAccess = RO;
    map.mMap._InvalidateNodes();
    EXPECT_THROW(port->Write(bytes, 0x10, 4), GenICam::AccessException);
}

TEST(Ports, DescriptionsWithAnotherPortName)
{
    CNodeMapRef map;
    map._LoadXMLFromString(
        "<RegisterDescription><Port Name=\"CameraPort\"/><IntReg Name=\"R\"><Address>0</Address><Length>2</Length>"
        "<AccessMode>RO</AccessMode><pPort>CameraPort</pPort></IntReg></RegisterDescription>");
    MemoryPort memory;
    memory.Set(0, 0x1234, 2, false);
    EXPECT_EQ(map._GetNode("Device"), nullptr);
    EXPECT_FALSE(map._Connect(&memory));
    EXPECT_EQ(map._GetNode("R")->GetAccessMode(), NA);
    EXPECT_TRUE(map._Connect(&memory, "CameraPort"));
    EXPECT_EQ(CIntegerPtr(map._GetNode("R"))->GetValue(), 0x1234);
}
