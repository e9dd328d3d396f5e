#include "common/LineScanner.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace iwv {
namespace {

using namespace std::string_literals;

// The lines of bytes handed over in blocks cut at the given places, as the
// splitter sees them with no separator set: each line one field.
std::vector<std::string> LinesOf(std::string_view bytes, const std::vector<std::size_t>& cuts) {
    WordSplitter line;
    LineScanner scanner(line);
    std::vector<std::string> lines;
    const auto onLine = [&] {
        EXPECT_LE(line.Count(), 1);
        lines.emplace_back(line.Field(0));
    };
    std::size_t from = 0;
    bool more = true;
    for (std::size_t i = 0; more && i <= cuts.size(); ++i) {
        const std::size_t to = i < cuts.size() ? cuts[i] : bytes.size();
        // Each block lives in a buffer of its own that is overwritten after the scan.
        std::string block(bytes.substr(from, to - from));
        more = scanner.Scan(block, onLine);
        block.assign(block.size(), '#');
        from = to;
    }
    scanner.Finish(onLine);
    EXPECT_EQ(scanner.Lines(), lines.size());
    return lines;
}

struct LineEndCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

void PrintTo(const LineEndCase& c, std::ostream* out) { *out << testing::PrintToString(c.bytes); }

const LineEndCase kLineEnds[] = {
    {"CrLf", "a\r\nb\r\n", {"a", "b"}},
    {"LoneCr", "a\rb\r", {"a", "b"}},
    {"LoneLf", "a\nb\n", {"a", "b"}},
    {"LfCrIsTwoLineEnds", "a\n\rb", {"a", "", "b"}},
    {"CrCrLf", "a\r\r\nb", {"a", "", "b"}},
    {"MixedEnds", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
    {"LastLineWithoutEnd", "a\r\nb", {"a", "b"}},
    {"EndAtTheEndAddsNoLine", "a\r\n", {"a"}},
    {"EmptyLinesInsideKept", "a\r\n\r\n\r\nb\r\n", {"a", "", "", "b"}},
    {"OnlyALineEnd", "\r\n", {""}},
    {"NulEndsTheText", "a\r\nb\0c\r\nd\r\n"s, {"a", "b"}},
    {"NulFirst", "\0a\r\n"s, {}},
    {"NulAfterCr", "a\r\0\nb"s, {"a"}},
    {"EmptyFile", "", {}},
    {"BytesUnaltered", "\xA5\xB9\t \"x;y\" \x9C\xFF\r\n", {"\xA5\xB9\t \"x;y\" \x9C\xFF"}},
};

class LineEnds : public testing::TestWithParam<LineEndCase> {};

TEST_P(LineEnds, InOneBlock) { EXPECT_EQ(LinesOf(GetParam().bytes, {}), GetParam().lines); }

// Wherever the block ends fall, a CR LF among them, the lines are the same.
TEST_P(LineEnds, InBlocksCutAnywhere) {
    const std::string& bytes = GetParam().bytes;
    for (std::size_t first = 0; first <= bytes.size(); ++first) {
        for (std::size_t second = first; second <= bytes.size(); ++second) {
            SCOPED_TRACE(testing::Message() << "cut at " << first << " and " << second);
            EXPECT_EQ(LinesOf(bytes, {first, second}), GetParam().lines);
        }
    }
    std::vector<std::size_t> everyByte;
    for (std::size_t at = 1; at < bytes.size(); ++at) everyByte.push_back(at);
    EXPECT_EQ(LinesOf(bytes, everyByte), GetParam().lines) << "a block for every byte";
}

INSTANTIATE_TEST_SUITE_P(Table, LineEnds, testing::ValuesIn(kLineEnds),
                         [](const testing::TestParamInfo<LineEndCase>& info) { return info.param.name; });

// A line that spans blocks reaches the splitter in pieces and is split like
// one that does not.
TEST(LineScanner, SplitsALineThatSpansBlocksLikeOneThatDoesNot) {
    WordSplitter fields;
    fields.Separator = ';';
    LineScanner scanner(fields);
    std::vector<std::vector<std::string>> lines;
    const auto onLine = [&] {
        lines.emplace_back();
        for (int i = 0; i < fields.Count(); ++i) lines.back().emplace_back(fields.Field(i));
    };
    for (const char* block : {"X;1;M\xB9ka;1", "89;249;125", "00\r\nX;2;S\xF3l;5;0;1000\r", "\n"}) scanner.Scan(block, onLine);
    scanner.Finish(onLine);
    EXPECT_EQ(lines, (std::vector<std::vector<std::string>>{{"X", "1", "M\xB9ka", "189", "249", "12500"},
                                                            {"X", "2", "S\xF3l", "5", "0", "1000"}}));
}

}  // namespace
}  // namespace iwv
