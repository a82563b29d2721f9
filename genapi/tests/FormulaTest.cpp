// The formula language of SwissKnife and converter nodes.
#include <cmath>
#include <cstdint>

#include "TestSupport.h"

using namespace GenApi;

namespace {

const double kPi = 3.14159265358979323846;

// Variables every formula below may use: X = 6 (range -10..100, increment 2),
// Y = -4, R = 2.5 and the enumeration N holding its entry Two (2).
const char* kVariables = R"(
<Integer Name="IntX"><Value>6</Value><Min>-10</Min><Max>100</Max><Inc>2</Inc></Integer>
<Integer Name="IntY"><Value>-4</Value></Integer>
<Float Name="FloatR"><Value>2.5</Value></Float>
<Enumeration Name="Enum"><EnumEntry Name="One"><Value>1</Value></EnumEntry>
  <EnumEntry Name="Two"><Value>2</Value></EnumEntry><Value>2</Value></Enumeration>
)";

std::string Knife(const char* kind, const std::string& formula)
{
    return std::string(kVariables) + "<" + kind + " Name=\"F\"><pVariable Name=\"X\">IntX</pVariable>" +
           "<pVariable Name=\"Y\">IntY</pVariable><pVariable Name=\"R\">FloatR</pVariable>" +
           "<pVariable Name=\"N\">Enum</pVariable><Formula>" + formula + "</Formula></" + kind + ">";
}

int64_t Int(const std::string& formula)
{
    TestMap map(Knife("IntSwissKnife", formula));
    return map.As<IInteger>("F")->GetValue();
}

double Float(const std::string& formula)
{
    TestMap map(Knife("SwissKnife", formula));
    return map.As<IFloat>("F")->GetValue();
}

} // namespace

TEST(Formula, OperatorsBindFromTernaryToUnary)
{
    EXPECT_EQ(Int("1+2*3"), 7);
    EXPECT_EQ(Int("(1+2)*3"), 9);
    EXPECT_EQ(Int("2*3**2"), 18);
    EXPECT_EQ(Int("2**3**2"), 512);
    EXPECT_EQ(Int("-2**2"), 4);
    EXPECT_EQ(Int("5-3-1"), 1);
    EXPECT_EQ(Int("100/10/5"), 2);
    EXPECT_EQ(Int("1&lt;&lt;2+1"), 8);
    EXPECT_EQ(Int("1|2&amp;3"), 3);
    EXPECT_EQ(Int("6^3&amp;1"), 7);
    EXPECT_EQ(Int("1|1^1"), 1);
    EXPECT_EQ(Int("1||0&amp;&amp;0"), 1);
    EXPECT_EQ(Int("3&gt;2&gt;1"), 0);
    EXPECT_EQ(Int("1&lt;2=1"), 1);
    EXPECT_EQ(Int("1+1=2"), 1);
    EXPECT_EQ(Int("1=1&amp;&amp;2=2"), 1);
    EXPECT_EQ(Int("1?2:0?3:4"), 2);
    EXPECT_EQ(Int("0?2:0?3:4"), 4);
    EXPECT_EQ(Int("0?1:1?5:6"), 5);
    EXPECT_EQ(Int(" ( ( 1 +\n 2 ) ) "), 3);
}

