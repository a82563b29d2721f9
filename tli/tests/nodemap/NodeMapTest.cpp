// Both models' descriptions in the project's node-map library, over the
// simulated cameras' registers: the description comes out of camera memory
// as a driver fetches it, and every feature a host may read reads.
#include "MemoryZip.h"
#include "Support.h"

#include <GenApi/GenApi.h>

#include <cstdlib>

using namespace TliTest;
using namespace GenApi;

namespace {

class ProducerPort : public IPort {
public:
    explicit ProducerPort(DEV_HANDLE device) : mDevice(device) {}
    void Read(void* buffer, int64_t address, int64_t length) override
    {
        size_t size = static_cast<size_t>(length);
        if (GCReadData(mDevice, static_cast<uint64_t>(address), buffer, &size) != GC_ERR_SUCCESS)
            throw ACCESS_EXCEPTION("Failure reading device data");
    }
    void Write(const void* buffer, int64_t address, int64_t length) override
    {
        size_t size = static_cast<size_t>(length);
        if (GCWriteData(mDevice, static_cast<uint64_t>(address), buffer, &size) != GC_ERR_SUCCESS)
            throw ACCESS_EXCEPTION("Failure writing device data");
    }
    EAccessMode GetAccessMode() const override { return RW; }

private:
    DEV_HANDLE mDevice;
};

class NodeMaps : public ProducerTest, public ::testing::WithParamInterface<const char*> {
protected:
    NodeMaps()
    {
        const std::string url = Url(mDevice);
        const auto first = url.find(';');
        const auto second = url.find(';', first + 1);
        std::string archive(std::strtoul(url.substr(second + 1).c_str(), nullptr, 16), '\0');
        EXPECT_EQ(Read(mDevice, std::strtoull(url.substr(first + 1).c_str(), nullptr, 16), &archive[0],
                       archive.size()),
                  GC_ERR_SUCCESS);
        const auto entry = ReadFirstEntry(archive);
        EXPECT_TRUE(entry);
        if (entry) {
            mMap._LoadXMLFromString(entry->mContent.c_str());
            EXPECT_TRUE(mMap._Connect(&mPort, "Device"));
        }
    }

    template <class Interface>
    Interface* Node(const char* name)
    {
        Interface* node = dynamic_cast<Interface*>(mMap._GetNode(name));
        EXPECT_NE(node, nullptr) << name;
        return node;
    }

    Library mLibrary;
    DEV_HANDLE mDevice = mLibrary.OpenDevice(DefaultInterface, GetParam());
    ProducerPort mPort{mDevice};
    CNodeMapRef mMap{"Device"};
};

TEST_P(NodeMaps, EveryReadableFeatureReads)
{
    NodeList_t nodes;
    mMap._GetNodes(nodes);
    ASSERT_GT(nodes.size(), 100u);
    int read = 0;
    for (INode* node : nodes) {
        IValue* value = dynamic_cast<IValue*>(node);
        if (value == nullptr || dynamic_cast<ICategory*>(node) != nullptr || dynamic_cast<ICommand*>(node) != nullptr)
            continue;
        try {
            const EAccessMode access = node->GetAccessMode();
            if (access != RO && access != RW)
                continue;
            value->ToString();
            if (IInteger* integer = dynamic_cast<IInteger*>(node)) {
                EXPECT_LE(integer->GetMin(), integer->GetMax()) << node->GetName();
            }
            if (IFloat* number = dynamic_cast<IFloat*>(node)) {
                EXPECT_LE(number->GetMin(), number->GetMax()) << node->GetName();
            }
            ++read;
        } catch (const std::exception& error) {
            ADD_FAILURE() << node->GetName() << ": " << error.what();
        }
    }
    EXPECT_GT(read, 100);
}

TEST_P(NodeMaps, AccessModesAndLimitsAreWhatTheCameraOffers)
{
    EXPECT_EQ(mMap._GetNode("ShadingEnable")->GetAccessMode(), NA);
    EXPECT_EQ(mMap._GetNode("ColorTransformationEnable")->GetAccessMode(), NI);
    EXPECT_EQ(mMap._GetNode("AcquisitionFrameCount")->GetAccessMode(), NA);
    EXPECT_EQ(mMap._GetNode("UserOutputValueAll")->GetAccessMode(), WO);
    EXPECT_EQ(mMap._GetNode("Gain_dB")->GetAccessMode(), RO);
    EXPECT_EQ(mMap._GetNode("FrameCounter")->GetAccessMode(), RO);
    EXPECT_GT(Node<IInteger>("FrameCounter")->GetMax(), int64_t{1} << 32);
    EXPECT_EQ(Node<IEnumeration>("PixelFormat")->GetIntValue(), 0x01080001);
    EXPECT_EQ(Node<IEnumeration>("AcquisitionMode")->GetIntValue(), 1);
}

TEST_P(NodeMaps, TLParamsLockedLocksTheGeometry)
{
    IInteger* width = Node<IInteger>("Width");
    width->SetValue(640);
    Node<IInteger>("TLParamsLocked")->SetValue(1);
    mMap._InvalidateNodes();
    EXPECT_EQ(width->GetAccessMode(), RO);
    EXPECT_THROW(width->SetValue(512), GenICam::AccessException);
    Node<IInteger>("TLParamsLocked")->SetValue(0);
    mMap._InvalidateNodes();
    width->SetValue(512);
    EXPECT_EQ(width->GetValue(), 512);
}

INSTANTIATE_TEST_SUITE_P(BothModels, NodeMaps, ::testing::Values(DefaultKx1300, DefaultKx5000));

}
