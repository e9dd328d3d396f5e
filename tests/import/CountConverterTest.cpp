#include "import/CountConverter.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "common/Error.h"
#include "common/LineFileReader.h"
#include "common/Words.h"

namespace iwv {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

struct QuantityCase {
    std::string quantity;
    std::optional<std::string> normalized;
};

void PrintTo(const QuantityCase& c, std::ostream* out) { *out << testing::PrintToString(c.quantity); }

class Quantities : public testing::TestWithParam<QuantityCase> {};

TEST_P(Quantities, AreWrittenInThousandths) {
    const std::optional<NormalizedQuantity> normalized = NormalizeQuantity(GetParam().quantity);
    ASSERT_EQ(normalized.has_value(), GetParam().normalized.has_value());
    if (!normalized) return;
    EXPECT_EQ(std::string(normalized->whole) + std::string(normalized->fraction) + std::string(normalized->padding),
              *GetParam().normalized);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Quantities,
    testing::Values(QuantityCase{"12", "12000"}, QuantityCase{"00012", "00012000"}, QuantityCase{"0", "0000"},
                    QuantityCase{"", "000"}, QuantityCase{"1.", "1000"}, QuantityCase{"1.5", "1500"},
                    QuantityCase{".5", "500"}, QuantityCase{".", std::nullopt}, QuantityCase{"0.25", "0250"},
                    QuantityCase{"12.345", "12345"}, QuantityCase{"1.23456", "1234"}, QuantityCase{"2.5009", "2500"},
                    QuantityCase{"12345.5", "12345500"}, QuantityCase{"123456", "123456000"},
                    // Six or more characters before the point are a quantity like any other.
                    QuantityCase{"123456.5", "123456500"}, QuantityCase{"1234567.", "1234567000"},
                    QuantityCase{"1.2.3", "12.3"}, QuantityCase{"..", ".00"}, QuantityCase{"-1.5", "-1500"},
                    QuantityCase{" 1.5 ", " 15 0"}, QuantityCase{"00000", "00000000"}));

// The count file that converting the terminal data bytes gives, and the
// conversion's counts.
struct Converted {
    std::string count;
    ConversionCounts counts;
};

Converted Convert(const std::string& terminalBytes) {
    TempDir dir;
    WriteBytes(dir.File("inwin.txt"), terminalBytes);
    const ConversionCounts counts = CountConverter::Convert(platform::SystemFileSystem(), dir.File("inwin.txt"), dir.File("count.txt"));
    return {ReadBytes(dir.File("count.txt")), counts};
}

// Which count, beside the lines read, a terminal line adds to.
enum class Outcome { Written, WrongFieldCount, NothingCounted, NoValue };

struct LineCase {
    std::string terminal;
    std::string count;  // empty: no count line
    Outcome outcome;
};

void PrintTo(const LineCase& c, std::ostream* out) { *out << testing::PrintToString(c.terminal); }

class CountLines : public testing::TestWithParam<LineCase> {};

TEST_P(CountLines, GiveOneCountLineOrNoneForAReason) {
    const LineCase& c = GetParam();
    const Converted converted = Convert(c.terminal + "\r\n");
    EXPECT_EQ(converted.count, c.count.empty() ? "" : c.count + "\r\n");
    const ConversionCounts& n = converted.counts;
    EXPECT_EQ(n.read, 1u);
    EXPECT_EQ(n.written, c.outcome == Outcome::Written ? 1u : 0u);
    EXPECT_EQ(n.wrongFieldCount, c.outcome == Outcome::WrongFieldCount ? 1u : 0u);
    EXPECT_EQ(n.nothingCounted, c.outcome == Outcome::NothingCounted ? 1u : 0u);
    EXPECT_EQ(n.noValue, c.outcome == Outcome::NoValue ? 1u : 0u);
}

constexpr Outcome kWritten = Outcome::Written;
constexpr Outcome kWrongFieldCount = Outcome::WrongFieldCount;

INSTANTIATE_TEST_SUITE_P(
    Table, CountLines,
    testing::Values(LineCase{"A,12", "INW;A;12000", kWritten}, LineCase{"B,1.5", "INW;B;1500", kWritten},
                    LineCase{"A,12,", "INW;A;12000", kWritten}, LineCase{",5", "INW;;5000", kWritten},
                    LineCase{"A,12,3", "", kWrongFieldCount}, LineCase{"A,,12", "", kWrongFieldCount},
                    LineCase{"A", "", kWrongFieldCount}, LineCase{"A,", "", kWrongFieldCount},
                    LineCase{"A,,", "INW;A;000", kWritten}, LineCase{"", "", kWrongFieldCount},
                    LineCase{"A,00000", "", Outcome::NothingCounted}, LineCase{"A,000", "INW;A;000000", kWritten},
                    LineCase{"A,00000.0", "INW;A;00000000", kWritten},
                    LineCase{"A, 00000", "INW;A; 00000000", kWritten},
                    LineCase{"A,123456.5", "INW;A;123456500", kWritten}, LineCase{"A,.", "", Outcome::NoValue},
                    LineCase{"A;1,2", "INW;A;1;2000", kWritten},
                    LineCase{"\xA5\x9C \"x\",7", "INW;\xA5\x9C \"x\";7000", kWritten}));

TEST(CountConverter, KeepsEveryLineInOrderWithoutMergingAndCountsEachReason) {
    const Converted converted = Convert("A,1\r\nB,00000\r\nC,2\r\nA,3\r\nbad\r\n.,.\r\nA,1\r\nx,y,z");
    EXPECT_EQ(converted.count, "INW;A;1000\r\nINW;C;2000\r\nINW;A;3000\r\nINW;A;1000\r\n");
    const ConversionCounts& n = converted.counts;
    EXPECT_EQ(n.read, 8u);
    EXPECT_EQ(n.written, 4u);
    EXPECT_EQ(n.wrongFieldCount, 2u);
    EXPECT_EQ(n.nothingCounted, 1u);
    EXPECT_EQ(n.noValue, 1u);
}

// Block ends of the reader fall everywhere inside the lines.
TEST(CountConverter, ConvertsLinesThatSpanTheReadersBlocks) {
    std::string terminal;
    std::string expected;
    while (terminal.size() < 3 * LineFileReader::kBlockBytes) {
        terminal += "5900001,12.5\r\n5900002,00000\n5900003,3\r,5\r\nA,1,2\r\n";
        expected += "INW;5900001;12500\r\nINW;5900003;3000\r\nINW;;5000\r\n";
    }
    EXPECT_TRUE(Convert(terminal).count == expected);
}

// Lines that fill a block all but a few bytes lie whole in it and are written
// straight into the writer's room, which must hold them and what the rule
// adds; after them, short lines, from the next block.
TEST(CountConverter, LineAlmostABlockLongIsWrittenWhole) {
    for (const std::size_t spare : {2, 5, 16, 40}) {
        const std::string code(LineFileReader::kBlockBytes - spare - 4, 'c');
        const std::string converted = Convert(code + ",1.5\r\n7,2\r\n").count;
        EXPECT_TRUE(converted == "INW;" + code + ";1500\r\nINW;7;2000\r\n") << "spare " << spare;
    }
}

// Fields longer than the splitter keeps, and lines longer than the reader's
// block: the count line is what the rule gives the whole texts.
TEST(CountConverter, LongFieldsGiveWhatTheRuleGivesTheWholeText) {
    constexpr std::size_t kKept = WordSplitter::kKeptBytes;
    constexpr std::size_t kLong = LineFileReader::kBlockBytes + kKept;
    const std::string digits(kLong, '4');
    struct LongCase {
        std::string code;
        std::string quantity;
    };
    std::vector<LongCase> cases = {{"C", digits}, {std::string(kLong, 'c'), "1.5"}, {digits, digits + ".2"}};
    // The first point anywhere: at the start, on both sides of what is held,
    // at the block's end and last; followed by no to four characters.
    for (const std::size_t point : {std::size_t{0}, kKept - 1, kKept, kKept + 1, LineFileReader::kBlockBytes - 7, kLong - 1}) {
        for (std::size_t fraction = 0; fraction <= 4; ++fraction) {
            std::string quantity = digits.substr(0, point) + "." + std::string(fraction, '9');
            cases.push_back({"C", quantity + std::string(kLong - std::min(kLong, quantity.size()), '8')});
            cases.push_back({"C", quantity + ".7"});
        }
    }
    for (const LongCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "code of " << c.code.size() << ", quantity of " << c.quantity.size()
                                        << ", point at " << c.quantity.find('.'));
        const std::optional<NormalizedQuantity> normalized = NormalizeQuantity(c.quantity);
        ASSERT_TRUE(normalized);
        const std::string expected = "INW;" + c.code + ";" + std::string(normalized->whole) +
                                     std::string(normalized->fraction) + std::string(normalized->padding) + "\r\n";
        const Converted converted = Convert("A,1\r\n" + c.code + "," + c.quantity + "\r\nB,2,\r\nx," + c.quantity + ",y\r\n");
        EXPECT_TRUE(converted.count == "INW;A;1000\r\n" + expected + "INW;B;2000\r\n");
        EXPECT_EQ(converted.counts.wrongFieldCount, 1u);
    }
}

