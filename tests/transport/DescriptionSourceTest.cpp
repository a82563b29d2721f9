// Where a description comes from: the producer's URL and zipped archives.
#include "support/ZipBuilder.h"
#include "transport/CameraError.h"
#include "transport/DescriptionUrl.h"
#include "transport/ZipArchive.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace Kavrix;

namespace {

std::string ErrorOfUnzip(const std::string& archive)
{
    try {
        UnzipFirstEntry(archive.data(), archive.size());
    } catch (const CameraError& e) {
        return e.what();
    }
    return "(no exception)";
}

TEST(DescriptionUrlTest, LocalUrlsAreCaseBlind)
{
    const DescriptionUrl plain = DescriptionUrl::Parse("Local:Camera.XML;10000;2a4f");
    EXPECT_EQ(plain.prefix, "local");
    EXPECT_EQ(plain.fileName, "camera.xml");
    EXPECT_EQ(plain.address, 0x10000u);
    EXPECT_EQ(plain.length, 0x2a4fu);
    EXPECT_FALSE(plain.zipped);

    const DescriptionUrl zipped = DescriptionUrl::Parse("LOCAL:x.ZIP;0x10000;2A4F?SchemaVersion=1.1.0");
    EXPECT_TRUE(zipped.zipped);
    EXPECT_EQ(zipped.address, 0x10000u);
    EXPECT_EQ(zipped.length, 0x2a4fu) << "hexadecimal digits end at the first other character";
}

TEST(DescriptionUrlTest, FileAndOtherForms)
{
    const DescriptionUrl file = DescriptionUrl::Parse("FILE:Model.ZIP");
    EXPECT_EQ(file.prefix, "file");
    EXPECT_EQ(file.fileName, "model.zip");
    EXPECT_TRUE(file.zipped);

    EXPECT_EQ(DescriptionUrl::Parse("HTTP://example/x.xml").prefix, "http");
    EXPECT_EQ(DescriptionUrl::Parse("NoColonAtAll").prefix, "nocolonatall");

    const DescriptionUrl shortLocal = DescriptionUrl::Parse("local:only-a-name");
    EXPECT_EQ(shortLocal.address, 0u);
    EXPECT_EQ(shortLocal.length, 0u);
}

TEST(DescriptionUrlTest, HexNumbersStayWithin32Bits)
{
    EXPECT_EQ(ParseUrlHex("ffffffff"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseUrlHex("123456789"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseUrlHex("12zz"), 0x12u);
    EXPECT_EQ(ParseUrlHex(""), 0u);
    EXPECT_EQ(ParseUrlHex("0x"), 0u);
}

TEST(ZipArchiveTest, FirstEntryIsTakenWhateverItIs)
{
    const std::string xml = "<RegisterDescription/>";
    EXPECT_EQ(UnzipFirstEntry(TestSupport::BuildZip({{"a.xml", xml}}).data(),
                              TestSupport::BuildZip({{"a.xml", xml}}).size()),
              xml);
    const std::string two = TestSupport::BuildZip({{"readme.txt", "not a description", false}, {"b.xml", xml}});
    EXPECT_EQ(UnzipFirstEntry(two.data(), two.size()), "not a description");

    const std::string withZero = TestSupport::BuildZip({{"c.xml", std::string("<a/>\0tail", 9)}});
    EXPECT_EQ(UnzipFirstEntry(withZero.data(), withZero.size()), "<a/>") << "the text ends at its first zero";

    const std::string large(3 << 20, 'x');
    const std::string packed = TestSupport::BuildZip({{"large.xml", large}});
    EXPECT_EQ(UnzipFirstEntry(packed.data(), packed.size()), large);
}

TEST(ZipArchiveTest, DamagedArchivesAreRefused)
{
    const std::string invalid = "Device::GetXml: Invalid zipped XML";
    const std::string archive = TestSupport::BuildZip({{"a.xml", std::string(2000, 'a') + "<RegisterDescription/>"}});
    EXPECT_EQ(ErrorOfUnzip(""), invalid);
    EXPECT_EQ(ErrorOfUnzip("<RegisterDescription/> is not an archive"), invalid);
    EXPECT_EQ(ErrorOfUnzip(archive.substr(0, archive.size() / 2)), invalid);
    EXPECT_EQ(ErrorOfUnzip(TestSupport::BuildZip({})), invalid) << "no entry at all";

    // A flipped byte in the packed data fails the inflate or the CRC check.
    std::string corrupt = archive;
    corrupt[40] = static_cast<char>(corrupt[40] ^ 0x55);
    EXPECT_EQ(ErrorOfUnzip(corrupt), invalid);

}

// An entry that claims more than any description needs is not allocated, and
// says so as every other description too large to take in does.
TEST(ZipArchiveTest, AnEntryOverTheDescriptionLimitIsOutOfMemory)
{
    std::string huge = TestSupport::BuildZip({{"a.xml", "<x/>", false}});
    const std::size_t directory = huge.rfind(std::string("PK\x01\x02", 4));
    ASSERT_NE(directory, std::string::npos);
    // The uncompressed size in the central directory, little-endian.
    const std::uint32_t size = static_cast<std::uint32_t>(MaxDescriptionSize) + 1;
    for (std::size_t i = 0; i < 4; ++i) {
        huge[directory + 24 + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
    }
    EXPECT_EQ(ErrorOfUnzip(huge), "Device::GetXml: Out of memory");
}

}
