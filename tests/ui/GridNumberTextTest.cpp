#include "ui/GridNumberText.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cstdint>
#include <limits>
#include <string>

using namespace GridNumberText;

TEST(GridNumberText, IntegersReadLikeTheCLibraryButSaturate)
{
    EXPECT_EQ(ParseInteger("1280"), 1280);
    EXPECT_EQ(ParseInteger("  \t-42"), -42);
    EXPECT_EQ(ParseInteger("+7"), 7);
    EXPECT_EQ(ParseInteger("12px"), 12);
    EXPECT_EQ(ParseInteger("1.9"), 1);
    EXPECT_EQ(ParseInteger("abc"), 0);
    EXPECT_EQ(ParseInteger("-"), 0);
    EXPECT_EQ(ParseInteger("- 5"), 0);
    EXPECT_EQ(ParseInteger("4294967306"), 4294967306);
    EXPECT_EQ(ParseInteger("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(ParseInteger("9223372036854775808"), INT64_MAX);
    EXPECT_EQ(ParseInteger("99999999999999999999999"), INT64_MAX);
    EXPECT_EQ(ParseInteger("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(ParseInteger("-9223372036854775809"), INT64_MIN);
    EXPECT_EQ(ParseInteger("-99999999999999999999999"), INT64_MIN);
}

TEST(GridNumberText, DoublesReadTheCLocalesDecimalSyntax)
{
    EXPECT_EQ(ParseDouble("30.0003001"), 30.0003001);
    EXPECT_EQ(ParseDouble(" -1.5e3"), -1500.0);
    EXPECT_EQ(ParseDouble("+.25"), 0.25);
    EXPECT_EQ(ParseDouble("7."), 7.0);
    EXPECT_EQ(ParseDouble("1,5"), 1.0) << "a comma ends the number";
    EXPECT_EQ(ParseDouble("2e"), 2.0) << "an exponent needs digits";
    EXPECT_EQ(ParseDouble("2e+x"), 2.0);
    EXPECT_EQ(ParseDouble("0x10"), 0.0) << "decimal only";
    EXPECT_EQ(ParseDouble("inf"), 0.0);
    EXPECT_EQ(ParseDouble("nan"), 0.0);
    EXPECT_EQ(ParseDouble("."), 0.0);
    EXPECT_EQ(ParseDouble("1e999"), DBL_MAX) << "no infinity reaches a row";
    EXPECT_EQ(ParseDouble("-1e999"), -DBL_MAX);
    EXPECT_EQ(ParseDouble("0.0000001e-999"), 0.0);
    EXPECT_EQ(ParseDouble("1e-310"), 1e-310) << "subnormal numbers are numbers";
    EXPECT_EQ(ParseDouble("0.1"), 0.1) << "correctly rounded";
    EXPECT_EQ(ParseDouble("2.2250738585072014e-308"), DBL_MIN);
}

TEST(GridNumberText, IntegerFormatsUseAll64BitsAndRefuseWhatDoesNotFit)
{
    EXPECT_EQ(FormatInteger("", -5), "-5");
    EXPECT_EQ(FormatInteger("%I64d", INT64_MIN), "-9223372036854775808");
    EXPECT_EQ(FormatInteger("%d", 4294967306), "4294967306") << "no truncation to 32 bits";
    EXPECT_EQ(FormatInteger("%ld px", 12), "12 px");
    EXPECT_EQ(FormatInteger("%6lld|", 12), "    12|");
    EXPECT_EQ(FormatInteger("%-4I64u|", 3), "3   |");
    EXPECT_EQ(FormatInteger("0x%08I64X", 0xBEEF), "0x0000BEEF");
    EXPECT_EQ(FormatInteger("%x", -1), "ffffffffffffffff");
    EXPECT_EQ(FormatInteger("100%% at %d%%", 5), "100% at 5%");
    EXPECT_EQ(FormatInteger("fixed", 5), "fixed") << "a format without a conversion is text";
    // A conversion for something else, two of them, or absurd sizes would be
    // unsafe in a C library call: the default format is used.
    EXPECT_EQ(FormatInteger("%s", 5), "5");
    EXPECT_EQ(FormatInteger("%d %d", 5), "5");
    EXPECT_EQ(FormatInteger("%n", 5), "5");
    EXPECT_EQ(FormatInteger("%*d", 5), "5");
    EXPECT_EQ(FormatInteger("%999999d", 5), "5");
    EXPECT_EQ(FormatInteger("%f", 5), "5");
    EXPECT_EQ(FormatInteger("%", 5), "5");
}

TEST(GridNumberText, DoubleFormatsWriteAPoint)
{
    EXPECT_EQ(FormatDouble("", 0.5), "0.5");
    EXPECT_EQ(FormatDouble("%.7g", 30.0003001), "30.0003");
    EXPECT_EQ(FormatDouble("%8.2f|", 3.14159), "    3.14|");
    EXPECT_EQ(FormatDouble("%e", 1500.0), "1.500000e+03");
    EXPECT_EQ(FormatDouble("%lf", 2.0), "2.000000");
    EXPECT_EQ(FormatDouble("%d", 2.5), "2.5") << "an integer conversion falls back to %g";
    EXPECT_EQ(FormatDouble("%g %g", 2.5), "2.5");
}

// The host may have switched the process to a locale that writes a decimal
// comma; the grid must still show and read a point.
TEST(GridNumberText, TheProcessLocaleChangesNothing)
{
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "German_Germany.1252", "de-DE"};
    const char* found = nullptr;
    for (const char* name : names) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            found = name;
            break;
        }
    }
    if (found == nullptr) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    const bool comma = std::string(probe) == "1,5";
    const std::string shown = FormatDouble("%.3f", 1.25);
    const std::string prefill = FormatDouble("%.7g", 30.0003001);
    const double read = ParseDouble("30.0003001");
    const double readComma = ParseDouble("1,5");
    std::setlocale(LC_NUMERIC, previous.c_str());

    if (!comma) {
        GTEST_SKIP() << "the C library writes no comma in " << found;
    }
    EXPECT_EQ(shown, "1.250");
    EXPECT_EQ(prefill, "30.0003");
    EXPECT_EQ(read, 30.0003001);
    EXPECT_EQ(readComma, 1.0);
}
