// Both models' descriptions in the project's node-map library, over the
// simulated cameras' registers: the description comes out of camera memory
// as a driver fetches it, and every feature a host may read reads.
#include "MemoryZip.h"
#include "Support.h"

#include <GenApi/GenApi.h>

#include <cstdlib>
#include <map>
#include <string>

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

    using Features = std::map<std::string, INode*>;

    // The features of the categories directly under Root, by name: the ones
    // a driver walks.
    Features TopLevelFeatures()
    {
        Features found;
        FeatureList_t categories;
        Node<ICategory>("Root")->GetFeatures(categories);
        for (IValue* category : categories) {
            FeatureList_t features;
            if (ICategory* top = dynamic_cast<ICategory*>(category))
                top->GetFeatures(features);
            for (IValue* feature : features)
                found.emplace(feature->GetNode()->GetName().c_str(), feature->GetNode());
        }
        return found;
    }

    template <class Interface>
    static bool Offers(const Features& features, const char* name, EAccessMode access)
    {
        const auto found = features.find(name);
        return found != features.end() && dynamic_cast<Interface*>(found->second) != nullptr &&
               found->second->GetAccessMode() == access;
    }

    static bool IsKx1300() { return std::string(GetParam()) == DefaultKx1300; }

    Library mLibrary;
    DEV_HANDLE mDevice = mLibrary.OpenDevice(DefaultInterface, GetParam());
    ProducerPort mPort{mDevice};
    CNodeMapRef mMap{"Device"};
};

// The features the cameras cannot read, and what reading them raises.
enum class Unreadable { No, Access, Runtime };

Unreadable KnownUnreadable(const std::string& name)
{
    // The firmware refuses to read the line status register.
    if (name == "LineStatusAll" || name == "LineStatusAllReg")
        return Unreadable::Access;
    // No encoder is connected: its period register holds 0, and the
    // frequency divides by it.
    if (name == "EncoderFrequency")
        return Unreadable::Runtime;
    return Unreadable::No;
}

