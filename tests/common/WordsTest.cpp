#include "common/Words.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "support/ScannedLine.h"

namespace iwv {
namespace {

constexpr int kKept = WordSplitter::kKeptFields;

std::vector<std::string> FieldsOf(WordSplitter& splitter, int upTo) {
    std::vector<std::string> fields;
    for (int i = 0; i < splitter.Count() && i < upTo; ++i) fields.emplace_back(splitter.Field(i));
    return fields;
}

WordSplitter SplitterWith(char separator) {
    WordSplitter splitter;
    splitter.Separator = separator;
    return splitter;
}

struct SplitCase {
    char separator;
    std::string text;
    std::vector<std::string> fields;
};

void PrintTo(const SplitCase& c, std::ostream* out) {
    *out << testing::PrintToString(c.text) << " at " << testing::PrintToString(c.separator);
}

const SplitCase kSemicolonCases[] = {
    {';', "", {}},
    {';', "abc", {"abc"}},
    {';', "a;b;c", {"a", "b", "c"}},
    {';', "a;;c", {"a", "", "c"}},
    {';', ";a", {"", "a"}},
    {';', "a;", {"a"}},
    {';', "a;;", {"a", ""}},
    {';', ";", {""}},
    {';', ";;", {"", ""}},
    {';', " a ; b ", {" a ", " b "}},
    {';', "\"a;b\"", {"\"a", "b\""}},
    {';', "X;77;S\xF3l", {"X", "77", "S\xF3l"}},
    // Past the fields kept as views, fields are counted and found again.
    {';', "0;1;2;3;4;5", {"0", "1", "2", "3", "4", "5"}},
    {';', "0;1;2;3;4;5;", {"0", "1", "2", "3", "4", "5"}},
    {';', "0;1;2;3;4;5;;", {"0", "1", "2", "3", "4", "5", ""}},
    {';', "0;1;2;3;4;5;6;7;;9;", {"0", "1", "2", "3", "4", "5", "6", "7", "", "9"}},
    {';', ";;;;;;;;", {"", "", "", "", "", "", "", ""}},
};
const SplitCase kCommaCases[] = {
    {',', "a,b", {"a", "b"}},
    {',', "a,b,", {"a", "b"}},
    {',', "a,b,c", {"a", "b", "c"}},
    {',', "a;b", {"a;b"}},
};
// With no separator set, a text is one field.
const SplitCase kNoSeparatorCases[] = {
    {'\0', "a;b,c", {"a;b,c"}},
    {'\0', "", {}},
};

class SplitTable : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTable, GivesTheFieldsInLineOrder) {
    const SplitCase& c = GetParam();
    WordSplitter splitter = SplitterWith(c.separator);
    ScannedLine line;
    EXPECT_EQ(line.Split(splitter, c.text), static_cast<std::int64_t>(c.fields.size()));
    EXPECT_EQ(splitter.Count(), static_cast<std::int64_t>(c.fields.size()));
    EXPECT_EQ(FieldsOf(splitter, splitter.Count()), c.fields);
    EXPECT_FALSE(splitter.OutOfRange);
}

// The same text handed over in two or three pieces, cut at every place, gives
// the same count and kept fields, also after the pieces are gone.
TEST_P(SplitTable, GivesTheSameFieldsInPieces) {
    const SplitCase& c = GetParam();
    const std::vector<std::string> kept(c.fields.begin(), c.fields.begin() + std::min<std::size_t>(c.fields.size(), kKept));
    for (std::size_t first = 0; first <= c.text.size(); ++first) {
        for (std::size_t second = first; second <= c.text.size(); ++second) {
            SCOPED_TRACE(testing::Message() << "cut at " << first << " and " << second);
            WordSplitter splitter = SplitterWith(c.separator);
            ScannedLine earlier;
            earlier.Split(splitter, "earlier;text,with;fields;that;must;not;show");
            splitter.Begin();
            for (auto [from, to] : {std::pair{std::size_t{0}, first}, {first, second}, {second, c.text.size()}}) {
                std::string piece = c.text.substr(from, to - from);
                splitter.Feed(piece);
                piece.assign(piece.size(), '#');
            }
            EXPECT_EQ(splitter.End(), static_cast<std::int64_t>(c.fields.size()));
            EXPECT_EQ(FieldsOf(splitter, kKept), kept);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Semicolon, SplitTable, testing::ValuesIn(kSemicolonCases));
INSTANTIATE_TEST_SUITE_P(Comma, SplitTable, testing::ValuesIn(kCommaCases));
INSTANTIATE_TEST_SUITE_P(NoSeparator, SplitTable, testing::ValuesIn(kNoSeparatorCases));

TEST(WordSplitter, FieldPastTheEndIsEmptyAndSetsOutOfRange) {
    WordSplitter splitter = SplitterWith(';');
    ScannedLine line;
    line.Split(splitter, "a;b");
    EXPECT_EQ(splitter.Field(1), "b");
    EXPECT_FALSE(splitter.OutOfRange);
    EXPECT_EQ(splitter.Field(2), "");
    EXPECT_TRUE(splitter.OutOfRange);
}

TEST(WordSplitter, NegativeIndexIsEmptyAndLeavesOutOfRange) {
    WordSplitter splitter = SplitterWith(';');
    ScannedLine line;
    line.Split(splitter, "a;b");
    EXPECT_EQ(splitter.Field(-1), "");
    EXPECT_FALSE(splitter.OutOfRange);
    splitter.Field(5);
    EXPECT_EQ(splitter.Field(-1), "");
    EXPECT_TRUE(splitter.OutOfRange);
}

TEST(WordSplitter, EveryIndexIsOutOfRangeAfterTheEmptyText) {
    WordSplitter splitter = SplitterWith(';');
    ScannedLine line;
    line.Split(splitter, "");
    EXPECT_EQ(splitter.Field(0), "");
    EXPECT_TRUE(splitter.OutOfRange);
}

TEST(WordSplitter, SecondSplitReplacesFieldsAndClearsOutOfRange) {
    WordSplitter splitter = SplitterWith(';');
    ScannedLine line;
    line.Split(splitter, "a;b;c;d;e;f;g;h");
    splitter.Field(9);
    EXPECT_EQ(line.Split(splitter, "x;y"), 2);
    EXPECT_FALSE(splitter.OutOfRange);
    EXPECT_EQ(FieldsOf(splitter, 10), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(splitter.Field(2), "");
    splitter.Field(9);
    splitter.Begin();
    EXPECT_FALSE(splitter.OutOfRange);
    splitter.Feed("z");
    EXPECT_EQ(splitter.End(), 1);
    EXPECT_EQ(FieldsOf(splitter, 10), (std::vector<std::string>{"z"}));
}

// A limited field gives at most its first bytes, whole or in pieces; the
// others stay whole, but for what a text in pieces does not hold of a long
// field: its size and its start say where the rest of it lies.
TEST(WordSplitter, LimitedFieldsGiveTheirFirstBytes) {
    const std::size_t kLong = WordSplitter::kKeptBytes + 3;
    const std::string text = "x;0123456789;abc;;" + std::string(kLong, 'q');
    const std::vector<std::uint64_t> sizes = {0, 4, 3, 0, kLong};
    for (bool inPieces : {false, true}) {
        SCOPED_TRACE(inPieces ? "in pieces" : "whole");
        ScannedLine line;
        WordSplitter splitter = SplitterWith(';');
        splitter.Limit(0, 0);
        splitter.Limit(1, 4);
        splitter.Limit(2, 10);
        if (inPieces) {
            splitter.Begin(1000);
            for (std::size_t at = 0; at < text.size(); at += 3) splitter.Feed(std::string_view(text).substr(at, 3));
            EXPECT_EQ(splitter.End(), 5);
            EXPECT_EQ(splitter.FieldStart(2), 1013u);
            EXPECT_EQ(splitter.FieldStart(4), 1018u);
        } else {
            EXPECT_EQ(line.Split(splitter, text), 5);
        }
        const std::size_t held = inPieces ? WordSplitter::kKeptBytes : kLong;
        EXPECT_EQ(FieldsOf(splitter, kKept), (std::vector<std::string>{"", "0123", "abc", "", std::string(held, 'q')}));
        for (int i = 0; i < 5; ++i) EXPECT_EQ(splitter.FieldSize(i), sizes[static_cast<std::size_t>(i)]) << i;
    }
}

// Fields past the kept ones are counted, whole or in pieces.
TEST(WordSplitter, CountsAMillionFields) {
    const std::string text = "a;b" + std::string(1000000, ';') + "z";
    WordSplitter splitter = SplitterWith(';');
    ScannedLine line;
    EXPECT_EQ(line.Split(splitter, text), 1000002);
    EXPECT_EQ(splitter.Field(1000001), "z");
    EXPECT_EQ(splitter.Field(500000), "");
    EXPECT_FALSE(splitter.OutOfRange);
    splitter.Begin();
    splitter.Feed(text.substr(0, 5000));
    splitter.Feed(text.substr(5000));
    EXPECT_EQ(splitter.End(), 1000002);
    EXPECT_EQ(splitter.Field(1), "b");
}

}  // namespace
}  // namespace iwv
