// A disk that fills up while the lookup file or the count file is written:
// the host's old file must stay as it was and nothing else may be left.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Conversions.h"
#include "FullDisk.h"
#include "HardeningSupport.h"
#include "TestFiles.h"

namespace iwv::test {
namespace {

// Well over the disk's room once converted.
std::string ManyGoodsLines() {
    std::string lines;
    for (int i = 0; i < 3000; ++i)
        lines += "X;59000" + std::to_string(i) + ";Mleko pe\xB3ne, karton " + std::to_string(i) + ";189;249;12500\r\n";
    return lines;
}

std::string ManyTerminalLines() {
    std::string lines;
    for (int i = 0; i < 6000; ++i) lines += "590" + std::to_string(100000 + i) + ",12.5\r\n";
    return lines;
}

struct FullDiskCase {
    const Conversion* conversion;
    std::string (*input)();
};

void PrintTo(const FullDiskCase& c, std::ostream* out) { *out << c.conversion->name; }

const FullDiskCase kCases[] = {
    {&LookupConversion(), &ManyGoodsLines},
    {&CountConversion(), &ManyTerminalLines},
};

class HardeningFullDisk : public testing::TestWithParam<FullDiskCase> {};

TEST_P(HardeningFullDisk, KeepsTheOldFileAndLeavesNothingElse) {
    const Conversion& conversion = *GetParam().conversion;
    FullDisk disk;
    if (!disk.Real()) GTEST_SKIP() << disk.WhyNotReal() << "; the disk in memory fills up instead (EveryFailurePoint)";
    const std::string input = Join(disk.Shop(), "input.txt");
    const std::string output = Join(disk.Data(), conversion.outputName);
    const std::string old = "INW;1;1000\r\nINW;2;3000\r\n";
    WriteBytes(input, GetParam().input());
    WriteBytes(output, old);

    const std::string message = ErrorOf([&] { conversion.convert(input, output); });

    EXPECT_EQ(message, "Cannot write file " + output);
    EXPECT_EQ(ReadBytes(output), old);
    EXPECT_EQ(EntryCount(disk.Data()), 1u) << "no temporary file may be left";

    // The same conversion where there is room: the input really needs more
    // than the full disk had.
    const std::string roomy = Join(disk.Shop(), conversion.outputName);
    conversion.convert(input, roomy);
    EXPECT_GT(std::filesystem::file_size(roomy), FullDisk::kCapacity);
}

INSTANTIATE_TEST_SUITE_P(, HardeningFullDisk, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<FullDiskCase>& info) { return info.param.conversion->name; });

}  // namespace
}  // namespace iwv::test
