#include "import/CountConverter.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "TestFiles.h"
#include "common/Error.h"

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
    EXPECT_EQ(NormalizeQuantity(GetParam().quantity), GetParam().normalized);
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

struct LineCase {
    std::string terminal;
    std::string count;  // empty: no count line
};

void PrintTo(const LineCase& c, std::ostream* out) { *out << testing::PrintToString(c.terminal); }

class CountLines : public testing::TestWithParam<LineCase> {};

TEST_P(CountLines, GiveOneCountLineOrNone) {
    LineList terminal;
    terminal.Append(GetParam().terminal);
    const LineList count = CountConverter::Convert(terminal);
    if (GetParam().count.empty()) {
        EXPECT_EQ(count.Count(), 0u);
    } else {
        ASSERT_EQ(count.Count(), 1u);
        EXPECT_EQ(count[0], GetParam().count);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CountLines,
    testing::Values(LineCase{"A,12", "INW;A;12000"}, LineCase{"B,1.5", "INW;B;1500"}, LineCase{"A,12,", "INW;A;12000"},
                    LineCase{",5", "INW;;5000"}, LineCase{"A,12,3", ""}, LineCase{"A,,12", ""}, LineCase{"A", ""},
                    LineCase{"A,", ""}, LineCase{"A,,", "INW;A;000"}, LineCase{"", ""}, LineCase{"A,00000", ""},
                    LineCase{"A,000", "INW;A;000000"}, LineCase{"A,00000.0", "INW;A;00000000"},
                    LineCase{"A, 00000", "INW;A; 00000000"}, LineCase{"A,123456.5", "INW;A;123456500"},
                    LineCase{"A,.", ""}, LineCase{"A;1,2", "INW;A;1;2000"},
                    LineCase{"\xA5\x9C \"x\",7", "INW;\xA5\x9C \"x\";7000"}));

TEST(CountConverter, KeepsEveryLineInOrderWithoutMerging) {
    const LineList count =
        CountConverter::Convert(LineList::FromBytes("A,1\r\nB,00000\r\nC,2\r\nA,3\r\nbad\r\n.,.\r\nA,1\r\n"));
    EXPECT_EQ(count.ToBytes(), "INW;A;1000\r\nINW;C;2000\r\nINW;A;3000\r\nINW;A;1000\r\n");
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
        CountConverter::Convert(terminal, count);
        EXPECT_EQ(ReadBytes(count), expected);
    }
}

TEST_F(CountFile, EmptyOrUnusableTerminalDataGivesAnEmptyCountFile) {
    for (const char* bytes : {"", "A\r\nA,00000\r\nA,1,2\r\n\r\n"}) {
        SCOPED_TRACE(bytes);
        WriteBytes(count, "INW;old;1000\r\n");
        WriteBytes(terminal, bytes);
        CountConverter::Convert(terminal, count);
        EXPECT_EQ(ReadBytes(count), "");
    }
}

TEST_F(CountFile, MissingTerminalDataFileLeavesTheCountFile) {
    WriteBytes(count, "host data\r\n");
    try {
        CountConverter::Convert(terminal, count);
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
        CountConverter::Convert(terminal, nowhere);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.Message(), "Cannot create file " + nowhere);
    }
    EXPECT_EQ(ReadBytes(terminal), "A,1\r\n");
}

}  // namespace
}  // namespace iwv
