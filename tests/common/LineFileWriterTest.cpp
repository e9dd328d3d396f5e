#include "common/LineFileWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"

namespace iwv {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(LineFileWriter, ReplacesTheTargetOnlyAtCommit) {
    TempDir dir;
    const std::string path = dir.File("count.txt");
    WriteBytes(path, "old\r\n");
    LineFileWriter writer(path);
    writer.Append("INW;A;1000");
    writer.Append(std::string(100000, 'x'));
    writer.Append("");
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    writer.Commit();
    EXPECT_EQ(ReadBytes(path), "INW;A;1000\r\n" + std::string(100000, 'x') + "\r\n\r\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"count.txt"});
}

// A conversion that ends early (an error of its own) leaves no trace.
TEST(LineFileWriter, DroppedWithoutCommitLeavesTheTargetAndNoOtherFile) {
    TempDir dir;
    const std::string path = dir.File("count.txt");
    WriteBytes(path, "old\r\n");
    {
        LineFileWriter writer(path);
        for (int i = 0; i < 100000; ++i) writer.Append("INW;A;1000");
    }
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"count.txt"});
}

}  // namespace
}  // namespace iwv
