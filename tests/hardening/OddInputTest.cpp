// Goods and terminal data files that no program should write but a broken
// one may: a line of megabytes, no line end at all, noise, NUL bytes. Each
// conversion must end with the result of the rules in a fixed amount of
// memory.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "Conversions.h"
#include "HardeningSupport.h"
#include "InputFile.h"
#include "IsolatedRun.h"
#include "MemoryBudget.h"
#include "TestFiles.h"

namespace iwv::test {
namespace {

// Large enough that holding a line whole would break the memory budget; an
// eighth of that under the sanitizers, which check every byte and measure no
// memory.
constexpr std::size_t kScale = kMeasureMemory ? 8 : 1;
constexpr std::size_t kLongLine = kScale << 20;
constexpr std::size_t kNoLineEnd = (8 * kScale) << 20;
constexpr std::size_t kNoise = (4 * kScale) << 20;

// Lines as the line-end rules count them: CR LF, a lone CR or a lone LF ends
// a line, and a last line needs no line end.
std::size_t LinesIn(const std::string& bytes) {
    std::size_t lines = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        ++lines;
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    }
    const bool open = !bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n';
    return lines + (open ? 1 : 0);
}

// Every byte but NUL, which would end the text early; line ends and both
// separators come at their natural rate.
void WriteNoise(InputFile& file) {
    std::mt19937 random(20240607);
    std::string chunk(1 << 16, '\0');
    for (std::size_t written = 0; written < kNoise; written += chunk.size()) {
        for (char& byte : chunk) byte = static_cast<char>(1 + random() % 255);
        file.Put(chunk);
    }
}

struct OddInput {
    const char* name;
    const Conversion* conversion;
    std::function<void(InputFile&)> write;
    // Checks the output against the input's own bytes.
    std::function<void(const std::string& output, const std::string& input)> check;
};

void PrintTo(const OddInput& c, std::ostream* out) { *out << c.name; }

std::function<void(const std::string&, const std::string&)> Exactly(std::string expected) {
    return [expected](const std::string& output, const std::string&) { EXPECT_EQ(output, expected); };
}

const OddInput kCases[] = {
    {"CountLineOfMegabytesOfSeparators", &CountConversion(),
     [](InputFile& f) {
         f.Put("590001,1\r\n");
         f.Repeat(",", kLongLine);
         f.Put("\r\n590002,2\r\n");
     },
     Exactly("INW;590001;1000\r\nINW;590002;2000\r\n")},
    {"CountLineOfMegabytesWithoutLineEnd", &CountConversion(),
     [](InputFile& f) {
         f.Put("590001,");
         f.Repeat("7", kNoLineEnd);
     },
     [](const std::string& output, const std::string&) {
         EXPECT_TRUE(output == "INW;590001;" + std::string(kNoLineEnd, '7') + "000\r\n")
             << "count line of " << output.size() << " bytes";
     }},
    {"CountOneFieldWithoutLineEnd", &CountConversion(), [](InputFile& f) { f.Repeat("x", kNoLineEnd); }, Exactly("")},
    {"CountNoise", &CountConversion(), &WriteNoise,
     [](const std::string& output, const std::string& input) {
         const std::size_t countLines = LinesIn(output);
         EXPECT_LE(countLines, LinesIn(input));
         EXPECT_TRUE(output.empty() || output.compare(output.size() - 2, 2, "\r\n") == 0);
         std::size_t begin = 0;
         for (std::size_t i = 0; i < countLines && begin < output.size(); ++i) {
             ASSERT_EQ(output.compare(begin, 4, "INW;"), 0) << "count line " << i + 1;
             begin = output.find("\r\n", begin) + 2;
         }
     }},
    {"CountNulBytes", &CountConversion(),
     [](InputFile& f) { f.Put(std::string("590001,1\r\n590002,2\0" "590003,3\r\n", 29)); },
     Exactly("INW;590001;1000\r\nINW;590002;2000\r\n")},
    {"LookupLineOfMegabytesOfSeparators", &LookupConversion(),
     [](InputFile& f) {
         f.Put("X;1;A;1;2;3\r\n");
         f.Repeat(";", kLongLine);
         f.Put("\r\nX;2;B;1;2;3\r\n");
     },
     Exactly("A,1,0.003,0,0.02\r\n,,,0,\r\nB,2,0.003,0,0.02\r\n")},
    {"LookupNameOfMegabytesWithoutLineEnd", &LookupConversion(),
     [](InputFile& f) {
         f.Put("X;590001;");
         f.Repeat("n", kNoLineEnd);
         f.Put(";189;249;12500");
     },
     Exactly(std::string(20, 'n') + ",590001,12.500,0,2.49\r\n")},
    {"LookupNoise", &LookupConversion(), &WriteNoise,
     [](const std::string& output, const std::string& input) {
         EXPECT_EQ(LinesIn(output), LinesIn(input)) << "one lookup line for every goods line";
     }},
    {"LookupNulBytes", &LookupConversion(),
     [](InputFile& f) { f.Put(std::string("X;1;A;1;2;3\r\nX;2;B\0;1;2;3\r\n", 27)); },
     Exactly("A,1,0.003,0,0.02\r\nB,2,,0,\r\n")},
};

class HardeningOddInput : public testing::TestWithParam<OddInput> {};

TEST_P(HardeningOddInput, ConvertsByTheRulesInBoundedMemory) {
    const OddInput& c = GetParam();
    TempDir dir;
    const std::string input = Join(dir.Path(), "input.txt");
    const std::string output = Join(dir.Path(), c.conversion->outputName);
    {
        InputFile file(input);
        c.write(file);
    }

    const IsolatedResult run =
        RunIsolated([&] { c.conversion->convert(input, output); });

    ASSERT_FALSE(run.crashed) << run.how;
    ASSERT_EQ(run.error, "");
    ExpectWithinMemoryBudget(run);
    c.check(ReadBytes(output), ReadBytes(input));
    EXPECT_EQ(EntryCount(dir.Path()), 2u);
}

INSTANTIATE_TEST_SUITE_P(, HardeningOddInput, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<OddInput>& info) { return info.param.name; });

}  // namespace
}  // namespace iwv::test
