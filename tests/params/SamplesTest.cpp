// Real camera descriptions of other makers, loaded over zero-filled register
// memory: each must give a parameter set whose ranges are sound.
#include "TestSupport.h"
#include "params/NodeMapParams.h"
#include "params/Int32.h"
#include "params/ParamEnum.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <sstream>

namespace {

class SamplesTest : public ::testing::TestWithParam<const char*> {};

std::string ReadText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::size_t IndexOf(const CameraParameters& params, const char* name)
{
    for (std::size_t i = 0; i < params.GetParams().size(); ++i) {
        if (params.GetParams()[i]->mName == name) {
            return i;
        }
    }
    return std::numeric_limits<std::size_t>::max();
}

TEST_P(SamplesTest, BuildsASoundParameterSet)
{
    MemoryPort port;
    GenApi::CNodeMapRef map;
    map._LoadXMLFromString(ReadText(SamplePath(GetParam())));
    map._Connect(&port, "Device");
    CameraInfo info;
    info.name = GetParam();
    CameraParameters params(info);
    ASSERT_NO_THROW(NodeMapParams::OpenConfiguration(map, params));
    EXPECT_GT(params.GetParams().size(), 10u);

    // Each integer range is the camera's own, saturated to 32 bits: a maximum
    // of 0xFFFFFFFF stays the largest value instead of turning into -1.
    // (Over zero-filled memory some selectors compute a maximum of count - 1
    // = -1 themselves; that range is the description's, and stays as it is.)
    int wide = 0;
    for (const auto& param : params.GetParams()) {
        const auto* number = dynamic_cast<const Param<int>*>(param.get());
        if (number == nullptr || number->mGeneral) {
            continue;
        }
        auto& node = dynamic_cast<GenApi::IInteger&>(*map._GetNode(number->mName.c_str()));
        EXPECT_EQ(number->mMin, Int32::Saturate(node.GetMin())) << number->mName;
        EXPECT_EQ(number->mMax, Int32::Saturate(node.GetMax())) << number->mName;
        EXPECT_EQ(number->mIncrement, Int32::Saturate(node.GetInc())) << number->mName;
        EXPECT_GE(number->mIncrement, 0) << number->mName;
        if (node.GetMin() <= node.GetMax()) {
            EXPECT_LE(number->mMin, number->mMax) << number->mName;
        }
        wide += node.GetMax() > std::numeric_limits<int>::max() ? 1 : 0;
    }
    RecordProperty("IntegersWithMaximumBeyond32Bits", wide);
    // The writing order puts each offset before its size.
    for (auto [offset, size] : {std::pair<const char*, const char*>{"OffsetX", "Width"}, {"OffsetY", "Height"}}) {
        if (params.HasParam(offset) && params.HasParam(size)) {
            EXPECT_EQ(IndexOf(params, offset) + 1, IndexOf(params, size)) << size;
        }
    }

    // Written and read back over the same memory, nothing raises.
    EXPECT_NO_THROW(NodeMapParams::ApplyConfiguration(map, params));
    EXPECT_NO_THROW(NodeMapParams::UpdateConfiguration(map, params));
}

INSTANTIATE_TEST_SUITE_P(RealDescriptions, SamplesTest,
                         ::testing::Values("Basler-acA1300-60gm.xml", "FLIR_BFLY_PGE_13H2M.xml",
                                           "Mikrotron_CXP_MC206xS11.xml", "Teledyne_ShadoBox.xml"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find_first_of("-_"));
                         });

}