class CountFile : public testing::Test {
protected:
    TempDir dir;
    const std::string terminal = dir.File("inwin.txt");
    const std::string count = dir.File("count.txt");
};

TEST_F(CountFile, LineEndsOfEveryKindGiveTheSameCountFile) {
    const std::string expected = "INW;5900001;12000\r\nINW;5900002;1500\r\nINW;;5000\r\n";
    for (const char* end : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(end));
        const std::string e = end;
        WriteBytes(terminal, "5900001,12" + e + "5900002,1.5" + e + "x,00000" + e + e + ",5" + e);
        CountConverter::Convert(platform::SystemFileSystem(), terminal, count);
        EXPECT_EQ(ReadBytes(count), expected);
    }
}

TEST_F(CountFile, EmptyOrUnusableTerminalDataGivesAnEmptyCountFile) {
    for (const char* bytes : {"", "A\r\nA,00000\r\nA,1,2\r\n\r\n"}) {
        SCOPED_TRACE(bytes);
        WriteBytes(count, "INW;old;1000\r\n");
        WriteBytes(terminal, bytes);
        CountConverter::Convert(platform::SystemFileSystem(), terminal, count);
        EXPECT_EQ(ReadBytes(count), "");
    }
}

TEST_F(CountFile, MissingTerminalDataFileLeavesTheCountFile) {
    WriteBytes(count, "host data\r\n");
    try {
        CountConverter::Convert(platform::SystemFileSystem(), terminal, count);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.Message(), "Cannot open file " + terminal);
    }
    EXPECT_EQ(ReadBytes(count), "host data\r\n");
}

TEST_F(CountFile, MissingCountDirectoryNamesTheCountPath) {
    WriteBytes(terminal, "A,1\r\n");
    const std::string nowhere = (dir.Path() / "missing" / "count.txt").string();
    try {
        CountConverter::Convert(platform::SystemFileSystem(), terminal, nowhere);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.Message(), "Cannot create file " + nowhere);
    }
    EXPECT_EQ(ReadBytes(terminal), "A,1\r\n");
}

}  // namespace
}  // namespace iwv
