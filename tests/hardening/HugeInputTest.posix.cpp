// Goods and terminal data files of hundreds of megabytes: each conversion
// gives the rules' result for every line and holds a fixed amount of memory,
// whatever the size of its files.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <tuple>

#include "Conversions.h"
#include "HardeningSupport.h"
#include "InputFile.h"
#include "IsolatedRun.h"
#include "MemoryBudget.h"

namespace iwv::test {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kHugeInput = std::size_t{200} << 20;

// Room the largest case needs for its input and its output together.
constexpr std::uintmax_t kRoomNeeded = std::uintmax_t{1} << 30;

bool HasRoom(const fs::path& directory) {
    std::error_code error;
    const fs::space_info space = fs::space(directory, error);
    return !error && space.available >= kRoomNeeded;
}

// A scratch directory in memory (/dev/shm) where there is room, so that
// hundreds of megabytes cost no disk writes and the saves' flushes are free;
// else in the temporary directory; none when neither has the room.
class LargeScratch {
public:
    LargeScratch() {
        std::error_code error;
        fs::path base = "/dev/shm";
        if (!fs::is_directory(base, error) || !HasRoom(base)) base = fs::temp_directory_path();
        room_ = HasRoom(base);
        if (!room_) return;
        std::string pattern = (base / "iwv-huge-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~LargeScratch() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    LargeScratch(const LargeScratch&) = delete;
    LargeScratch& operator=(const LargeScratch&) = delete;

    bool Room() const { return room_; }
    // Empty when it could not be made.
    const fs::path& Path() const { return path_; }

private:
    bool room_ = false;
    fs::path path_;
};

// Line ends of every kind, empty and short lines, Polish letters, names to
// be cut and commas to be replaced, numbers of every length rule.
const std::string kGoodsBlock =
    "1;5900000000017;M\xB9ka pszenna, typ 450;189;249;12500\r\n"
    "2;5900000000024;S\xF3l;95;129;3000\n"
    "\r\n"
    "3;5900000000031;Mas\xB3o extra 200 g;499;699;0\r"
    "4;5900000000048\r\n"
    "5;5900000000055;Chleb \xBFytni krojony, 500 g, pakowany;1;5;7\r\n"
    "6;590;\xA3os\x9C w\xEA" "dzony;00;05;00\r\n";
const std::string kLookupBlock =
    "M\xB9ka pszenna. typ 45,5900000000017,12.500,0,2.49\r\n"
    "S\xF3l,5900000000024,3.000,0,1.29\r\n"
    ",,,0,\r\n"
    "Mas\xB3o extra 200 g,5900000000031,0,0,6.99\r\n"
    ",5900000000048,,0,\r\n"
    "Chleb \xBFytni krojony.,5900000000055,0.007,0,0.05\r\n"
    "\xA3os\x9C w\xEA" "dzony,590,0.000,0,0.05\r\n";

const std::string kTerminalBlock =
    "5900000000017,12.5\r\n"
    "5900000000024,00000\n"
    "5900000000031,3\r"
    "5900000000048,1.23456\r\n"
    "A,12,3\r\n"
    "\r\n"
    ",5\r\n"
    "5900000000055,.5\r\n";
const std::string kCountBlock =
    "INW;5900000000017;12500\r\n"
    "INW;5900000000031;3000\r\n"
    "INW;5900000000048;1234\r\n"
    "INW;;5000\r\n"
    "INW;5900000000055;500\r\n";

// True when the file is block, times times over; read in pieces, so that the
// check itself needs little memory.
bool IsRepetition(const fs::path& path, const std::string& block, std::size_t times) {
    if (fs::file_size(path) != block.size() * times) return false;
    if (block.empty()) return true;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    std::string expected;
    for (std::size_t i = 0; i < (1u << 20) / block.size() + 1; ++i) expected += block;
    std::string chunk(expected.size() - expected.size() % block.size(), '\0');
    bool same = true;
    for (std::size_t left = block.size() * times; same && left > 0;) {
        const std::size_t want = std::min(left, chunk.size());
        same = std::fread(chunk.data(), 1, want, file) == want && chunk.compare(0, want, expected, 0, want) == 0;
        left -= want;
    }
    std::fclose(file);
    return same;
}

struct HugeInput {
    const char* name;
    const Conversion* conversion;
    std::string inputBlock;
    std::string outputBlock;
    std::size_t inputBytes;
};

void PrintTo(const HugeInput& c, std::ostream* out) { *out << c.name; }

const HugeInput kCases[] = {
    {"GoodsLines", &LookupConversion(), kGoodsBlock, kLookupBlock, kHugeInput},
    {"TerminalLines", &CountConversion(), kTerminalBlock, kCountBlock, kHugeInput},
    // What each line costs beyond its bytes shows most with lines of no bytes.
    {"TerminalLineEndsOnly", &CountConversion(), "\r\n", "", kHugeInput},
    {"GoodsLineEndsOnly", &LookupConversion(), "\n", ",,,0,\r\n", kHugeInput / 4},
};

class HardeningHugeInput : public testing::TestWithParam<HugeInput> {};

TEST_P(HardeningHugeInput, ConvertsEveryLineInBoundedMemory) {
    if (!kMeasureMemory) GTEST_SKIP() << "memory and speed mean nothing under the sanitizers";
    const HugeInput& c = GetParam();
    LargeScratch scratch;
    if (!scratch.Room()) GTEST_SKIP() << "neither /dev/shm nor the temporary directory has 1 GiB free";
    ASSERT_FALSE(scratch.Path().empty());
    const std::string input = (scratch.Path() / "input.txt").string();
    const std::string output = (scratch.Path() / c.conversion->outputName).string();
    const std::size_t blocks = c.inputBytes / c.inputBlock.size();
    {
        InputFile file(input);
        file.Repeat(c.inputBlock, blocks);
        file.Close();
    }

    const IsolatedResult run =
        RunIsolated([&] { c.conversion->convert(input, output); });

    ASSERT_FALSE(run.crashed) << run.how;
    ASSERT_EQ(run.error, "");
    ExpectWithinMemoryBudget(run);
    EXPECT_TRUE(IsRepetition(output, c.outputBlock, blocks));
}

INSTANTIATE_TEST_SUITE_P(, HardeningHugeInput, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<HugeInput>& info) { return info.param.name; });

// True when both files hold the same bytes; read in pieces.
bool SameBytes(const fs::path& a, const fs::path& b) {
    if (fs::file_size(a) != fs::file_size(b)) return false;
    std::FILE* fa = std::fopen(a.c_str(), "rb");
    std::FILE* fb = std::fopen(b.c_str(), "rb");
    std::string ca(1 << 20, '\0');
    std::string cb(1 << 20, '\0');
    bool same = fa && fb;
    for (std::size_t n = 1; same && n > 0;) {
        n = std::fread(ca.data(), 1, ca.size(), fa);
        same = std::fread(cb.data(), 1, cb.size(), fb) == n && ca.compare(0, n, cb, 0, n) == 0;
    }
    if (fa) std::fclose(fa);
    if (fb) std::fclose(fb);
    return same;
}

// One line of hundreds of megabytes between sound lines: its fields are
// written whole, or cut as the rules cut them, from a fixed amount of memory.
struct HugeLine {
    const char* name;
    const Conversion* conversion;
    std::function<void(InputFile&)> line;
    std::function<void(InputFile&)> converted;  // what the line gives
};

void PrintTo(const HugeLine& c, std::ostream* out) { *out << c.name; }

constexpr std::size_t kFifth = kHugeInput / 5;
constexpr std::size_t kHalf = kHugeInput / 2;

const HugeLine kLines[] = {
    {"GoodsLineOfLongFields", &LookupConversion(),
     [](InputFile& f) {
         f.Put("X;");
         f.Repeat("7", kFifth);
         f.Put(";");
         f.Repeat("n,", kFifth / 2);
         f.Put(";");
         f.Repeat("1", kFifth);
         f.Put(";");
         f.Repeat("2", kFifth);
         f.Put(";");
         f.Repeat("3", kFifth);
         f.Put("\r\n");
     },
     [](InputFile& f) {
         f.Repeat("n.", 10);
         f.Put(",");
         f.Repeat("7", kFifth);
         f.Put(",");
         f.Repeat("3", kFifth - 3);
         f.Put(".333,0,");
         f.Repeat("2", kFifth - 2);
         f.Put(".22\r\n");
     }},
    {"GoodsOneField", &LookupConversion(), [](InputFile& f) { f.Repeat("x", kHugeInput); },
     [](InputFile& f) { f.Put(",,,0,\r\n"); }},
    {"TerminalLineOfLongFields", &CountConversion(),
     [](InputFile& f) {
         f.Repeat("c", kHalf);
         f.Put(",");
         f.Repeat("5", kHalf);
         f.Put(".2509\n");
     },
     [](InputFile& f) {
         f.Put("INW;");
         f.Repeat("c", kHalf);
         f.Put(";");
         f.Repeat("5", kHalf);
         f.Put("250\r\n");
     }},
    {"TerminalQuantityWithoutPoint", &CountConversion(),
     [](InputFile& f) {
         f.Put("A,");
         f.Repeat("7", kHugeInput);
     },
     [](InputFile& f) {
         f.Put("INW;A;");
         f.Repeat("7", kHugeInput);
         f.Put("000\r\n");
     }},
    {"TerminalOneField", &CountConversion(), [](InputFile& f) { f.Repeat("x", kHugeInput); }, [](InputFile&) {}},
};

class HardeningHugeLine : public testing::TestWithParam<HugeLine> {};

TEST_P(HardeningHugeLine, IsConvertedInBoundedMemory) {
    if (!kMeasureMemory) GTEST_SKIP() << "memory and speed mean nothing under the sanitizers";
    const HugeLine& c = GetParam();
    const std::string& sound = c.conversion == &LookupConversion() ? kGoodsBlock : kTerminalBlock;
    const std::string& soundConverted = c.conversion == &LookupConversion() ? kLookupBlock : kCountBlock;
    LargeScratch scratch;
    if (!scratch.Room()) GTEST_SKIP() << "neither /dev/shm nor the temporary directory has 1 GiB free";
    ASSERT_FALSE(scratch.Path().empty());
    const fs::path input = scratch.Path() / "input.txt";
    const fs::path expected = scratch.Path() / "expected.txt";
    const fs::path output = scratch.Path() / c.conversion->outputName;
    for (const auto& [path, before, line] :
         {std::tuple(input, sound, c.line), std::tuple(expected, soundConverted, c.converted)}) {
        InputFile file(path.string());
        file.Put(before);
        line(file);
        file.Close();
    }

    const IsolatedResult run =
        RunIsolated([&] { c.conversion->convert(input.string(), output.string()); });

    ASSERT_FALSE(run.crashed) << run.how;
    ASSERT_EQ(run.error, "");
    ExpectWithinMemoryBudget(run);
    EXPECT_TRUE(SameBytes(output, expected));
}

INSTANTIATE_TEST_SUITE_P(, HardeningHugeLine, testing::ValuesIn(kLines),
                         [](const testing::TestParamInfo<HugeLine>& info) { return info.param.name; });

}  // namespace
}  // namespace iwv::test
