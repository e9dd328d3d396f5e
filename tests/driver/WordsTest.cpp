#include "driver/Words.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace iwv {
namespace {

std::vector<std::string> FieldsOf(WordSplitter& splitter) {
    std::vector<std::string> fields;
    for (int i = 0; i < splitter.Count(); ++i) fields.push_back(splitter.Field(i));
    return fields;
}

WordSplitter SplitterWith(std::string separator) {
    WordSplitter splitter;
    splitter.Separator = std::move(separator);
    return splitter;
}

struct SplitCase {
    std::string separator;
    std::string text;
    std::vector<std::string> fields;
};

void PrintTo(const SplitCase& c, std::ostream* out) {
    *out << testing::PrintToString(c.text) << " at " << testing::PrintToString(c.separator);
}

class SplitTable : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTable, GivesTheFieldsInLineOrder) {
    const SplitCase& c = GetParam();
    WordSplitter splitter = SplitterWith(c.separator);
    EXPECT_EQ(splitter.Split(c.text), static_cast<int>(c.fields.size()));
    EXPECT_EQ(splitter.Count(), static_cast<int>(c.fields.size()));
    EXPECT_EQ(FieldsOf(splitter), c.fields);
    EXPECT_FALSE(splitter.OutOfRange);
}

// The conversions read only the first fields of a line, at a one-character
// separator; they must be the splitter's, however many are asked for.
class LeadingFields : public testing::TestWithParam<SplitCase> {};

TEST_P(LeadingFields, AreTheSplittersFirstFields) {
    const SplitCase& c = GetParam();
    const int all = static_cast<int>(c.fields.size());
    for (int wanted = 0; wanted <= all + 1; ++wanted) {
        SCOPED_TRACE(testing::Message() << wanted << " wanted");
        std::vector<std::string_view> fields(static_cast<std::size_t>(wanted) + 1, "untouched");
        EXPECT_EQ(SplitLeadingFields(c.text, c.separator[0], fields.data(), wanted), std::min(all, wanted + 1));
        for (int i = 0; i < wanted; ++i) EXPECT_EQ(fields[i], i < all ? c.fields[i] : "") << "field " << i;
        EXPECT_EQ(fields[wanted], "untouched");
    }
}

const SplitCase kSemicolonCases[] = {
    {";", "", {}},
    {";", "abc", {"abc"}},
    {";", "a;b;c", {"a", "b", "c"}},
    {";", "a;;c", {"a", "", "c"}},
    {";", ";a", {"", "a"}},
    {";", "a;", {"a"}},
    {";", "a;;", {"a", ""}},
    {";", ";", {""}},
    {";", ";;", {"", ""}},
    {";", " a ; b ", {" a ", " b "}},
    {";", "\"a;b\"", {"\"a", "b\""}},
    {";", "X;77;S\xF3l", {"X", "77", "S\xF3l"}},
};
const SplitCase kCommaCases[] = {
    {",", "a,b", {"a", "b"}},
    {",", "a,b,", {"a", "b"}},
    {",", "a,b,c", {"a", "b", "c"}},
    {",", "a;b", {"a;b"}},
};

INSTANTIATE_TEST_SUITE_P(Semicolon, SplitTable, testing::ValuesIn(kSemicolonCases));
INSTANTIATE_TEST_SUITE_P(Comma, SplitTable, testing::ValuesIn(kCommaCases));
INSTANTIATE_TEST_SUITE_P(Semicolon, LeadingFields, testing::ValuesIn(kSemicolonCases));
INSTANTIATE_TEST_SUITE_P(Comma, LeadingFields, testing::ValuesIn(kCommaCases));

INSTANTIATE_TEST_SUITE_P(EmptySeparator, SplitTable,
                         testing::Values(SplitCase{"", "a;b,c", {"a;b,c"}}, SplitCase{"", "", {}}));

// Only the separator's first character is consumed after a field.
INSTANTIATE_TEST_SUITE_P(LongSeparator, SplitTable,
                         testing::Values(SplitCase{";;", "a;;b", {"a", ";b"}}, SplitCase{";;", "a;b", {"a;b"}}));

TEST(WordSplitter, FieldPastTheEndIsEmptyAndSetsOutOfRange) {
    WordSplitter splitter = SplitterWith(";");
    splitter.Split("a;b");
    EXPECT_EQ(splitter.Field(1), "b");
    EXPECT_FALSE(splitter.OutOfRange);
    EXPECT_EQ(splitter.Field(2), "");
    EXPECT_TRUE(splitter.OutOfRange);
}

TEST(WordSplitter, NegativeIndexIsEmptyAndLeavesOutOfRange) {
    WordSplitter splitter = SplitterWith(";");
    splitter.Split("a;b");
    EXPECT_EQ(splitter.Field(-1), "");
    EXPECT_FALSE(splitter.OutOfRange);
    splitter.Field(5);
    EXPECT_EQ(splitter.Field(-1), "");
    EXPECT_TRUE(splitter.OutOfRange);
}

TEST(WordSplitter, EveryIndexIsOutOfRangeAfterTheEmptyText) {
    WordSplitter splitter = SplitterWith(";");
    splitter.Split("");
    EXPECT_EQ(splitter.Field(0), "");
    EXPECT_TRUE(splitter.OutOfRange);
}

TEST(WordSplitter, SecondSplitReplacesFieldsAndClearsOutOfRange) {
    WordSplitter splitter = SplitterWith(";");
    splitter.Split("a;b;c;d");
    splitter.Field(9);
    EXPECT_EQ(splitter.Split("x;y"), 2);
    EXPECT_FALSE(splitter.OutOfRange);
    EXPECT_EQ(FieldsOf(splitter), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(splitter.Field(2), "");
}

TEST(WordSplitter, SplitTextReturnsTheTextAndLeavesTheSecondListEmpty) {
    WordSplitter splitter = SplitterWith(",");
    const std::string line = "A,12,";
    EXPECT_EQ(splitter.SplitText(line), line);
    EXPECT_EQ(splitter.Count(), 2);
    EXPECT_EQ(splitter.Lists[1].Count(), 0u);
}

TEST(WordSplitter, FieldIsACopyThatOutlivesTheNextSplit) {
    WordSplitter splitter = SplitterWith(";");
    splitter.Split("first;second");
    const std::string kept = splitter.Field(1);
    splitter.Split("a much longer line;that moves the storage;and more");
    EXPECT_EQ(kept, "second");
}

}  // namespace
}  // namespace iwv