TEST_P(NodeMaps, EveryReadableFeatureReadsButTheKnownUnreadableOnes)
{
    NodeList_t nodes;
    mMap._GetNodes(nodes);
    ASSERT_GT(nodes.size(), 100u);
    int read = 0;
    int unreadable = 0;
    for (INode* node : nodes) {
        IValue* value = dynamic_cast<IValue*>(node);
        if (value == nullptr || dynamic_cast<ICategory*>(node) != nullptr || dynamic_cast<ICommand*>(node) != nullptr)
            continue;
        const std::string name = node->GetName().c_str();
        const EAccessMode access = node->GetAccessMode();
        if (access != RO && access != RW)
            continue;
        try {
            value->ToString();
            if (IInteger* integer = dynamic_cast<IInteger*>(node)) {
                EXPECT_LE(integer->GetMin(), integer->GetMax()) << name;
            }
            if (IFloat* number = dynamic_cast<IFloat*>(node)) {
                EXPECT_LE(number->GetMin(), number->GetMax()) << name;
            }
            EXPECT_EQ(KnownUnreadable(name), Unreadable::No) << name << " reads";
            ++read;
        } catch (const GenICam::AccessException& error) {
            EXPECT_EQ(KnownUnreadable(name), Unreadable::Access) << name << ": " << error.what();
            ++unreadable;
        } catch (const GenICam::RuntimeException& error) {
            EXPECT_EQ(KnownUnreadable(name), Unreadable::Runtime) << name << ": " << error.what();
            ++unreadable;
        } catch (const std::exception& error) {
            ADD_FAILURE() << name << ": " << error.what();
        }
    }
    EXPECT_GT(read, 100);
    EXPECT_EQ(unreadable, 3);
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

// What a driver that turns the features of each category under Root into
// parameters meets: every kind of value, every access mode, and the feature
// families that depend on one another.
TEST_P(NodeMaps, TopLevelCategoriesOfferEveryKindOfFeature)
{
    const Features features = TopLevelFeatures();
    EXPECT_TRUE(Offers<IInteger>(features, "FrameCounter", RO));
    EXPECT_TRUE(Offers<IFloat>(features, "DeviceTemperature", RO));
    EXPECT_TRUE(Offers<IInteger>(features, "UserOutputValueAll", WO));
    EXPECT_TRUE(Offers<IBoolean>(features, "LineInverter", RW));
    // A text feature that is no register: the driver turns it into a parameter.
    EXPECT_TRUE(Offers<IString>(features, "DeviceLocation", RW));
    EXPECT_FALSE(Offers<IRegister>(features, "DeviceLocation", RW));
    EXPECT_TRUE(Offers<IRegister>(features, "DeviceUserID", RW)) << "a text register, which the driver skips";

    ASSERT_TRUE(Offers<IFloat>(features, "Gamma", RW));
    IFloat* gamma = Node<IFloat>("Gamma");
    EXPECT_EQ(gamma->GetMin(), 0.5);
    EXPECT_EQ(gamma->GetMax(), 3.9);
    EXPECT_EQ(gamma->GetValue(), 1.0);
    ASSERT_TRUE(Offers<IInteger>(features, "UserDefinedValue", RW));
    EXPECT_EQ(Node<IInteger>("UserDefinedValue")->GetMax(), 0xFFFFFFFF);
    ASSERT_TRUE(Offers<IInteger>(features, "ScheduledActionTime", RW));
    EXPECT_GT(Node<IInteger>("ScheduledActionTime")->GetMax(), int64_t{1} << 32);

    // The families the driver orders and switches off together.
    for (const char* name : {"TriggerMode", "TriggerSource", "TriggerActivation", "TriggerOverlap", "GainAuto"})
        EXPECT_TRUE(Offers<IEnumeration>(features, name, RW)) << name;
    for (const char* name : {"TriggerDelayRaw", "TriggerInhibit", "GainRaw", "Width", "Height", "OffsetX", "OffsetY"})
        EXPECT_TRUE(Offers<IInteger>(features, name, RW)) << name;
    EXPECT_TRUE(Offers<IFloat>(features, "GainAbs", RW));
    EXPECT_TRUE(Offers<IFloat>(features, "Gain_dB", RO));
    if (IsKx1300()) {
        ASSERT_TRUE(Offers<IEnumeration>(features, "AutoFrameRate", RW));
        EXPECT_NE(Node<IEnumeration>("AutoFrameRate")->GetEntryByName("Auto"), nullptr);
        EXPECT_TRUE(Offers<IFloat>(features, "FrameRate", RW));
        ASSERT_TRUE(Offers<IEnumeration>(features, "Binning", RW));
        EXPECT_NE(Node<IEnumeration>("Binning")->GetEntryByName("V_Binning"), nullptr);
    } else {
        ASSERT_TRUE(Offers<IEnumeration>(features, "AcquisitionFrameRateAuto", RW));
        EXPECT_NE(Node<IEnumeration>("AcquisitionFrameRateAuto")->GetEntryByName("On"), nullptr);
        EXPECT_TRUE(Offers<IFloat>(features, "AcquisitionFrameRateAbs", RW));
        EXPECT_TRUE(Offers<IInteger>(features, "BinningVertical", RW));
        EXPECT_TRUE(Offers<IInteger>(features, "BinningHorizontal", RW));
    }
    // A gain the camera chooses itself can be read, not written.
    ASSERT_EQ(TLICtl_SetRegisterValue(GetParam(), IsKx1300() ? "GainAutoBits" : "GainAutoReg", 2), GC_ERR_SUCCESS);
    mMap._InvalidateNodes();
    EXPECT_TRUE(Offers<IFloat>(features, "GainAbs", RO));
}

TEST_P(NodeMaps, AnEntryTheCameraLacksIsListedButNotAvailable)
{
    IEnumeration* source = Node<IEnumeration>("TriggerSource");
    ASSERT_NE(source, nullptr);
    IEnumEntry* line3 = source->GetEntryByName("Line3");
    ASSERT_NE(line3, nullptr);
    EXPECT_EQ(line3->GetNode()->GetAccessMode(), NA);
    EXPECT_NE(source->GetCurrentEntry(), line3);
    NodeList_t entries;
    source->GetEntries(entries);
    EXPECT_EQ(entries.size(), 4u);
    EXPECT_THROW(source->SetIntValue(line3->GetValue()), GenICam::AccessException);
    EXPECT_EQ(source->ToString(), "Line1") << "a refused entry changes nothing";

    // With the extension board fitted, the line can be chosen.
    ASSERT_EQ(TLICtl_SetRegisterValue(GetParam(), "Line3Inq", 1), GC_ERR_SUCCESS);
    mMap._InvalidateNodes();
    EXPECT_EQ(line3->GetNode()->GetAccessMode(), RO);
    source->FromString("Line3");
    EXPECT_EQ(RegisterValue(GetParam(), IsKx1300() ? "TriggerSourceReg" : "TriggerSourceBits"), 2);
}

TEST_P(NodeMaps, UnreadableFeaturesRaiseTheirOwnExceptions)
{
    IInteger* frequency = Node<IInteger>("EncoderFrequency");
    ASSERT_NE(frequency, nullptr);
    EXPECT_EQ(frequency->GetNode()->GetAccessMode(), RO);
    EXPECT_THROW(frequency->GetValue(), GenICam::RuntimeException);
    // The value comes once the encoder has sent two pulses.
    ASSERT_EQ(TLICtl_SetRegisterValue(GetParam(), "EncoderPeriodReg", 250), GC_ERR_SUCCESS);
    EXPECT_EQ(frequency->GetValue(), 4000);

    IInteger* status = Node<IInteger>("LineStatusAll");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->GetNode()->GetAccessMode(), RO) << "the description lets it be read";
    EXPECT_THROW(status->GetValue(), GenICam::AccessException);
}

