// The feature tree kavrix-describe prints, and the zero-filled memory it reads from.
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include <GenApi/GenApi.h>

#include "SparseMemoryPort.h"
#include "TreePrinter.h"

using namespace GenApi;

namespace {

const char* kDescription = R"(<?xml version="1.0" encoding="utf-8"?>
<RegisterDescription ModelName="Tree" VendorName="Kavrix" SchemaMajorVersion="1" SchemaMinorVersion="1"
  SchemaSubMinorVersion="0" MajorVersion="1" MinorVersion="0" SubMinorVersion="0" ProductGuid="0" VersionGuid="0"
  StandardNameSpace="None" xmlns="http://www.genicam.org/GenApi/Version_1_1">
<Port Name="Device"/>
<Category Name="Root"><pFeature>Image</pFeature><pFeature>Control</pFeature><pFeature>Loose</pFeature></Category>
<Category Name="Image"><pFeature>Width</pFeature><pFeature>PixelFormat</pFeature><pFeature>Nested</pFeature>
  <pFeature>Hidden</pFeature></Category>
<Category Name="Nested"><pFeature>Gain</pFeature><pFeature>Image</pFeature></Category>
<Category Name="Control"><pFeature>Start</pFeature><pFeature>Width</pFeature><pFeature>Lut</pFeature></Category>
<Integer Name="Loose"><Value>1</Value></Integer>
<IntReg Name="Width"><Address>0x10</Address><Length>4</Length><AccessMode>RW</AccessMode><pPort>Device</pPort></IntReg>
<Enumeration Name="PixelFormat"><EnumEntry Name="Mono8"><Value>17301505</Value></EnumEntry><pValue>Width</pValue></Enumeration>
<Float Name="Gain"><Value>1.5</Value></Float>
<Integer Name="No"><Value>0</Value></Integer>
<Integer Name="Hidden"><pIsAvailable>No</pIsAvailable><Value>3</Value></Integer>
<Command Name="Start"><pValue>Width</pValue><CommandValue>1</CommandValue></Command>
<Register Name="Lut"><Address>0x100</Address><Length>64</Length><AccessMode>RO</AccessMode><pPort>Device</pPort></Register>
</RegisterDescription>
)";

} // namespace

TEST(TreePrinter, PrintsTheRootCategoriesWithTheirFeaturesAndASummary)
{
    CNodeMapRef map;
    map._LoadXMLFromString(kDescription);
    SparseMemoryPort memory;
    ASSERT_TRUE(map._Connect(&memory));
    std::ostringstream out;
    TreePrinter printer(out);
    ASSERT_TRUE(printer.Print(map, 1.24));
    const std::string text = out.str();

    EXPECT_NE(text.find("[Image]\n  Width  Integer  RW  = 0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  PixelFormat  Enumeration  RW  error: Node 'PixelFormat': the camera holds 0"), std::string::npos)
        << text;
    EXPECT_NE(text.find("AccessException thrown"), std::string::npos);
    EXPECT_NE(text.find("  [Nested]\n    Gain  Float  RW  = 1.5\n    [Image] (contains itself)\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("  Hidden  Integer  NA  -\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Control]\n  Start  Command  RW  -\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  Lut  Register  RO  = " + std::string(64, '0') + "... (128 characters)\n"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("Loose"), std::string::npos);
    // Features of the top-level categories only: Width, PixelFormat, Hidden, Start, Width, Lut.
    const std::string summary = "summary: categories=2 features=6 values=3 errors=1 load_ms=1.2\n";
    ASSERT_GE(text.size(), summary.size());
    EXPECT_EQ(text.substr(text.size() - summary.size()), summary);
    EXPECT_EQ(printer.Summary().mFeatures, 6);
}

TEST(TreePrinter, TellsADeepTreeFromACategoryThatContainsItself)
{
    std::string categories = "<Category Name=\"Root\"><pFeature>C0</pFeature></Category>\n";
    for (int i = 0; i < 70; ++i) {
        categories += "<Category Name=\"C" + std::to_string(i) + "\"><pFeature>C" + std::to_string(i + 1) +
                      "</pFeature></Category>\n";
    }
    categories += "<Category Name=\"C70\"><pFeature>C0</pFeature></Category>\n";
    std::string description = kDescription;
    description.replace(description.find("<Category Name=\"Root\">"), std::string::npos,
                        categories + "</RegisterDescription>\n");
    CNodeMapRef map;
    map._LoadXMLFromString(description);
    std::ostringstream out;
    TreePrinter printer(out);
    ASSERT_TRUE(printer.Print(map, 0.0));
    const std::string text = out.str();
    // Nesting 20 deep is no cycle.
    EXPECT_NE(text.find(std::string(40, ' ') + "[C20]\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("(contains itself)"), std::string::npos) << text;
    EXPECT_NE(text.find(std::string(128, ' ') + "[C64] (nested deeper than 64 levels, not shown)\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("[C65]"), std::string::npos);
}

TEST(TreePrinter, PrintsWhatLoadingPassedOverFirst)
{
    std::string description = kDescription;
    for (const std::string node : {"<Float Name=\"Gain\">", "<Integer Name=\"Loose\">"}) {
        description.insert(description.find(node) + node.size(), "<Streamable/>");
    }
    CNodeMapRef map;
    map._LoadXMLFromString(description);
    std::ostringstream out;
    TreePrinter printer(out);
    ASSERT_TRUE(printer.Print(map, 0.0));
    EXPECT_EQ(out.str().rfind("warning: description line ", 0), 0u) << out.str();
    EXPECT_NE(out.str().find("'' is not a value of <Streamable>; ignored (and 1 more <Streamable> like it)\n[Image]"),
              std::string::npos)
        << out.str();
}

TEST(TreePrinter, SaysSoWhenThereIsNoRoot)
{
    CNodeMapRef map;
    std::ostringstream out;
    TreePrinter printer(out);
    EXPECT_FALSE(printer.Print(map, 0.0));
    EXPECT_EQ(out.str(), "no Root category\n");
}

TEST(SparseMemoryPort, ReadsZerosWhereNothingWasWritten)
{
    SparseMemoryPort memory;
    uint8_t bytes[6] = {9, 9, 9, 9, 9, 9};
    memory.Read(bytes, 0x1000, 6);
    for (uint8_t byte : bytes) {
        EXPECT_EQ(byte, 0);
    }
    const uint8_t written[3] = {1, 2, 3};
    memory.Write(written, 0x1002, 3);
    memory.Read(bytes, 0x1000, 6);
    const uint8_t expected[6] = {0, 0, 1, 2, 3, 0};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(bytes[i], expected[i]) << i;
    }
    EXPECT_EQ(memory.GetAccessMode(), RW);
}
