// Targets the library cannot write: a read-only file, a missing directory.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "Conversions.h"
#include "HardeningSupport.h"
#include "ReadOnlyFile.h"
#include "TestFiles.h"

namespace iwv::test {
namespace {

const std::string kOldOutput = "old line 1\r\nold line 2\r\n";

enum class Target { ReadOnly, MissingDirectory };

class HardeningTarget : public testing::TestWithParam<std::tuple<const Conversion*, Target>> {};

TEST_P(HardeningTarget, CannotBeCreatedAndNothingIsLeft) {
    const Conversion& c = *std::get<0>(GetParam());
    const Target target = std::get<1>(GetParam());
    TempDir dir;
    const std::string input = Join(dir.Path(), "input.txt");
    WriteBytes(input, c.input);
    std::string output = Join(dir.Path(), c.outputName);
    std::unique_ptr<ReadOnlyFile> readOnly;
    if (target == Target::ReadOnly) {
        WriteBytes(output, kOldOutput);
        readOnly = std::make_unique<ReadOnlyFile>(output);
        if (!readOnly->Applied()) GTEST_SKIP() << readOnly->WhyNot();
    } else {
        output = Join(dir.Path() / "missing", c.outputName);
    }

    EXPECT_EQ(ErrorOf([&] { c.convert(input, output); }),
              "Cannot create file " + output);

    if (target == Target::ReadOnly) {
        EXPECT_EQ(ReadBytes(output), kOldOutput);
    }
    EXPECT_EQ(EntryCount(dir.Path()), target == Target::ReadOnly ? 2u : 1u) << "no temporary file may be left";
}

INSTANTIATE_TEST_SUITE_P(, HardeningTarget,
                         testing::Combine(testing::Values(&LookupConversion(), &CountConversion()),
                                          testing::Values(Target::ReadOnly, Target::MissingDirectory)),
                         [](const testing::TestParamInfo<HardeningTarget::ParamType>& info) {
                             return std::string(std::get<0>(info.param)->name) +
                                    (std::get<1>(info.param) == Target::ReadOnly ? "ReadOnly" : "MissingDirectory");
                         });

}  // namespace
}  // namespace iwv::test