TEST_P(NodeMaps, WideIntegersKeepEveryBit)
{
    IInteger* user = Node<IInteger>("UserDefinedValue");
    ASSERT_NE(user, nullptr);
    user->SetValue(0xFFFFFFFF);
    EXPECT_EQ(RegisterValue(GetParam(), "UserDefinedValueReg"), 0xFFFFFFFF);
    mMap._InvalidateNodes();
    EXPECT_EQ(user->GetValue(), 0xFFFFFFFF);
    EXPECT_THROW(user->SetValue(int64_t{1} << 32), GenICam::OutOfRangeException);
    EXPECT_THROW(user->SetValue(-1), GenICam::OutOfRangeException);

    IInteger* scheduled = Node<IInteger>("ScheduledActionTime");
    ASSERT_NE(scheduled, nullptr);
    const int64_t beyond = (int64_t{1} << 40) + 12345;
    ASSERT_EQ(TLICtl_SetRegisterValue(GetParam(), "ScheduledActionTimeReg", beyond), GC_ERR_SUCCESS);
    mMap._InvalidateNodes();
    EXPECT_EQ(scheduled->GetValue(), beyond);
    scheduled->SetValue(int64_t{0x80000000});
    EXPECT_EQ(RegisterValue(GetParam(), "ScheduledActionTimeReg"), 0x80000000);
    EXPECT_THROW(scheduled->SetValue(scheduled->GetMax() + 1), GenICam::OutOfRangeException);
}

TEST_P(NodeMaps, TheNodeMapAndTheCameraRefuseWhatTheyCannotTake)
{
    // Outside the limits, off the increment: the node map refuses.
    IFloat* gamma = Node<IFloat>("Gamma");
    ASSERT_NE(gamma, nullptr);
    EXPECT_THROW(gamma->SetValue(3.95), GenICam::OutOfRangeException);
    EXPECT_THROW(gamma->SetValue(0.45), GenICam::OutOfRangeException);
    gamma->SetValue(0.5);
    gamma->SetValue(3.9);
    mMap._InvalidateNodes();
    EXPECT_EQ(gamma->GetValue(), 3.9) << "the register holds a double";
    IInteger* width = Node<IInteger>("Width");
    EXPECT_THROW(width->SetValue(width->GetMin() + 1), GenICam::OutOfRangeException);

    // A text reaches the camera's memory, as long as it fits.
    IString* location = Node<IString>("DeviceLocation");
    ASSERT_NE(location, nullptr);
    location->SetValue("Line 3, station 2");
    char text[32] = {};
    ASSERT_EQ(TLICtl_GetRegister(GetParam(), 0x40100, text, sizeof text), GC_ERR_SUCCESS);
    EXPECT_STREQ(text, "Line 3, station 2");
    EXPECT_THROW(location->SetValue(std::string(40, 'x').c_str()), GenICam::OutOfRangeException);
    mMap._InvalidateNodes();
    EXPECT_EQ(location->GetValue(), "Line 3, station 2");

    IBoolean* inverter = Node<IBoolean>("LineInverter");
    ASSERT_NE(inverter, nullptr);
    inverter->SetValue(true);
    EXPECT_EQ(RegisterValue(GetParam(), "LineInverterReg"), 1);

    // A read-only feature: the node map refuses before the camera sees it.
    EXPECT_THROW(Node<IInteger>("FrameCounter")->SetValue(5), GenICam::AccessException);
    // Writable by its description, refused by the camera's firmware.
    IInteger* debouncer = Node<IInteger>("LineDebouncerTimeRaw");
    ASSERT_NE(debouncer, nullptr);
    EXPECT_EQ(debouncer->GetNode()->GetAccessMode(), RW);
    EXPECT_THROW(debouncer->SetValue(20), GenICam::AccessException);
    mMap._InvalidateNodes();
    EXPECT_EQ(debouncer->GetValue(), 10);
}

INSTANTIATE_TEST_SUITE_P(BothModels, NodeMaps, ::testing::Values(DefaultKx1300, DefaultKx5000));

}
