#include "export/LookupConverter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "common/Cp1250.h"
#include "common/Error.h"
#include "common/LineFileReader.h"
#include "common/Words.h"

namespace iwv {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// Windows-1250 bytes of a UTF-8 literal, as the host writes them.
template <std::size_t N>
std::string W(const char (&utf8)[N]) {
    return std::string(Cp1250(utf8).view());
}

LookupConverter Converter(int nameLength, int priceLevel) { return LookupConverter{nameLength, priceLevel}; }

// The lookup line that converting a goods file of the one goods line gives.
std::string LookupLineOf(const LookupConverter& converter, const std::string& goodsLine) {
    TempDir dir;
    WriteBytes(dir.File("goods.txt"), goodsLine + "\r\n");
    const ConversionCounts counts = converter.Convert(platform::SystemFileSystem(), dir.File("goods.txt"), dir.File("inwout.txt"));
    EXPECT_EQ(counts.read, 1u);
    EXPECT_EQ(counts.written, 1u);
    std::string lookup = ReadBytes(dir.File("inwout.txt"));
    EXPECT_EQ(lookup.substr(lookup.size() - 2), "\r\n");
    lookup.resize(lookup.size() - 2);
    return lookup;
}

struct LineCase {
    std::string goods;
    int priceLevel;
    std::string lookup;
};

void PrintTo(const LineCase& c, std::ostream* out) {
    *out << testing::PrintToString(c.goods) << " at price level " << c.priceLevel;
}

class LookupLines : public testing::TestWithParam<LineCase> {};

TEST_P(LookupLines, BuildsTheLookupLine) {
    const LineCase& c = GetParam();
    EXPECT_EQ(LookupLineOf(Converter(20, c.priceLevel), c.goods), c.lookup);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LookupLines,
    testing::Values(
        LineCase{W("X;123456;Mąka pszenna, typ 450;189;249;12500"), 0, W("Mąka pszenna. typ 45,123456,12.500,0,2.49")},
        LineCase{W("X;123456;Mąka pszenna, typ 450;189;249;12500"), 1, W("Mąka pszenna. typ 45,123456,12.500,0,1.89")},
        LineCase{"", 0, ",,,0,"},
        LineCase{"X;77", 0, ",77,,0,"},
        LineCase{W("X;77;Sól"), 0, W("Sól,77,,0,")},
        LineCase{W("X;77;Sól;5;0;1000"), 0, W("Sól,77,1.000,0,0")},
        LineCase{W("X;77;Sól;5;0;1000"), 1, W("Sól,77,1.000,0,0.05")},
        LineCase{W("X;77;Sól;5;0;1000;23;szt"), 0, W("Sól,77,1.000,0,0")},
        LineCase{W("X;77;Sól;;;"), 0, W("Sól,77,,0,")},
        // Only the name loses its commas; a comma in the code adds a field.
        LineCase{W("X;7,7;Sól;5;0;1000"), 0, W("Sól,7,7,1.000,0,0")},
        LineCase{W("X;77; Sól ;5;0;0"), 0, W(" Sól ,77,0,0,0")},
        LineCase{W("X;77;Sól;5;0;00"), 0, W("Sól,77,0.000,0,0")},
        // Any price level but 1 is the retail price.
        LineCase{W("X;77;Sól;5;7;1"), 2, W("Sól,77,0.001,0,0.07")},
        LineCase{"\"X\";\"77\";\"a\"", 0, "\"a\",\"77\",,0,"}));

struct NameCase {
    std::string name;
    int length;
    std::string expected;
};

void PrintTo(const NameCase& c, std::ostream* out) {
    *out << testing::PrintToString(c.name) << " to " << c.length;
}

class NameRule : public testing::TestWithParam<NameCase> {};

TEST_P(NameRule, ReplacesCommasAndCutsToTheLength) {
    const NameCase& c = GetParam();
    EXPECT_EQ(LookupLineOf(Converter(c.length, 0), "X;1;" + c.name), c.expected + ",1,,0,");
}

const std::string k140 = std::string(20, 'a') + std::string(100, 'b') + std::string(20, 'c');
const std::string k150 = std::string(20, 'a') + std::string(120, 'b') + std::string(10, 'c');

INSTANTIATE_TEST_SUITE_P(
    Table, NameRule,
    testing::Values(NameCase{W("Sól"), 10, W("Sól")}, NameCase{"Mleko 3,2%", 10, "Mleko 3.2%"},
                    NameCase{W("Masło extra 200 g"), 10, W("Masło extr")}, NameCase{"a,b,,c,", 10, "a.b..c."},
                    NameCase{W("Chleb żytni, krojony 500 g"), 15, W("Chleb żytni. kr")},
                    NameCase{W("Śmietana 18%, kubek 200 g"), 20, W("Śmietana 18%. kubek ")},
                    NameCase{W("Ćwikła z chrzanem, słoik 300 g"), 25, W("Ćwikła z chrzanem. słoik ")},
                    NameCase{W("Żurek śląski w butelce, 500 ml, Łódź"), 30, W("Żurek śląski w butelce. 500 ml")},
                    NameCase{"", 20, ""}, NameCase{"  x  ", 3, "  x"}, NameCase{k140, 20, std::string(20, 'a')},
                    NameCase{k150, 20, std::string(20, 'a')}));

TEST(NameRule, KeepsANameOfExactlyNAndCutsLongerOnesToN) {
    const std::string name = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (int n : {10, 15, 20, 25, 30}) {
        SCOPED_TRACE(n);
        const std::string exact = name.substr(0, static_cast<std::size_t>(n));
        for (std::size_t length : {exact.size(), exact.size() + 1, name.size()})
            EXPECT_EQ(LookupLineOf(Converter(n, 0), "X;1;" + name.substr(0, length)), exact + ",1,,0,");
    }
}

struct NumberCase {
    std::string text;
    std::string thousandths;
    std::string hundredths;
};

void PrintTo(const NumberCase& c, std::ostream* out) { *out << testing::PrintToString(c.text); }

class NumberRules : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberRules, InsertThePointByLength) {
    const NumberCase& c = GetParam();
    const std::string goods = "X;1;a;" + c.text + ";" + c.text + ";" + c.text;
    EXPECT_EQ(LookupLineOf(Converter(20, 0), goods), "a,1," + c.thousandths + ",0," + c.hundredths);
}

