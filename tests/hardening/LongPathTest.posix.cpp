// Names and paths at and past the system's limits (NAME_MAX for one name,
// PATH_MAX for a whole path).

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "Conversions.h"
#include "HardeningSupport.h"
#include "TestFiles.h"

namespace iwv::test {
namespace {

std::size_t LongestName(const TempDir& dir) {
    const long longest = ::pathconf(dir.Path().c_str(), _PC_NAME_MAX);
    return longest > 0 ? static_cast<std::size_t>(longest) : NAME_MAX;
}

// A name of exactly the given length that ends in ".txt".
std::string NameOfLength(std::size_t length) { return std::string(length - 4, 'n') + ".txt"; }

// A path longer than PATH_MAX under dir, through directories that need not exist.
std::string OverlongPath(const TempDir& dir, const char* name) {
    std::string path = dir.Path().string();
    while (path.size() <= PATH_MAX) path += "/" + std::string(200, 'd');
    return path + "/" + name;
}

class HardeningLongPath : public testing::TestWithParam<const Conversion*> {};

TEST_P(HardeningLongPath, OutputNamedWithTheLongestNameIsWritten) {
    const Conversion& c = *GetParam();
    TempDir dir;
    const std::string input = Join(dir.Path(), "input.txt");
    WriteBytes(input, c.input);
    const std::string output = Join(dir.Path(), NameOfLength(LongestName(dir)));

    c.convert(input, output);

    EXPECT_EQ(ReadBytes(output), c.output);
    EXPECT_EQ(EntryCount(dir.Path()), 2u);
}

TEST_P(HardeningLongPath, NameOverTheLimitIsAnErrorThatNamesIt) {
    const Conversion& c = *GetParam();
    TempDir dir;
    const std::string input = Join(dir.Path(), "input.txt");
    WriteBytes(input, c.input);
    const std::string longName = Join(dir.Path(), NameOfLength(LongestName(dir) + 1));

    EXPECT_EQ(ErrorOf([&] { c.convert(longName, Join(dir.Path(), "out.txt")); }),
              "Cannot open file " + longName);
    EXPECT_EQ(ErrorOf([&] { c.convert(input, longName); }),
              "Cannot create file " + longName);
    EXPECT_EQ(EntryCount(dir.Path()), 1u) << "no temporary file may be left";
}

TEST_P(HardeningLongPath, PathOverTheLimitIsAnErrorThatNamesIt) {
    const Conversion& c = *GetParam();
    TempDir dir;
    const std::string input = Join(dir.Path(), "input.txt");
    WriteBytes(input, c.input);
    const std::string overlong = OverlongPath(dir, c.outputName);

    EXPECT_EQ(ErrorOf([&] { c.convert(overlong, Join(dir.Path(), "out.txt")); }),
              "Cannot open file " + overlong);
    EXPECT_EQ(ErrorOf([&] { c.convert(input, overlong); }),
              "Cannot create file " + overlong);
    EXPECT_EQ(EntryCount(dir.Path()), 1u);
}

INSTANTIATE_TEST_SUITE_P(, HardeningLongPath, testing::Values(&LookupConversion(), &CountConversion()),
                         [](const testing::TestParamInfo<const Conversion*>& info) { return info.param->name; });

}  // namespace
}  // namespace iwv::test
