#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"

namespace iwv::platform {
namespace {

using test::TempDir;
using test::WriteBytes;
using namespace std::string_literals;

std::string BytesOf(const FileBytes& contents) { return std::string(contents.data.get(), contents.size); }

TEST(ReadWholeFile, ReadsEveryByte) {
    std::string bytes = "a\0b\r\n\xA5\xFF"s;
    for (int i = 0; i < 20000; ++i) bytes += std::to_string(i);
    TempDir dir;
    WriteBytes(dir.File("in.bin"), bytes);
    FileBytes contents;
    ASSERT_TRUE(ReadWholeFile(dir.File("in.bin"), contents));
    EXPECT_EQ(BytesOf(contents), bytes);
    EXPECT_GE(contents.capacity, contents.size);
}

TEST(RemoveFile, RemovesAnExistingFileOnly) {
    TempDir dir;
    WriteBytes(dir.File("inwin.txt"), "A,1\r\n");
    EXPECT_TRUE(RemoveFile(dir.File("inwin.txt")));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{});
    EXPECT_FALSE(RemoveFile(dir.File("inwin.txt")));
}

TEST(Directories, ExistAndWritable) {
    TempDir dir;
    WriteBytes(dir.File("file.txt"), "x");
    EXPECT_TRUE(DirectoryExists(dir.Path().string()));
    EXPECT_FALSE(DirectoryExists(dir.File("file.txt")));
    EXPECT_FALSE(DirectoryExists(dir.File("missing")));
    EXPECT_TRUE(DirectoryWritable(dir.Path().string()));
    EXPECT_FALSE(DirectoryWritable(dir.File("missing")));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"file.txt"});
}

TEST(ReplacementFile, CannotOpenInAMissingDirectoryOrOverADirectory) {
    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "sub");
    std::unique_ptr<ReplacementFile> file;
    EXPECT_EQ(ReplacementFile::Open((dir.Path() / "missing" / "out.txt").string(), file),
              ReplacementFile::Status::CannotCreate);
    EXPECT_EQ(ReplacementFile::Open(dir.File("sub"), file), ReplacementFile::Status::CannotCreate);
    EXPECT_EQ(file, nullptr);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"sub"});
}

}  // namespace
}  // namespace iwv::platform
