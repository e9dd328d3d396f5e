// Paths in the host's own code page, Windows-1250, taken byte for byte.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "BytePaths.h"
#include "Conversions.h"
#include "HardeningSupport.h"
#include "TestFiles.h"
#include "driver/DriverRunner.h"
#include "resources/DriverSandbox.h"

namespace iwv::test {
namespace {

// Windows-1250 letters in a directory and file names: "ł" is 0xB3 and "ą"
// 0xB9, bytes that are no valid UTF-8 on their own.
class HardeningPolishPath : public testing::TestWithParam<const Conversion*> {};

TEST_P(HardeningPolishPath, ConvertsAndTheFileIsFoundByTheSameBytes) {
    const Conversion& c = *GetParam();
    TempDir dir;
    const std::string shop = Join(dir.Path(), "Sklep \xB3\xB9" "ka");
    ASSERT_TRUE(MakeDirectoryAt(shop));
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    const std::string input = shop + separator + "dane_\xB3\xB9.txt";
    const std::string output = shop + separator + "wynik_\xB3\xB9.txt";
    ASSERT_TRUE(WriteAt(input, c.input));

    c.convert(input, output);

    EXPECT_EQ(ReadAt(output).value_or("(not found)"), c.output);
    EXPECT_EQ(ReadAt(input).value_or("(not found)"), c.input);
}

INSTANTIATE_TEST_SUITE_P(, HardeningPolishPath, testing::Values(&LookupConversion(), &CountConversion()),
                         [](const testing::TestParamInfo<const Conversion*>& info) { return info.param->name; });

TEST(HardeningPolishWorkDirectory, DriverRunsThere) {
    DriverSandbox sandbox;
    const std::string work = Join(sandbox.Work(), "\xA3\xF3" "d\x9F");  // Łódź
    ASSERT_TRUE(MakeDirectoryAt(work));
    const OperationServices services = OperationServices::System();
    EXPECT_EQ(DriverRunner(services).Run("dlookup.exe inwout.txt", 600, work).end, DriverEnd::Ended);
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    EXPECT_TRUE(ReadAt(work + separator + "driver-record.txt").has_value()) << "the driver ran in that directory";
}

}  // namespace
}  // namespace iwv::test
