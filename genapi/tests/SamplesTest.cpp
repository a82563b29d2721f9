// Real camera descriptions of four makers: each loads, and every feature of
// every category can be visited, typed and read over a zero-filled memory.
#include <fstream>
#include <iterator>
#include <set>

#include "TestSupport.h"

using namespace GenApi;

namespace {

struct Walk {
    int mFeatures = 0;
    int mValues = 0;
    std::vector<std::string> mErrors;
};

// Descends from a category, reading every readable feature as the driver would.
void Visit(ICategory& category, Walk& walk, std::set<INode*>& path)
{
    FeatureList_t features;
    category.GetFeatures(features);
    for (IValue* feature : features) {
        INode* node = feature->GetNode();
        ASSERT_NE(node, nullptr);
        if (auto* nested = dynamic_cast<ICategory*>(feature)) {
            if (path.insert(node).second) {
                Visit(*nested, walk, path);
                path.erase(node);
            }
            continue;
        }
        ++walk.mFeatures;
        const bool typed = dynamic_cast<IInteger*>(node) || dynamic_cast<IFloat*>(node) ||
                           dynamic_cast<IBoolean*>(node) || dynamic_cast<IString*>(node) ||
                           dynamic_cast<IEnumeration*>(node) || dynamic_cast<ICommand*>(node) ||
                           dynamic_cast<IRegister*>(node);
        EXPECT_TRUE(typed) << node->GetName();
        const EAccessMode mode = node->GetAccessMode();
        EXPECT_LT(mode, _UndefinedAccesMode) << node->GetName();
        if (!IsReadable(mode) || dynamic_cast<ICommand*>(node)) {
            continue;
        }
        try {
            feature->ToString();
            ++walk.mValues;
        } catch (const GenICam::GenericException& e) {
            walk.mErrors.push_back(std::string(node->GetName()) + ": " + e.GetDescription());
        }
        // Ranges may draw on what zeros cannot give: a unit of 0 to divide by,
        // a chunk that no image brought.
        try {
            if (auto* integer = dynamic_cast<IInteger*>(node)) {
                integer->GetMin();
                integer->GetMax();
                integer->GetInc();
            }
            if (auto* enumeration = dynamic_cast<IEnumeration*>(node)) {
                NodeList_t entries;
                enumeration->GetEntries(entries);
            }
        } catch (const GenICam::GenericException& e) {
            const std::string text = e.GetDescription();
            EXPECT_TRUE(text.find("division by zero") != std::string::npos ||
                        text.find("is not connected") != std::string::npos)
                << node->GetName() << ": " << text;
        }
    }
}

} // namespace

class Samples : public ::testing::TestWithParam<const char*> {};

TEST_P(Samples, EveryFeatureCanBeVisitedTypedAndRead)
{
    std::ifstream file(SamplePath(GetParam()), std::ios::binary);
    ASSERT_TRUE(file) << SamplePath(GetParam());
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

    CNodeMapRef map;
    map._LoadXMLFromString(text);
    MemoryPort memory;
    ASSERT_TRUE(map._Connect(&memory, "Device"));
    CCategoryPtr root = map._GetNode("Root");
    ASSERT_TRUE(root.IsValid());

    Walk walk;
    std::set<INode*> path;
    Visit(*root, walk, path);
    EXPECT_GT(walk.mFeatures, 50);
    EXPECT_GT(walk.mValues, 50);
    // All a zero-filled memory cannot give is a value that names an entry.
    for (const std::string& error : walk.mErrors) {
        EXPECT_NE(error.find("the value of none of its entries"), std::string::npos) << error;
    }

    // Every node of the map can be asked for its access mode and, when readable, its value.
    NodeList_t nodes;
    map._GetNodes(nodes);
    for (INode* node : nodes) {
        try {
            if (IsReadable(node)) {
                if (auto* value = dynamic_cast<IValue*>(node)) {
                    value->ToString();
                }
            }
        } catch (const GenICam::GenericException&) {
            // Zeros give formulas divisions by zero and enumerations values without entries.
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Makers, Samples,
                         ::testing::Values("Basler-acA1300-60gm.xml", "FLIR_BFLY_PGE_13H2M.xml",
                                           "Mikrotron_CXP_MC206xS11.xml", "Teledyne_ShadoBox.xml"));

TEST(Samples, WritesReachTheRegistersAndReadBack)
{
    std::ifstream file(SamplePath("Teledyne_ShadoBox.xml"), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    CNodeMapRef map;
    map._LoadXMLFromString(text);
    MemoryPort memory;
    map._Connect(&memory);
    CStringPtr user = map._GetNode("DeviceUserID");
    ASSERT_TRUE(user.IsValid());
    ASSERT_TRUE(IsWritable(user));
    user->SetValue("line 3");
    map._InvalidateNodes();
    EXPECT_EQ(user->GetValue(), "line 3");
    EXPECT_GE(memory.mWrites, 1);
}