TEST(Formula, LiteralsHexadecimalAndFloatingPoint)
{
    EXPECT_EQ(Int("0x10+0X0f"), 31);
    EXPECT_EQ(Int("0xFFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(Int("0xFFFFFFFF"), 4294967295);
    EXPECT_EQ(Int("0x7FFFFFFFFFFFFFFF+1"), INT64_MIN);
    EXPECT_DOUBLE_EQ(Float("1.5*2"), 3.0);
    EXPECT_DOUBLE_EQ(Float(".5+.25"), 0.75);
    EXPECT_DOUBLE_EQ(Float("1e3+2.5E-1"), 1000.25);
    // An integer formula takes the nearest integer of a floating-point result.
    EXPECT_EQ(Int("2.6"), 3);
    EXPECT_EQ(Int("0.1*3*10"), 3);
}

TEST(Formula, Functions)
{
    EXPECT_EQ(Int("SGN(-3)+SGN(0)*10+SGN(9)*100"), 99);
    EXPECT_EQ(Int("NEG(2)"), -2);
    EXPECT_EQ(Int("ABS(-7)"), 7);
    EXPECT_DOUBLE_EQ(Float("ABS(-2.5)"), 2.5);
    EXPECT_DOUBLE_EQ(Float("SQRT(16)"), 4.0);
    EXPECT_DOUBLE_EQ(Float("TRUNC(-2.7)"), -2.0);
    EXPECT_DOUBLE_EQ(Float("FLOOR(-2.2)"), -3.0);
    EXPECT_DOUBLE_EQ(Float("CEIL(2.2)"), 3.0);
    EXPECT_DOUBLE_EQ(Float("ROUND(2.5)+ROUND(-2.5)*10"), -27.0);
    EXPECT_DOUBLE_EQ(Float("ROUND(3.14159, 2)"), 3.14);
    EXPECT_DOUBLE_EQ(Float("EXP(0)+LN(E)+LG(1000)"), 5.0);
    EXPECT_NEAR(Float("SIN(PI/2)+COS(0)+TAN(0)"), 2.0, 1e-12);
    EXPECT_NEAR(Float("ATAN(1)*4"), kPi, 1e-12);
    EXPECT_NEAR(Float("ASIN(1)*2+ACOS(1)"), kPi, 1e-12);
    EXPECT_DOUBLE_EQ(Float("round(2.4)"), 2.0);
}

TEST(Formula, VariablesAndTheirMembers)
{
    EXPECT_EQ(Int("X+Y"), 2);
    EXPECT_EQ(Int("X.Value*10+X.Inc"), 62);
    EXPECT_EQ(Int("X.Min*1000+X.Max"), -9900);
    EXPECT_DOUBLE_EQ(Float("R*2"), 5.0);
    EXPECT_EQ(Int("N"), 2);
    EXPECT_EQ(Int("N.Entry.One*10+N.Two"), 12);
    // A double variable makes its operations double ones in an integer formula.
    EXPECT_EQ(Int("R*2"), 5);

    TestMap map(std::string(kVariables) + R"(<IntSwissKnife Name="F"><pVariable Name="X">IntX</pVariable>
        <Constant Name="C">10</Constant><Expression Name="D">X*2</Expression><Expression Name="G">D+C</Expression>
        <Formula>G*2</Formula></IntSwissKnife>)");
    EXPECT_EQ(map.As<IInteger>("F")->GetValue(), 44);
    map.As<IInteger>("IntX")->SetValue(8);
    EXPECT_EQ(map.As<IInteger>("F")->GetValue(), 52);
}

TEST(Formula, DivisionTruncatesIntegersAndRefusesZero)
{
    EXPECT_EQ(Int("7/2"), 3);
    EXPECT_EQ(Int("-7/2"), -3);
    EXPECT_EQ(Int("7%3"), 1);
    EXPECT_EQ(Int("-7%3"), -1);
    EXPECT_EQ(Int("(0x7FFFFFFFFFFFFFFF+1)/-1"), INT64_MIN);
    EXPECT_DOUBLE_EQ(Float("7/2"), 3.5);
    EXPECT_DOUBLE_EQ(Float("7.5%2"), 1.5);

    for (const char* formula : {"1/0", "X/(Y+4)", "5%0"}) {
        TestMap map(Knife("IntSwissKnife", formula));
        EXPECT_THROW(map.As<IInteger>("F")->GetValue(), GenICam::RuntimeException) << formula;
    }
    TestMap map(Knife("SwissKnife", "R/0"));
    EXPECT_THROW(map.As<IFloat>("F")->GetValue(), GenICam::RuntimeException);
}

TEST(Formula, ShiftsAndBitOperations)
{
    EXPECT_EQ(Int("1&lt;&lt;4"), 16);
    EXPECT_EQ(Int("256&gt;&gt;4"), 16);
    EXPECT_EQ(Int("-16&gt;&gt;2"), -4);
    EXPECT_EQ(Int("1&lt;&lt;63"), INT64_MIN);
    EXPECT_EQ(Int("1&lt;&lt;64"), 0);
    EXPECT_EQ(Int("-1&gt;&gt;70"), -1);
    EXPECT_EQ(Int("5&gt;&gt;-1"), 10);
    EXPECT_EQ(Int("~0"), -1);
    EXPECT_EQ(Int("0xF0 | 0x0F ^ 0xFF"), 0xF0);
    // Bit operations in a float formula work on integers.
    EXPECT_DOUBLE_EQ(Float("4294967295 &amp; 0xFF"), 255.0);
}

TEST(Formula, ComparisonsAndLogic)
{
    EXPECT_EQ(Int("(2&lt;3)+(3&lt;=3)*10+(4&gt;=5)*100+(2&lt;&gt;2)*1000+(5&gt;4)*10000"), 10011);
    EXPECT_EQ(Int("2=2.0"), 1);
    EXPECT_EQ(Int("!0*10+!5"), 10);
    EXPECT_DOUBLE_EQ(Float("(R&gt;2)*3"), 3.0);
    // Only the branch that is taken is evaluated.
    EXPECT_EQ(Int("0 &amp;&amp; (1/0)"), 0);
    EXPECT_EQ(Int("1 || (1/0)"), 1);
    EXPECT_EQ(Int("1 ? 5 : 1/0"), 5);
}

TEST(Formula, MalformedFormulasFailTheLoadSayingWhere)
{
    for (const char* formula : {"1+", "(1+2", "1 2", "FOO(1)", "UNKNOWN+1", "1 ? 2", "X.Entry.Three", "3 $ 4",
                                "0x", "ROUND(1,2,3)", ""}) {
        const std::string error = LoadError(Description(Knife("IntSwissKnife", formula)));
        EXPECT_NE(error.find("line "), std::string::npos) << formula << ": " << error;
        EXPECT_NE(error.find("'F'"), std::string::npos) << formula << ": " << error;
    }
    const std::string error = LoadError(Description(std::string(kVariables) +
        R"(<IntSwissKnife Name="F"><Expression Name="A">B</Expression><Expression Name="B">A</Expression>
           <Formula>A</Formula></IntSwissKnife>)"));
    EXPECT_NE(error.find("refers to itself"), std::string::npos) << error;
}

namespace {

std::string Repeat(const std::string& text, int count)
{
    std::string repeated;
    for (int i = 0; i < count; ++i) {
        repeated += text;
    }
    return repeated;
}

// The if/else chains of real descriptions: (X=1000)?0:((X=1001)?1:(...(X=6)?42:-1)).
std::string Chain(int depth)
{
    std::string formula;
    for (int i = 0; i < depth; ++i) {
        formula += "(X=" + std::to_string(1000 + i) + ")?" + std::to_string(i) + ":(";
    }
    return formula + "(X=6)?42:-1" + std::string(static_cast<std::size_t>(depth), ')');
}

} // namespace

TEST(Formula, ChainsOfConditionsHundredsDeepLoadAndEvaluate)
{
    EXPECT_EQ(Int(Chain(300)), 42);
    EXPECT_EQ(Int(Repeat("(", 500) + "7" + Repeat(")", 500)), 7);
    EXPECT_EQ(Int(Repeat("X=1000?0:", 900) + "X"), 6);
    EXPECT_EQ(Int(Repeat("-", 900) + "5"), 5);
    EXPECT_EQ(Int("1?" + Repeat("1?", 400) + "3" + Repeat(":0", 400) + ":0"), 3);
    EXPECT_EQ(Int(Repeat("ABS(", 400) + "-2" + Repeat(")", 400)), 2);
    EXPECT_DOUBLE_EQ(Float(Repeat("1**", 500) + "2.5"), 1.0);
    EXPECT_DOUBLE_EQ(Float(Repeat("(R>100)?0:(", 300) + "R" + Repeat(")", 300)), 2.5);
}

TEST(Formula, HostileDepthIsRefusedCleanly)
{
    constexpr int kHostile = 100000;
    const std::string refused[] = {
        Repeat("(", kHostile) + "1" + Repeat(")", kHostile),
        Chain(kHostile),
        Repeat("-", kHostile) + "1",
        Repeat("~!", kHostile) + "1",
        Repeat("2**", kHostile) + "1",
        Repeat("1?", kHostile) + "1" + Repeat(":1", kHostile),
        Repeat("X?1:", kHostile) + "1",
        Repeat("SGN(", kHostile) + "1" + Repeat(")", kHostile),
        "1" + Repeat("+1", kHostile),
        Repeat("1+(", kHostile) + "1" + Repeat(")", kHostile),
    };
    for (const std::string& formula : refused) {
        const std::string error = LoadError(Description(Knife("IntSwissKnife", formula)));
        EXPECT_TRUE(error.find("nested deeper than") != std::string::npos ||
                    error.find("operations deep") != std::string::npos)
            << error.substr(0, 300);
        // The formula is quoted by its beginning only.
        EXPECT_LT(error.size(), 800u) << error.substr(0, 300);
    }
    // Expressions that use each other in place nest as deeply as parentheses.
    std::string expressions;
    for (int i = 0; i < 1000; ++i) {
        expressions += "<Expression Name=\"E" + std::to_string(i) + "\">E" + std::to_string(i + 1) + "+1</Expression>";
    }
    expressions += "<Expression Name=\"E1000\">1</Expression>";
    const std::string error = LoadError(Description(
        "<IntSwissKnife Name=\"F\">" + expressions + "<Formula>E0</Formula></IntSwissKnife>"));
    EXPECT_NE(error.find("nested deeper than"), std::string::npos) << error.substr(0, 300);
}

TEST(Formula, FormulasReadingFormulasAreBoundedTogether)
{
    // Each knife adds a thousand operations on top of the one it reads: two
    // evaluate, a hundred would recurse far enough to exhaust a thread's stack.
    std::string nodes = "<Integer Name=\"K0\"><Value>1</Value></Integer>";
    for (int i = 1; i <= 100; ++i) {
        nodes += "<IntSwissKnife Name=\"K" + std::to_string(i) + "\"><pVariable Name=\"V\">K" +
                 std::to_string(i - 1) + "</pVariable><Formula>V" + Repeat("+1", 1000) + "</Formula></IntSwissKnife>\n";
    }
    TestMap map(nodes);
    EXPECT_EQ(map.As<IInteger>("K2")->GetValue(), 2001);
    try {
        map.As<IInteger>("K100")->GetValue();
        ADD_FAILURE() << "K100 evaluated";
    } catch (const GenICam::RuntimeException& e) {
        EXPECT_NE(std::string(e.GetDescription()).find("operations deep"), std::string::npos) << e.GetDescription();
    }
    // The refusal leaves nothing behind: the shallow one still evaluates.
    EXPECT_EQ(map.As<IInteger>("K1")->GetValue(), 1001);
}

TEST(Formula, ErrorsQuoteLongFormulasByTheirBeginning)
{
    // A malformed formula of 200 KB on one line.
    const std::string error = LoadError(Description(Knife("IntSwissKnife", Repeat("X+", 100000) + ")")));
    EXPECT_NE(error.find("formula 'X+X+X+"), std::string::npos) << error.substr(0, 300);
    EXPECT_NE(error.find("... (200001 characters)"), std::string::npos) << error.substr(0, 300);
    EXPECT_LT(error.size(), 600u);

    TestMap map(Knife("IntSwissKnife", Repeat("0*", 300) + "X/(Y+4)"));
    try {
        map.As<IInteger>("F")->GetValue();
        ADD_FAILURE() << "no division by zero";
    } catch (const GenICam::RuntimeException& e) {
        const std::string text = e.GetDescription();
        EXPECT_NE(text.find("division by zero in formula '0*0*"), std::string::npos) << text;
        EXPECT_LT(text.size(), 400u) << text;
    }
}

TEST(Formula, ConvertersMapBothWaysAndFindTheNearestRegisterValue)
{
    // FormulaTo is not the exact inverse: 2 converts to 6.6, yet 6 is what reads back as 2.
    TestMap map(IntReg("Raw", 0x100, 1) + R"(
        <Converter Name="Third"><FormulaTo>FROM*3+0.6</FormulaTo><FormulaFrom>TO/3</FormulaFrom>
          <pValue>Raw</pValue><Slope>Increasing</Slope></Converter>
        <Converter Name="Down"><FormulaTo>100-FROM</FormulaTo><FormulaFrom>100-TO</FormulaFrom>
          <pValue>Raw</pValue><Slope>Automatic</Slope></Converter>
        <Converter Name="Any"><FormulaTo>FROM</FormulaTo><FormulaFrom>TO</FormulaFrom>
          <pValue>Raw</pValue><Slope>Varying</Slope></Converter>
        <IntConverter Name="Flag"><pVariable Name="OLD">Raw</pVariable>
          <FormulaTo>(FROM=1)?(OLD|2):(OLD&amp;0xFD)</FormulaTo><FormulaFrom>(TO&amp;2)?1:0</FormulaFrom>
          <pValue>Raw</pValue><Slope>Varying</Slope></IntConverter>)");
    IFloat* third = map.As<IFloat>("Third");
    third->SetValue(2.0);
    EXPECT_EQ(map.mPort.Get(0x100, 1, false), 6u);
    EXPECT_DOUBLE_EQ(third->GetValue(), 2.0);
    EXPECT_DOUBLE_EQ(third->GetMin(), 0.0);
    EXPECT_DOUBLE_EQ(third->GetMax(), 85.0);
    IFloat* down = map.As<IFloat>("Down");
    EXPECT_DOUBLE_EQ(down->GetMin(), -155.0);
    EXPECT_DOUBLE_EQ(down->GetMax(), 100.0);
    EXPECT_THROW(down->SetValue(101.0), GenICam::OutOfRangeException);
    EXPECT_GT(map.As<IFloat>("Any")->GetMax(), 1e300);

    map.mPort.Set(0x100, 0x81, 1, false);
    map.mMap._InvalidateNodes();
    IInteger* flag = map.As<IInteger>("Flag");
    EXPECT_EQ(flag->GetValue(), 0);
    flag->SetValue(1);
    EXPECT_EQ(map.mPort.Get(0x100, 1, false), 0x83u);
    EXPECT_EQ(flag->GetValue(), 1);
    flag->SetValue(0);
    EXPECT_EQ(map.mPort.Get(0x100, 1, false), 0x81u);
}

TEST(Formula, ConvertersOverFloatRegistersAndIncreasingIntegerRanges)
{
    TestMap map(R"(<FloatReg Name="Seconds"><Address>0x10</Address><Length>8</Length><AccessMode>RW</AccessMode>
          <pPort>Device</pPort></FloatReg>
        <Converter Name="Milliseconds"><FormulaTo>FROM/1000</FormulaTo><FormulaFrom>TO*1000</FormulaFrom>
          <pValue>Seconds</pValue><Slope>Increasing</Slope></Converter>
        <IntReg Name="Raw"><Address>0x20</Address><Length>1</Length><AccessMode>RW</AccessMode><pPort>Device</pPort>
          <Sign>Signed</Sign></IntReg>
        <IntConverter Name="Doubled"><FormulaTo>FROM/2</FormulaTo><FormulaFrom>TO*2</FormulaFrom>
          <pValue>Raw</pValue><Slope>Increasing</Slope></IntConverter>)");
    // A float register takes the converted value as it is, without rounding.
    IFloat* milliseconds = map.As<IFloat>("Milliseconds");
    milliseconds->SetValue(2.5);
    EXPECT_DOUBLE_EQ(map.As<IFloat>("Seconds")->GetValue(), 0.0025);
    EXPECT_DOUBLE_EQ(milliseconds->GetValue(), 2.5);

    IInteger* doubled = map.As<IInteger>("Doubled");
    EXPECT_EQ(doubled->GetMin(), -256);
    EXPECT_EQ(doubled->GetMax(), 254);
    doubled->SetValue(-10);
    EXPECT_EQ(map.As<IInteger>("Raw")->GetValue(), -5);
    EXPECT_THROW(doubled->SetValue(300), GenICam::OutOfRangeException);
}
