#include "platform/InputFile.h"

#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"

namespace iwv::platform {
namespace {

using test::TempDir;
using test::WriteBytes;
using namespace std::string_literals;

// Every byte, NUL and line ends included, in reads smaller than the file and
// not dividing it.
TEST(InputFile, ReadsEveryByteInOrderThenTheEnd) {
    std::string bytes = "a\0b\r\n\xA5\xFF"s;
    for (int i = 0; i < 20000; ++i) bytes += std::to_string(i);
    TempDir dir;
    WriteBytes(dir.File("in.bin"), bytes);
    const std::unique_ptr<InputFile> file = InputFile::Open(dir.File("in.bin"));
    ASSERT_NE(file, nullptr);
    std::string read;
    char block[1000];
    for (std::size_t n = 1; n > 0;) {
        ASSERT_TRUE(file->Read(block, sizeof block, n));
        read.append(block, n);
    }
    EXPECT_EQ(read, bytes);
}

TEST(InputFile, CannotOpenAMissingFileOrADirectory) {
    TempDir dir;
    EXPECT_EQ(InputFile::Open(dir.File("missing.txt")), nullptr);
    EXPECT_EQ(InputFile::Open(dir.Path().string()), nullptr);
}

}  // namespace
}  // namespace iwv::platform