INSTANTIATE_TEST_SUITE_P(Table, NumberRules,
                         testing::Values(NumberCase{"", "", ""}, NumberCase{"0", "0", "0"},
                                         NumberCase{"00", "0.000", "0.00"}, NumberCase{"5", "0.005", "0.05"},
                                         NumberCase{"05", "0.005", "0.05"}, NumberCase{"12", "0.012", "0.12"},
                                         NumberCase{"123", "0.123", "1.23"}, NumberCase{"1000", "1.000", "10.00"},
                                         NumberCase{"12500", "12.500", "125.00"},
                                         NumberCase{"000", "0.000", "0.00"},
                                         NumberCase{"1234567890", "1234567.890", "12345678.90"},
                                         // Only the length counts: signs and spaces pass through.
                                         NumberCase{"-1250", "-1.250", "-12.50"}, NumberCase{" 7", "0.0 7", "0. 7"}));

class LookupFile : public testing::Test {
protected:
    TempDir dir;
    const std::string goods = dir.File("goods.txt");
    const std::string lookup = dir.File("inwout.txt");
};

TEST_F(LookupFile, ConvertsEveryLineInOrder) {
    WriteBytes(goods, W("1;5900001;Mąka pszenna, typ 450;189;249;12500\r\n"
                        "\r\n"
                        "2;5900002;Sól;5;0;1000\n"
                        "3;5900003;Żółty ser gouda w plastrach 150 g;599;799;2\r"
                        "4;5900001;Mąka pszenna, typ 450;189;249;12500"));
    const ConversionCounts counts = Converter(20, 0).Convert(platform::SystemFileSystem(), goods, lookup);
    EXPECT_EQ(counts.read, 5u);
    EXPECT_EQ(counts.written, 5u);
    EXPECT_EQ(ReadBytes(lookup), W("Mąka pszenna. typ 45,5900001,12.500,0,2.49\r\n"
                                   ",,,0,\r\n"
                                   "Sól,5900002,1.000,0,0\r\n"
                                   "Żółty ser gouda w pl,5900003,0.002,0,7.99\r\n"
                                   "Mąka pszenna. typ 45,5900001,12.500,0,2.49\r\n"));
}

