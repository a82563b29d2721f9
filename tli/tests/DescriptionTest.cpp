// The cameras' descriptions: the URL forms, the archive in camera memory,
// and what the descriptions must offer a driver.
#include "MemoryZip.h"
#include "Support.h"

#include <pugixml.hpp>

#include <cstdlib>

using namespace TliTest;

namespace {

class Descriptions : public ProducerTest {
protected:
    Library mLibrary;
    DEV_HANDLE mKx1300 = mLibrary.OpenDevice(DefaultInterface, DefaultKx1300);
};

struct LocalUrl {
    std::string mFile;
    uint64_t mAddress;
    size_t mLength;
};

LocalUrl ParseLocal(const std::string& url)
{
    const auto first = url.find(';');
    const auto second = url.find(';', first + 1);
    EXPECT_EQ(url.compare(0, 6, "local:"), 0) << url;
    return {url.substr(6, first - 6), std::strtoull(url.substr(first + 1, second - first - 1).c_str(), nullptr, 16),
            static_cast<size_t>(std::strtoull(url.substr(second + 1).c_str(), nullptr, 16))};
}

std::string ReadLocal(DEV_HANDLE device, const LocalUrl& url)
{
    std::string bytes(url.mLength, '\0');
    EXPECT_EQ(Read(device, url.mAddress, &bytes[0], bytes.size()), GC_ERR_SUCCESS);
    return bytes;
}

TEST_F(Descriptions, ServedZippedFromCameraMemoryByDefault)
{
    const LocalUrl url = ParseLocal(Url(mKx1300));
    EXPECT_EQ(url.mFile, "KavrixKX1300.zip");
    EXPECT_EQ(url.mAddress, 0x10000u);
    const std::string archive = ReadLocal(mKx1300, url);
    EXPECT_EQ(archive, Description(TLICTL_MODEL_KX1300, true));
    const auto entry = ReadFirstEntry(archive);
    ASSERT_TRUE(entry) << "minizip reads the archive";
    EXPECT_EQ(entry->mName, "KavrixKX1300.xml");
    EXPECT_EQ(entry->mContent, Description(TLICTL_MODEL_KX1300, false));
    EXPECT_LT(archive.size(), entry->mContent.size() / 3) << "deflated";
}

TEST_F(Descriptions, OtherFormsByControlAndByConfiguration)
{
    ASSERT_EQ(TLICtl_SetDescriptionForm(DefaultKx1300, TLICTL_DESCRIPTION_UNZIPPED), GC_ERR_SUCCESS);
    const LocalUrl url = ParseLocal(Url(mKx1300));
    EXPECT_EQ(url.mFile, "KavrixKX1300.xml");
    EXPECT_EQ(ReadLocal(mKx1300, url), Description(TLICTL_MODEL_KX1300, false));

    ASSERT_EQ(TLICtl_SetDescriptionForm(DefaultKx1300, TLICTL_DESCRIPTION_FILE), GC_ERR_SUCCESS);
    EXPECT_EQ(Url(mKx1300), "file:KavrixKX1300.xml");
    ASSERT_EQ(TLICtl_SetDescriptionForm(DefaultKx1300, TLICTL_DESCRIPTION_FILE_ZIPPED), GC_ERR_SUCCESS);
    EXPECT_EQ(Url(mKx1300), "file:KavrixKX1300.zip");
    ASSERT_EQ(TLICtl_SetDescriptionForm(DefaultKx1300, TLICTL_DESCRIPTION_INVALID_PREFIX), GC_ERR_SUCCESS);
    const std::string invalid = Url(mKx1300);
    EXPECT_NE(invalid.compare(0, 5, "file:"), 0);
    EXPECT_NE(invalid.compare(0, 6, "local:"), 0);

    ASSERT_EQ(TLICtl_SetDescriptionForm(DefaultKx1300, TLICTL_DESCRIPTION_CORRUPT), GC_ERR_SUCCESS);
    const LocalUrl corrupt = ParseLocal(Url(mKx1300));
    EXPECT_EQ(corrupt.mFile, "KavrixKX1300.zip");
    EXPECT_FALSE(ReadFirstEntry(ReadLocal(mKx1300, corrupt))) << "the archive cannot be unpacked";
    EXPECT_EQ(TLICtl_SetDescriptionForm(DefaultKx1300, 6), GC_ERR_INVALID_PARAMETER);

    const std::string config = WriteConfig("tli-forms.ini",
                                           "[interface]\nname = eth1\n"
                                           "[device]\nmodel = KX-5000-24gm\nname = Unzipped\ndescription = unzipped\n"
                                           "[device]\nmodel = KX-5000-24gm\nname = Held\nprivilege = 2\n");
    ASSERT_EQ(TLICtl_LoadConfig(config.c_str()), GC_ERR_SUCCESS) << LastConfigError();
    Library library;
    DEV_HANDLE unzipped = library.OpenDevice("eth1", "Unzipped");
    const LocalUrl text = ParseLocal(Url(unzipped));
    EXPECT_EQ(ReadLocal(unzipped, text), Description(TLICTL_MODEL_KX5000, false));
    EXPECT_EQ(Read32(library.OpenDevice("eth1", "Held"), 0x0A00, true), 2u);

    ASSERT_EQ(TLICtl_LoadConfig(WriteConfig("tli-forms.ini", "[interface]\nname = a\n[device]\nmodel = KX-5000-24gm\n"
                                                            "description = ftp\n")
                                    .c_str()),
              GC_ERR_ERROR);
    EXPECT_EQ(LastConfigError(), "tli-forms.ini:5: description form \"ftp\" is none of zipped, unzipped, file, "
                                 "file-zipped, invalid-prefix, corrupt");
}

TEST_F(Descriptions, UrlBufferAndIndexAreChecked)
{
    const std::string url = Url(mKx1300);
    char text[2048];
    size_t size = url.size();
    EXPECT_EQ(GCGetURL(mKx1300, text, &size, 1), GC_ERR_INVALID_BUFFER_SIZE);
    EXPECT_EQ(size, url.size() + 1);
    size = sizeof text;
    EXPECT_EQ(GCGetURL(mKx1300, text, &size, 0), GC_ERR_INVALID_PARAMETER);
    // The bootstrap's first URL register holds the same text.
    char reg[512];
    ASSERT_EQ(Read(mKx1300, 0x0200, reg, sizeof reg), GC_ERR_SUCCESS);
    EXPECT_EQ(std::string(reg), url);
}

// What the driver needs from every camera, and the node types the node-map
// library must cope with.
TEST(ModelDescriptions, CarryTheFeaturesAndNodeTypesADriverMeets)
{
    const char* common[] = {"Width", "Height", "OffsetX", "OffsetY", "PixelFormat", "AcquisitionMode",
                            "AcquisitionStart", "AcquisitionStop", "TLParamsLocked", "TriggerMode", "TriggerSource",
                            "TriggerActivation", "TriggerOverlap", "TriggerDelayRaw", "TriggerInhibit",
                            "TriggerSoftware", "GainAuto", "GainAbs", "GainRaw", "Gain_dB", "Root", "Device",
                            "ControlChannelPrivilege", "GevMACAddress", "DHCPEnabled", "AcquisitionFrameCount"};
    const struct {
        const char* model;
        std::vector<const char*> own;
    } models[] = {{TLICTL_MODEL_KX1300, {"FrameRate", "AutoFrameRate", "Binning"}},
                  {TLICTL_MODEL_KX5000, {"AcquisitionFrameRateAbs", "AcquisitionFrameRateAuto", "BinningVertical"}}};
    const char* nodeTypes[] = {"IntReg", "MaskedIntReg", "FloatReg", "StringReg", "StructReg", "Integer", "Float",
                               "SwissKnife", "IntSwissKnife", "Converter", "Enumeration", "Command", "Category",
                               "Port", "Group", "Boolean", "String"};
    std::string allTypes;
    for (const auto& m : models) {
        pugi::xml_document document;
        const std::string text = Description(m.model, false);
        ASSERT_TRUE(document.load_string(text.c_str())) << m.model;
        const pugi::xml_node root = document.child("RegisterDescription");
        EXPECT_STREQ(root.attribute("SchemaMinorVersion").value(), "1");
        std::vector<const char*> features(std::begin(common), std::end(common));
        features.insert(features.end(), m.own.begin(), m.own.end());
        for (const char* feature : features) {
            const std::string path = std::string(".//*[@Name='") + feature + "']";
            EXPECT_TRUE(root.select_node(path.c_str())) << m.model << " lacks " << feature;
        }
        for (const char* type : nodeTypes)
            EXPECT_TRUE(root.select_node((std::string(".//") + type).c_str())) << m.model << " has no " << type;
        const auto pixelFormats = root.select_nodes(".//Enumeration[@Name='PixelFormat']/EnumEntry/Value");
        std::vector<std::string> values;
        for (const auto& value : pixelFormats)
            values.push_back(value.node().child_value());
        EXPECT_EQ(values, (std::vector<std::string>{"0x01080001", "0x010C0006", "0x01100005"}));
        allTypes += text;
    }
    for (const char* type : {"<IntConverter", "<Register ", "<ValueIndexed", "<pIndex", "<pIsImplemented",
                             "<pIsAvailable", "<pIsLocked", "<ImposedAccessMode", "<Sign>Signed", "LittleEndian",
                             "BigEndian", "<AccessMode>WO"})
        EXPECT_NE(allTypes.find(type), std::string::npos) << type;
}

}