// Block ends of the reader fall everywhere inside the lines: in names that
// are cut, in numbers, between CR and LF.
TEST_F(LookupFile, ConvertsLinesThatSpanTheReadersBlocks) {
    const std::string goodsLines = W("1;5900001;Mąka pszenna, typ 450, w worku 5 kg;189;249;12500\r\n"
                                     "2;5900002;Sól;5;0;1000;23;szt\r\n");
    const std::string lookupLines = W("Mąka pszenna. typ 45,5900001,12.500,0,2.49\r\n"
                                      "Sól,5900002,1.000,0,0\r\n");
    std::string goodsBytes;
    std::string expected;
    for (std::size_t i = 0; goodsBytes.size() < 3 * LineFileReader::kBlockBytes; ++i) {
        goodsBytes += goodsLines;
        expected += lookupLines;
    }
    WriteBytes(goods, goodsBytes);
    Converter(20, 0).Convert(platform::SystemFileSystem(), goods, lookup);
    EXPECT_TRUE(ReadBytes(lookup) == expected);
}

// Fields longer than the splitter holds, in a line longer than the reader's
// block: code and numbers pass whole, the name is cut to N.
TEST_F(LookupFile, LongFieldsPassWholeWhereTheRulesKeepThem) {
    const std::size_t kLong = LineFileReader::kBlockBytes + WordSplitter::kKeptBytes;
    const std::string code = std::string(kLong, 'c') + ",d";
    const std::string name = "N" + std::string(kLong, ',');
    const std::string purchase = std::string(kLong, '1') + "789";
    const std::string retail = std::string(kLong, '2') + "345";
    const std::string quantity = std::string(kLong, '3') + "456";
    const std::string longLine = "1;" + code + ";" + name + ";" + purchase + ";" + retail + ";" + quantity;
    WriteBytes(goods, "X;1;A;1;2;3\r\n" + longLine + "\r\n" + longLine);
    const std::string quantityText = std::string(kLong, '3') + ".456";
    for (const int priceLevel : {0, 1}) {
        SCOPED_TRACE(priceLevel);
        const std::string& price = priceLevel == 1 ? purchase : retail;
        const std::string priceText = price.substr(0, price.size() - 2) + "." + price.substr(price.size() - 2);
        const std::string longLookup = "N" + std::string(9, '.') + "," + code + "," + quantityText + ",0," + priceText + "\r\n";
        Converter(10, priceLevel).Convert(platform::SystemFileSystem(), goods, lookup);
        EXPECT_TRUE(ReadBytes(lookup) == std::string(priceLevel == 1 ? "A,1,0.003,0,0.01\r\n" : "A,1,0.003,0,0.02\r\n") +
                                             longLookup + longLookup);
    }
}

TEST_F(LookupFile, EmptyGoodsFileGivesAnEmptyLookupFile) {
    WriteBytes(goods, "");
    WriteBytes(lookup, "from an earlier export\r\n");
    EXPECT_EQ(Converter(20, 0).Convert(platform::SystemFileSystem(), goods, lookup).written, 0u);
    EXPECT_EQ(ReadBytes(lookup), "");
}

TEST_F(LookupFile, MissingGoodsFileLeavesTheLookupFile) {
    WriteBytes(lookup, "from an earlier export\r\n");
    try {
        Converter(20, 0).Convert(platform::SystemFileSystem(), goods, lookup);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.Message(), "Cannot open file " + goods);
    }
    EXPECT_EQ(ReadBytes(lookup), "from an earlier export\r\n");
}

TEST_F(LookupFile, MissingLookupDirectoryNamesTheLookupPath) {
    WriteBytes(goods, "1;2;a;1;1;1\r\n");
    const std::string nowhere = (dir.Path() / "missing" / "inwout.txt").string();
    try {
        Converter(20, 0).Convert(platform::SystemFileSystem(), goods, nowhere);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.Message(), "Cannot create file " + nowhere);
    }
}

}  // namespace
}  // namespace iwv
